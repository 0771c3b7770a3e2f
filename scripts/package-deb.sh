#!/usr/bin/env bash
# Builds the Debian packages (libvexlink1, libvexlink-dev, gyrodesk, vexlink-tools,
# python3-vexlink) with dpkg-buildpackage and debhelper from the debian/ folder, and puts them
# in build-deb/packages/
# (their debug symbols in build-deb/packages/debug/, the source package in build-deb/source/).
# The sources are copied to build-deb/ first, so that the build leaves the working tree as it
# was.
#   --lintian   also check the packages with lintian; any error fails the run
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

lintian=0
[[ ${1:-} == --lintian ]] && lintian=1

out=build-deb
src=$out/src/vexlink
packages=$out/packages
rm -rf "$out/src" "$out/source" "$packages"
mkdir -p "$src" "$out/source" "$packages/debug"

# The working tree's files (committed or not, but not ignored ones); without git, everything
# but build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
    [[ -e $f ]] && printf '%s\0' "$f"
  done | tar --null -T - -cf - | tar -xf - -C "$src"
else
  tar --exclude='./build*' -cf - . | tar -xf - -C "$src"
fi

jobs=$(nproc)
(cd "$src" && DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" \
   dpkg-buildpackage -uc -us) >"$out/build.log" 2>&1 || {
  tail -n 60 "$out/build.log" >&2
  echo "package-deb: dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
}

mv "$out"/src/*-dbgsym_*.deb "$packages/debug/" 2>/dev/null || true
mv "$out"/src/*.deb "$packages/"
mv "$out"/src/*.dsc "$out"/src/*.tar.* "$out/source/"
mv "$out"/src/*.changes "$out"/src/*.buildinfo "$out/" 2>/dev/null || true
echo "Packages in $packages:"
ls -1 "$packages"/*.deb

if ((lintian)); then
  echo "== lintian"
  # Errors fail; warnings are shown (each one left is explained in the README).
  lintian --fail-on error --display-info "$packages"/*.deb "$out"/source/*.dsc
fi
