#!/usr/bin/env bash
# Builds and runs the full benchmark against simulated trackers: prints the table and writes
# it as JSON. Run it on a quiet machine; on a busy one the overhead columns show the load.
#   scripts/bench.sh [vexlink-bench options]   (for example --json out.json, --only timing)
# VEXLINK_BENCH_BUILD sets the build folder (build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=${VEXLINK_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVEXLINK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target vexlink-bench
export QT_QPA_PLATFORM=offscreen
exec "$build/bench/vexlink-bench" --json "$build/bench-results.json" "$@"
