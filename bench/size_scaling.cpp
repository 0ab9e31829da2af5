#include "size_scaling.h"

#include <numeric>

#include "paired_timing.h"

namespace lwp_bench {

void compareSizes(benchmark::State &state, int size, const std::vector<std::string> &steps, const Round &round) {
  std::vector<PairTotals> totals(steps.size());
  for (auto _ : state) {
    double iteration = 0.0;
    for (const int factor : {1, 2}) {
      lwsim::Host host;
      const StepSeconds seconds = round(host, size * factor);
      for (std::size_t i = 0; i < steps.size() && i < seconds.size(); ++i)
        (factor == 1 ? totals[i].first : totals[i].second) += seconds[i];
      iteration += std::accumulate(seconds.begin(), seconds.end(), 0.0);
    }
    state.SetIterationTime(iteration);
  }
  for (std::size_t i = 0; i < steps.size(); ++i) reportPair(state, steps[i], totals[i], "N", "2N");
}

}  // namespace lwp_bench
