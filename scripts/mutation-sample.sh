#!/usr/bin/env bash
# Measures how many faults the Linux suite catches: applies a fixed, seeded
# sample of small mutations to the sources of plugin/ and sim/ one at a time
# ('<' and '<=', '>' and '>=', '==' and '!=', '&&' and '||', binary '+' and
# '-' swapped, an integer constant off by one, an if condition negated, a
# statement line deleted), rebuilds incrementally, runs the suite and counts
# the mutants it kills, listing the survivors:
#   scripts/mutation-sample.sh [--seed N] [--count N] [--list] [--build-dir DIR]
# --seed picks the sample (default 1), --count its size (default 64), --list
# prints it without building. The mutants are built with GCC in a copy of the
# tree kept in build-mutation/ (or --build-dir, or $MUTATION_BUILD_DIR): the
# tree itself is never changed. A mutant is killed when a test fails or runs
# over a minute; one that does not compile counts neither way. Each mutant's
# build and test output is kept in the build folder's logs/. The sites are
# chosen by file name and line text (scripts/mutation-sample.py), so the same
# seed gives the same sample after files move between folders, as long as the
# lines themselves are unchanged; the sample is always drawn from the tree the
# script runs on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MUTATION_BUILD_DIR:-$root/build-mutation}"
seed=1
count=64
list=false

usage() {
  echo "usage: scripts/mutation-sample.sh [--seed N] [--count N] [--list] [--build-dir DIR]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --seed) [ $# -ge 2 ] || usage; seed="$2"; shift 2 ;;
    --count) [ $# -ge 2 ] || usage; count="$2"; shift 2 ;;
    --list) list=true; shift ;;
    --build-dir) [ $# -ge 2 ] || usage; build="$2"; shift 2 ;;
    *) usage ;;
  esac
done
[[ "$seed" =~ ^[0-9]+$ && "$count" =~ ^[1-9][0-9]*$ ]] || usage

"$root/scripts/setup.sh" --tests  # GoogleTest, python3
mutants="$root/scripts/mutation-sample.py"

# The sample, one mutant a line: PATH, LINE and the change, tab-separated.
show() {
  local i=0 path line change
  while IFS=$'\t' read -r path line change; do
    i=$((i + 1))
    echo "[$i/$total] $path:$line $change"
  done
}
if $list; then
  sample="$(python3 "$mutants" list --seed "$seed" --count "$count" "$root")"
  total="$(grep -c . <<<"$sample" || true)"
  show <<<"$sample"
  exit 0
fi

mkdir -p "$build"
build="$(cd "$build" && pwd)"
source="$build/source"
binary="$build/build"
logs="$build/logs"
jobs="${MUTATION_JOBS:-$(nproc)}"

# The private copy: files that differ from the tree's are written afresh,
# so that the incremental build redoes them (a mutant left behind by a run
# that was stopped among them).
python3 "$mutants" sync "$root" "$source" "$build"
rm -rf "$logs"
mkdir -p "$logs"

# Put back the file being mutated, however the script ends.
current=""
restore() {
  if [ -n "$current" ]; then
    cp "$build/original" "$source/$current"
    current=""
  fi
}
trap restore EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "mutation-sample: building the unmutated copy in $binary"
CXX=g++ cmake -S "$source" -B "$binary" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLWP_BUILD_TESTS=ON \
  -DLWP_BUILD_BENCHMARKS=OFF >"$logs/configure.log" 2>&1 || { cat "$logs/configure.log" >&2; exit 1; }
cmake --build "$binary" -j "$jobs" >"$logs/baseline-build.log" 2>&1 || { tail -n 50 "$logs/baseline-build.log" >&2; exit 1; }
if ! ctest --test-dir "$binary" -j "$jobs" --timeout 60 >"$logs/baseline-test.log" 2>&1; then
  grep -A 1000 'tests FAILED' "$logs/baseline-test.log" >&2 || tail -n 50 "$logs/baseline-test.log" >&2
  echo "mutation-sample: the suite fails without mutants; nothing to measure" >&2
  exit 1
fi
grep -E 'tests passed' "$logs/baseline-test.log" || true

sample="$(python3 "$mutants" list --seed "$seed" --count "$count" "$source")"
total="$(grep -c . <<<"$sample" || true)"
echo "mutation-sample: seed $seed, $total mutants"
killed=0
survivors=()
unbuilt=()
i=0
started=$SECONDS
while IFS=$'\t' read -r path line change; do
  i=$((i + 1))
  name="$path:$line $change"
  cp "$source/$path" "$build/original"
  current="$path"
  python3 "$mutants" apply --seed "$seed" --count "$count" "$source" "$i" </dev/null
  if ! cmake --build "$binary" -j "$jobs" >"$logs/$i-build.log" 2>&1 </dev/null; then
    result="did not build"
    unbuilt+=("$name")
  elif ctest --test-dir "$binary" -j "$jobs" --timeout 60 --stop-on-failure >"$logs/$i-test.log" 2>&1 </dev/null; then
    result="survived"
    survivors+=("$name")
  else
    result="killed"
    killed=$((killed + 1))
  fi
  restore
  echo "[$i/$total] $result $name"
done <<<"$sample"

built=$((total - ${#unbuilt[@]}))
{
  echo "killed $killed of $built built mutants (${#survivors[@]} survived, ${#unbuilt[@]} did not build)" \
    "in $(((SECONDS - started) / 60)) min; seed $seed, count $count"
  if [ ${#survivors[@]} -gt 0 ]; then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
  fi
  if [ ${#unbuilt[@]} -gt 0 ]; then
    echo "did not build:"
    printf '  %s\n' "${unbuilt[@]}"
  fi
} | tee "$logs/summary.txt"
