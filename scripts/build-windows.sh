#!/usr/bin/env bash
# Cross-builds Vexlink for 64-bit Windows with Debian's mingw-w64 and packs it:
#   build-windows/vexlink-windows-x64/      vexlink.exe, vexlink.dll, README.txt,
#                                           include/vexlink/*.h, lib/libvexlink.dll.a
#   build-windows/vexlink-windows-x64.zip   the same, zipped
# vexlink.exe and vexlink.dll carry the C++ runtime: they need nothing beside Windows' own DLLs.
# With --tests it also builds the Windows test programs (scripts/test-windows.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
[[ ${1:-} == --tests ]] && tests=ON

packages=(cmake make zip g++-mingw-w64-x86-64-posix)
[[ $tests == ON ]] && packages+=(googletest)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVEXLINK_BUILD_GYRODESK=OFF -DVEXLINK_BUILD_TESTS=$tests \
  --no-warn-unused-cli >/dev/null
cmake --build "$build" -j"$(nproc)"

name=vexlink-windows-x64
dist=$build/$name
rm -rf "$dist" "$build/$name.zip"
mkdir -p "$dist/include/vexlink" "$dist/lib"
cp "$build/tools/vexlink.exe" "$build/vexlink/vexlink.dll" "$dist/"
cp "$build/vexlink/libvexlink.dll.a" "$dist/lib/"
cp vexlink/include/vexlink/*.h "$dist/include/vexlink/"
sed 's/$/\r/' packaging/windows/README.txt > "$dist/README.txt"
x86_64-w64-mingw32-strip "$dist/vexlink.exe" "$dist/vexlink.dll"
(cd "$build" && zip -qr "$name.zip" "$name")
echo "$build/$name.zip"
