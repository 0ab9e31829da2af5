#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# Once more with address and undefined-behaviour checks (benchmarks left out).
sanitized="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=Debug -DLWP_SANITIZE=ON -DLWP_BUILD_BENCHMARKS=OFF
cmake --build "$sanitized" -j "$(nproc)"
ctest --test-dir "$sanitized" --output-on-failure -j "$(nproc)"
