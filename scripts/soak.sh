#!/usr/bin/env bash
# The long soak, in the sanitizer build (AddressSanitizer with LeakSanitizer, and
# UndefinedBehaviorSanitizer): 100,000 samples streamed through the library and 10 minutes of
# the console in Continuous + Start, side by side (about 25 minutes). Fails on any sample
# failure beyond a loaded machine's odd late frame, a wrong sample, a leak, a growth of open
# descriptors or memory, or any sanitizer report.
#   VEXLINK_SOAK_SAMPLES          samples through the library (100000)
#   VEXLINK_SOAK_CONSOLE_SECONDS  seconds of the console in Continuous (600)
#   VEXLINK_SOAK_BUILD            build folder (build-soak)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=${VEXLINK_SOAK_BUILD:-build-soak}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVEXLINK_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target reliability_tests reliability_console_tests

export VEXLINK_SOAK_SAMPLES=${VEXLINK_SOAK_SAMPLES:-100000}
export VEXLINK_SOAK_CONSOLE_SECONDS=${VEXLINK_SOAK_CONSOLE_SECONDS:-600}
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp

echo "soak: $VEXLINK_SOAK_SAMPLES samples through the library, $VEXLINK_SOAK_CONSOLE_SECONDS s of the console"
"$build/tests/reliability/reliability_tests" --gtest_filter='Soak.*' & library=$!
"$build/tests/reliability/reliability_console_tests" --gtest_filter='ConsoleSoak.*' & console=$!
status=0
wait "$library" || status=1
wait "$console" || status=1
if ((status)); then echo "soak: FAILED"; else echo "soak: passed"; fi
exit "$status"
