#!/usr/bin/env bash
# The Debian packages on this machine, as a user installs them: builds them with
# scripts/package-deb.sh (lintian errors fail), installs them with apt-get, runs every program
# they put in /usr/bin from there, builds packaging/consumer against the installed -dev package
# with CMake and with pkg-config and runs it under the installed simulator, and removes the
# packages again, however the test ends.
#
# It changes the machine's installed packages, so it needs root and refuses to run when one of
# the packages is installed already. scripts/test-all.sh runs it under CI=true or with
# VEXLINK_TEST_DEB=1.
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() { echo "deb test: $*" >&2; exit 1; }

[[ $EUID == 0 ]] || fail "needs root: it installs and removes the packages"
packages=$(sed -e 's/#.*//' debian/components | awk 'NF { print $1 }' | sort -u)
for p in $packages; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    fail "$p is installed on this machine already; this test would remove it"
  fi
done

bash scripts/package-deb.sh --lintian

work=$(mktemp -d)
cleanup() {
  # shellcheck disable=SC2086  # the package names are words
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 $packages >/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== installing"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 ./build-deb/packages/*.deb

echo "== every program from /usr/bin"
export QT_QPA_PLATFORM=offscreen
for n in 1 2 3 4; do export "VEXLINK_COM$n=/nonexistent/deb-test/COM$n"; done
for p in $packages; do
  for program in $(dpkg -L "$p" | grep '^/usr/bin/'); do
    name=$(basename "$program")
    [[ $(command -v "$name") == "$program" ]] || fail "$name on PATH is not $program"
    [[ $(readelf -d "$program") != *"PATH)"* ]] || fail "$name carries a RUNPATH"
    status=0
    out=$(env -u LD_LIBRARY_PATH timeout 20 "$program" --help </dev/null 2>&1) || status=$?
    ((status == 0)) || fail "$program --help ended with status $status: $out"
    man -w "$name" >/dev/null || fail "no manual page for $name"
    echo "$program: runs; its manual page is $(man -w "$name")"
  done
done
[[ $(ldd /usr/bin/vexlink) =~ libvexlink\.so\.1\ =\>\ /(usr/)?lib/ ]] || fail "vexlink does not use the installed library"

echo "== the Python module"
env -u PYTHONPATH -u LD_LIBRARY_PATH /usr/bin/python3 -c 'import vexlink; print(vexlink.__file__)' |
  grep -q '^/usr/lib/python3/dist-packages/vexlink' || fail "python3 does not import the packaged vexlink"

echo "== consumer, CMake"
if ! { cmake -S packaging/consumer -B "$work/cmake" -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON &&
        cmake --build "$work/cmake"; } >"$work/cmake.log" 2>&1; then
  cat "$work/cmake.log" >&2
  fail "the CMake consumer did not build"
fi
grep -q 'Vexlink_DIR:PATH=/usr/lib/.*/cmake/Vexlink' "$work/cmake/CMakeCache.txt" ||
  fail "CMake found Vexlink elsewhere than in the installed package"
korvisor-sim --com 1 -- "$work/cmake/consumer"

echo "== consumer, pkg-config"
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++20 -Wall -Wextra packaging/consumer/consumer.cpp $(pkg-config --cflags --libs vexlink) \
  -o "$work/consumer-pc" || fail "the pkg-config consumer did not build"
korvisor-sim --com 1 -- "$work/consumer-pc"

echo "== removing"
cleanup
trap - EXIT
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && fail "$p is still installed"
done
[[ ! -e /usr/bin/vexlink ]] || fail "/usr/bin/vexlink is left behind"
echo "deb test: the packages build, pass lintian, install, work and go again"
