#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) in
# build-fuzz and runs each for a short fixed time, about a minute in all. Fails on any crash,
# hang, leak or sanitizer report. VEXLINK_FUZZ_SECONDS sets the time per target (30),
# VEXLINK_FUZZ_BUILD the build folder (build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${VEXLINK_FUZZ_SECONDS:-30}
build=${VEXLINK_FUZZ_BUILD:-build-fuzz}  # build folder, relative to the source tree or absolute

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVEXLINK_FUZZ=ON -DVEXLINK_BUILD_GYRODESK=OFF -DVEXLINK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_read_frames fuzz_replies

# Seeds: one well-formed input per mode. The first byte of a read_frames input picks the mode
# (bits 0-2: 0 binary request, 1 binary continuous, 2-4 ASCII; bit 3 checksum on).
seeds=$build/fuzz-seeds
rm -rf "$seeds"
mkdir -p "$seeds/read_frames" "$seeds/replies"
printf '\x00\x20\x00\x40\x00\x30\x00' >"$seeds/read_frames/request"
printf '\x08\x12\x34\x56\x78\x1a\xbc\x68' >"$seeds/read_frames/request-checksum"
printf '\x19\x01\x02\xff\x00\x40\x00\x2a\xaa\x7f\xff\xa9' >"$seeds/read_frames/continuous-checksum"
printf '\x01\xff\x00\x40\x00\x2a\xaa\x7f\xff\xff\x00' >"$seeds/read_frames/continuous"
printf '\x02xxY  123,  -45,   10\r\n' >"$seeds/read_frames/ascii"
printf '\x13Y  123,  -4\x005,   10\r\nY +0001 99999 -9999\r\n' >"$seeds/read_frames/ascii-twice"
printf 'KHX1.02' >"$seeds/replies/tracker"
printf 'KH' >"$seeds/replies/short"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in read_frames replies; do
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds}s"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-$target-" "$corpus" "$seeds/$target"
done
