// Timing of a path beside its floor, or of one path at two sizes, in the same
// run: the ratio of the two is what a benchmark reports, so that machines
// and neighbours cancel out.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace lwp_bench {

// Wall-clock seconds of one call of work.
template <class Work>
double secondsOf(Work &&work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds summed over the iterations of a benchmark.
struct PairTotals {
  double first = 0.0;
  double second = 0.0;
};

// Milliseconds per iteration of both, and second / first as "name".
void reportPair(benchmark::State &state, const std::string &name, const PairTotals &totals, const char *firstLabel,
                const char *secondLabel);

// A path against its floor: the path's time is the benchmark's time, the
// counter x_floor its time over the floor's (1.0: as fast as the floor).
void reportAgainstFloor(benchmark::State &state, const PairTotals &pathAndFloor);

}  // namespace lwp_bench
