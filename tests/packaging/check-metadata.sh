#!/usr/bin/env bash
# check-metadata.sh SOURCE VERSION: the desktop entry and the AppStream metadata validate, and
# the version and licence that the packaging files state agree with the project's.
set -euo pipefail
src=$1 version=$2
fail() { echo "metadata: $*" >&2; exit 1; }

desktop=$src/gyrodesk/res/gyrodesk.desktop
metainfo=$(echo "$src"/gyrodesk/res/*.metainfo.xml)
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $(basename "$metainfo")"

# The metadata's file name is its id; it launches the desktop entry that cmake --install installs.
id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")
[[ $(basename "$metainfo") == "$id.metainfo.xml" ]] || fail "$(basename "$metainfo") does not carry the id $id"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the metadata does not launch $(basename "$desktop")"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metadata has no default screenshot"

# One version everywhere: the newest release, the Debian changelog, the manual pages.
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[[ $release == "$version" ]] || fail "the newest release in the metadata is $release, the project is $version"
changelog=$(cd "$src" && dpkg-parsechangelog -S Version)
[[ ${changelog%%-*} == "$version" ]] || fail "debian/changelog is at $changelog, the project is $version"
for page in "$src"/docs/man/*.1; do
  grep -q "^\.TH .*\"Vexlink $version\"" "$page" || fail "$(basename "$page") is not marked Vexlink $version"
done

# Every package carries the licence: debian/copyright states LICENSE's text.
licence=$(sed -n '/^Permission/,$p' "$src/LICENSE")
stated=$(sed -n '/^License: Expat$/,$p' "$src/debian/copyright" | sed -n '/^ Permission/,$p' | sed 's/^ //; s/^\.$//')
[[ $licence == "$stated" ]] || fail "debian/copyright does not state the licence text of LICENSE"
echo "metadata: desktop entry and AppStream metadata valid; version $version and licence in step"
