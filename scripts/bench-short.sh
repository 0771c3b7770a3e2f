#!/usr/bin/env bash
# CI's short benchmark run: proves that the benchmark builds and runs (well under a minute);
# its figures mean nothing. VEXLINK_BENCH_BUILD sets the build folder (build).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VEXLINK_BENCH_BUILD:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target vexlink-bench
QT_QPA_PLATFORM=offscreen "$build/bench/vexlink-bench" --quick --json "$build/bench-short.json"
