#!/usr/bin/env bash
# check-artwork.sh RES PYTHON WORK: the pictures in RES/images are exactly what
# RES/make_artwork.py draws (so every icon size comes from the one drawing), and the scalable
# icon, drawn by librsvg, looks like the 256 px PNG.
set -euo pipefail
res=$1 python=$2 work=$3
fail() { echo "artwork: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work/images"
"$python" "$res/make_artwork.py" "$work/images"
for f in "$work"/images/* "$res"/images/*; do
  name=$(basename "$f")
  cmp -s "$work/images/$name" "$res/images/$name" ||
    fail "gyrodesk/res/images/$name is not what make_artwork.py draws: run it and commit its output"
done

# Normalised root-mean-square difference over colour and alpha: about 0.07 for the same
# drawing (edges antialiased differently), 0.28 with the inner gimbal tilted the other way.
rsvg-convert -w 256 -h 256 "$res/images/gyrodesk.svg" -o "$work/svg-256.png"
rmse=$(compare -metric RMSE "$work/svg-256.png" "$res/images/gyrodesk-256.png" null: 2>&1 || true)
rmse=${rmse##*(} rmse=${rmse%)*}
awk -v e="$rmse" 'BEGIN { exit !(e + 0 < 0.12) }' ||
  fail "gyrodesk.svg does not look like gyrodesk-256.png (RMSE $rmse)"
echo "artwork: every picture as drawn; the scalable icon matches (RMSE $rmse)"
