#include "paired_timing.h"

namespace lwp_bench {

void reportPair(benchmark::State &state, const std::string &name, const PairTotals &totals, const char *firstLabel,
                const char *secondLabel) {
  const auto perIteration = benchmark::Counter::kAvgIterations;
  state.counters[name + "_" + firstLabel + "_ms"] = benchmark::Counter(totals.first * 1e3, perIteration);
  state.counters[name + "_" + secondLabel + "_ms"] = benchmark::Counter(totals.second * 1e3, perIteration);
  state.counters[name] = totals.first > 0.0 ? totals.second / totals.first : 0.0;
}

void reportAgainstFloor(benchmark::State &state, const PairTotals &pathAndFloor) {
  const auto perIteration = benchmark::Counter::kAvgIterations;
  state.counters["floor_ms"] = benchmark::Counter(pathAndFloor.second * 1e3, perIteration);
  state.counters["x_floor"] = pathAndFloor.second > 0.0 ? pathAndFloor.first / pathAndFloor.second : 0.0;
}

}  // namespace lwp_bench
