#!/usr/bin/env bash
# Sets up, configures and builds into build/ (or $BUILD_DIR). Arguments go to
# CMake's configuration (e.g. -DLWSDK_INCLUDE_DIR=/path/to/lwsdk/include).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j "$(nproc)"
