#!/usr/bin/env bash
# Builds everything twice (normal, and with AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs every test in both builds, then the short fuzz and benchmark runs. As root under CI=true
# (or with VEXLINK_TEST_DEB=1), also builds the Debian packages, installs them on this machine,
# tries them and removes them again (tests/packaging/deb-test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVEXLINK_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

if [[ $EUID == 0 && (${CI:-} == true || ${VEXLINK_TEST_DEB:-} == 1) ]]; then
  echo "== Debian packages"
  bash tests/packaging/deb-test.sh
else
  echo "== Debian packages: skipped (they are installed on this machine: run as root with CI=true or VEXLINK_TEST_DEB=1)"
fi

for extra in scripts/fuzz-short.sh scripts/bench-short.sh; do
  echo "== $extra"
  bash "$extra"
done
