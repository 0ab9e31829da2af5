// One path at two sizes in the same run: each iteration builds a fresh host
// at size n and at 2n and times the steps of one round in each. The counter
// named after a step is its time at 2n over its time at n (2.0: linear).
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/host.h"

namespace lwp_bench {

// The seconds of each step of one round, in the order the steps are named.
using StepSeconds = std::vector<double>;
using Round = std::function<StepSeconds(lwsim::Host &host, int size)>;

void compareSizes(benchmark::State &state, int size, const std::vector<std::string> &steps, const Round &round);

}  // namespace lwp_bench
