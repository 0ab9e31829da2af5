// Formatting of command lines and clip-file lines: the clip writer formats
// ten "%.10f" numbers per key, so this bounds what a large clip costs.
#include <benchmark/benchmark.h>

#include "plugin/common/text/text_format.h"

namespace {

constexpr const char *kKeyLine =
    "<key time=\"%.10f\" value=\"%.10f\" shape=\"%d\" tension=\"%.10f\" continuity=\"%.10f\" bias=\"%.10f\" "
    "param0=\"%.10f\" param1=\"%.10f\" param2=\"%.10f\" param3=\"%.10f\" />";

void BoundedKeyLine(benchmark::State &state) {
  double time = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lwp::formatBounded(kKeyLine, time, 1.25, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0));
    time += 1.0 / 30.0;
  }
}
BENCHMARK(BoundedKeyLine);

void GrowingCommand(benchmark::State &state) {
  double time = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lwp::formatGrowing("CreateKey %.15f 0 0x%03x", time, 0x1FFu));
    time += 1.0 / 30.0;
  }
}
BENCHMARK(GrowingCommand);

}  // namespace
