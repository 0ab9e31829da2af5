// A key-setter activation in the simulated host: globals, labels and the
// master command, the fixed cost of every press of the tool's shortcut.
#include <benchmark/benchmark.h>

#include "sim/host.h"

namespace {

void KeySetterActivation(benchmark::State &state) {
  lwsim::Host host;
  host.loadModule(LWP_MODULE_PATH);
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.activate("LayoutGeneric", "QD:VaruDudEdodav", 7));
    host.commands().clearLog();
    host.globals().clearLookupLog();
  }
}
BENCHMARK(KeySetterActivation);

void ClipSaveActivation(benchmark::State &state) {
  lwsim::Host host;
  host.loadModule(LWP_MODULE_PATH);
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7));
    host.globals().clearLookupLog();
  }
}
BENCHMARK(ClipSaveActivation);

}  // namespace
