#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian 12's packages. Idempotent:
# packages already present are left alone and nothing is fetched for them.
set -euo pipefail

packages=(
  build-essential cmake pkg-config          # toolchain: g++ 12, CMake 3.25, CTest
  libgtest-dev libgmock-dev                 # tests
  qt6-base-dev                              # Gyrodesk: Qt 6 Widgets
  fonts-liberation                          # metric-compatible stand-ins for the dialog fonts
  xvfb xauth x11-utils imagemagick          # headless runs and screenshots
  clang libclang-rt-14-dev                  # libFuzzer fuzz targets
  debhelper dpkg-dev lintian                # Debian packages (scripts/package-deb.sh)
  man-db appstream desktop-file-utils       # checks of the manual pages and desktop metadata
  librsvg2-bin                              # the scalable icon drawn, to compare with the PNGs
  python3-serial systemd                    # bench: the pyserial reference loop; unit check
  python3-dev pybind11-dev python3-pytest   # the Python module and its tests
  dh-python                                 # the Python module's Debian package
  g++-mingw-w64-x86-64-posix zip            # the Windows build (scripts/build-windows.sh)
  wine wine64                               # its tests (scripts/test-windows.sh)
)

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
