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

# Every test of a build: the reliability suite (faults, contention, soak) one test at a time,
# since its bounds judge the time and CPU of each call, then everything else in parallel.
run_tests() {
  ctest --test-dir "$1" --output-on-failure -L reliability -j1
  ctest --test-dir "$1" --output-on-failure -LE reliability -j"$jobs"
}

echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXLINK_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
run_tests build

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVEXLINK_SANITIZE=ON -DVEXLINK_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
(
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_tests build-asan
)

if [[ $EUID == 0 && (${CI:-} == true || ${VEXLINK_TEST_DEB:-} == 1) ]]; then
  echo "== Debian packages"
  bash tests/packaging/deb-test.sh
else
  echo "== Debian packages: skipped (they are installed on this machine: run as root with CI=true or VEXLINK_TEST_DEB=1)"
fi

echo "== Windows build, tested under Wine"
bash scripts/test-windows.sh

for extra in scripts/fuzz-short.sh scripts/bench-short.sh; do
  echo "== $extra"
  bash "$extra"
done
