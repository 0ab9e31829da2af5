#!/usr/bin/env bash
# Builds the module and lwsim and runs the demo script in lwsim; clip files
# it saves land in build/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

# Only what builds the module and lwsim: a build folder made here leaves the
# tests and benchmarks out; one the test command made keeps them.
"$root/scripts/setup.sh"
options=()
[ -f "$build/CMakeCache.txt" ] || options=(-DLWP_BUILD_TESTS=OFF -DLWP_BUILD_BENCHMARKS=OFF)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
cmake --build "$build" -j "$(nproc)" --target lwsim

# The demo writes its clip files into build/demo.
mkdir -p "$build/demo"
cd "$build/demo"
"$build/bin/lwsim" --scene "$root/examples/rig.lws" "$root/examples/demo.lwsim"
