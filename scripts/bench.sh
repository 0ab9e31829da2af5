#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ (or $BENCH_BUILD_DIR) and
# prints their table. Arguments go to lwp_bench (e.g.
# --benchmark_filter=Vs). Ratios compare two timings of the same run:
# x_floor is a path's time over its floor's, op/undo/redo/capture/apply/load
# the time at 2n over the time at n.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"

"$root/scripts/setup.sh" --tests  # Google Benchmark
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLWP_BUILD_TESTS=OFF -DLWP_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "${BENCH_JOBS:-2}" --target lwp_bench
"$build/bin/lwp_bench" --benchmark_counters_tabular=true "$@"
