#!/usr/bin/env bash
# Sets up, configures and builds everything, the tests and benchmarks
# included, into build/ (or $BUILD_DIR). Arguments go to CMake's
# configuration (e.g. -DLWSDK_INCLUDE_DIR=/path/to/lwsdk/include).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh" --tests
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLWP_BUILD_TESTS=ON -DLWP_BUILD_BENCHMARKS=ON "$@"
cmake --build "$build" -j "$(nproc)"
