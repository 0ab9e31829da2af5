#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or
# $FUZZ_BUILD_DIR) and runs them over their corpora:
#   scripts/fuzz.sh TARGET [SECONDS]   fuzzes one target (default 60 seconds)
#   scripts/fuzz.sh --regression       runs every target briefly (the tests)
# TARGET is clip_reader, text, scene_file or script. What a run adds to the
# corpus stays in the build folder's corpus/TARGET; a finding is written
# there as crash-*, leak-*, timeout-* or oom-*. An input counts as hung after
# FUZZ_TIMEOUT seconds (60): on a busy machine a sanitized run of a
# fraction of a second can stall for ten. Warnings are errors only where
# LWP_WARNINGS_AS_ERRORS=ON says so, as the test command does.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(clip_reader text scene_file script)

usage() {
  echo "usage: scripts/fuzz.sh clip_reader|text|scene_file|script [SECONDS] | --regression" >&2
  exit 2
}
[ $# -ge 1 ] || usage
[ "$1" = --regression ] || [[ " ${targets[*]} " == *" $1 "* ]] || usage

"$root/scripts/setup.sh" --clang
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLWP_FUZZ=ON \
  -DLWP_WARNINGS_AS_ERRORS="${LWP_WARNINGS_AS_ERRORS:-OFF}" \
  -DLWP_BUILD_TESTS=OFF -DLWP_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target lwp_fuzz -j "$(nproc)"

# The seeds of a target, gathered afresh: its own corpus (regression inputs
# included) and the tests' files of its kind.
seeds() {
  local target="$1" dir="$build/seeds/$1"
  rm -rf "$dir"
  mkdir -p "$dir" "$build/corpus/$target"
  cp "$root/fuzz/corpus/$target"/* "$dir"/ 2>/dev/null || true
  case "$target" in
    text) cp "$root/fuzz/corpus/clip_reader"/* "$dir"/ ;;
    scene_file)
      cp "$root"/tests/data/*.lws "$root"/examples/*.lws "$dir"/
      # Scene files of the shared folder, where there is one; never committed.
      cp /work/shared/lws/*.lws "$dir"/ 2>/dev/null || true
      ;;
    script) cp "$root"/examples/*.lwsim "$dir"/ ;;
  esac
  echo "$dir"
}

run() {
  local target="$1"
  shift
  local options=("-timeout=${FUZZ_TIMEOUT:-60}" "-artifact_prefix=$build/corpus/$target/")
  case "$target" in clip_reader | text) options+=("-dict=$root/fuzz/clip.dict") ;; esac
  local seedDir
  seedDir="$(seeds "$target")"
  "$build/bin/fuzz_$target" "${options[@]}" "$@" "$build/corpus/$target" "$seedDir"
}

if [ "$1" = --regression ]; then
  for target in "${targets[@]}"; do
    echo "fuzz_$target: regression pass"
    run "$target" -runs=2000 -seed=1 2>"$build/fuzz_$target.log" || { cat "$build/fuzz_$target.log" >&2; exit 1; }
  done
  exit 0
fi

run "$1" "-max_total_time=${2:-60}" -print_final_stats=1
