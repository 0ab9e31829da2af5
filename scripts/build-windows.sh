#!/usr/bin/env bash
# Sets up, configures and builds the Windows x86-64 module, the simulated
# host, lwsim.exe and the tests with the MinGW-w64 cross compiler into
# build-windows/ (or $WINDOWS_BUILD_DIR). The module is bin/qd_animtools.p;
# the ZIP file for Layout's users, qd_animtools-VERSION-windows-x64.zip,
# lies in the build folder. Arguments go to CMake's configuration (e.g.
# -DLWSDK_INCLUDE_DIR=...).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${WINDOWS_BUILD_DIR:-$root/build-windows}"

"$root/scripts/setup.sh" --tests --windows
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DLWP_BUILD_BENCHMARKS=OFF "$@"
cmake --build "$build" -j "$(nproc)"
cpack --config "$build/CPackConfig.cmake" -B "$build"
