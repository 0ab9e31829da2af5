#!/usr/bin/env bash
# Builds everything and runs every test: on Linux, on Linux built by clang,
# on Linux with address and undefined-behaviour checks, then the Windows
# build under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

# Everything the builds below need, installed at once.
"$root/scripts/setup.sh" --tests --windows --clang

# Warnings are errors in every build the tests run on.
"$root/scripts/build.sh" -DLWP_WARNINGS_AS_ERRORS=ON
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# Once more built by clang, as a release (benchmarks left out).
clang_build="${CLANG_BUILD_DIR:-$root/build-clang}"
CXX=clang++ cmake -S "$root" -B "$clang_build" -DCMAKE_BUILD_TYPE=Release -DLWP_BUILD_BENCHMARKS=OFF \
  -DLWP_WARNINGS_AS_ERRORS=ON
cmake --build "$clang_build" -j "$(nproc)"
ctest --test-dir "$clang_build" --output-on-failure -j "$(nproc)"

# Once more with address and undefined-behaviour checks (benchmarks left out).
sanitized="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=Debug -DLWP_SANITIZE=ON -DLWP_BUILD_BENCHMARKS=OFF \
  -DLWP_WARNINGS_AS_ERRORS=ON
cmake --build "$sanitized" -j "$(nproc)"
ctest --test-dir "$sanitized" --output-on-failure -j "$(nproc)"

# Every fuzz target for a few thousand runs over its corpus, in a clang
# build of its own (build-fuzz/, or FUZZ_BUILD_DIR).
LWP_WARNINGS_AS_ERRORS=ON "$root/scripts/fuzz.sh" --regression

# The Windows module and the same suite against it, under 64-bit Wine in a
# prefix of its own, made afresh for every run.
windows="${WINDOWS_BUILD_DIR:-$root/build-windows}"
WINDOWS_BUILD_DIR="$windows" "$root/scripts/build-windows.sh" -DLWP_WARNINGS_AS_ERRORS=ON
wine64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEPREFIX="$windows/wine-prefix" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# One Wine server for the whole run, started before anything else uses the
# prefix: left to itself it exits between test programs, and a program
# starting while it exits fails to connect.
wineserver="$(dirname "$(readlink -f "$wine64")")/wineserver"
"$wineserver" --persistent
trap '"$wineserver" --kill' EXIT
"$wine64" wineboot --init
# Now and then a Wine process does not end after its test has passed, or
# ends at once without running it (no output, a hundredth of a second); such
# a test is stopped after a minute (every test takes seconds) or run once
# more. A test that fails twice still fails.
ctest --test-dir "$windows" --output-on-failure -j "$(nproc)" --timeout 60 --repeat until-pass:2
