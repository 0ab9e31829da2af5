// The key setter's operations with their Undo and Redo, at n and 2n keys per
// channel and at n and 2n items: op, undo and redo are each time at 2n over
// time at n.
#include <benchmark/benchmark.h>

#include "curve_data.h"
#include "paired_timing.h"
#include "plugin/common/globals/host_globals.h"
#include "plugin/key_setter/history/undo_history.h"
#include "plugin/key_setter/operations/run_settings.h"
#include "size_scaling.h"

namespace {

using lwp::cks::RunSettings;
using lwp_bench::secondsOf;

constexpr int kItemsAtKeyScale = 10;
constexpr int kKeysAtItemScale = 20;

// The middle half of the keyed frames, so that keys on both sides stay.
RunSettings settingsFor(int operation, int keysPerChannel) {
  RunSettings settings;
  settings.operation = operation;
  settings.scope = lwp::kTargetSelection;
  settings.from = keysPerChannel / 4;
  settings.to = keysPerChannel * 3 / 4;
  settings.offset = 7.0;
  settings.factor = 1.5;
  settings.destination = keysPerChannel / 2 + 3;
  settings.frame = keysPerChannel / 2 + 0.5;
  return settings;
}

lwp_bench::StepSeconds operationRound(lwsim::Host &host, int operation, int items, int keysPerChannel) {
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  host.scene().setFramesPerSecond(lwp_bench::kFps);
  lwp_bench::addKeyedNulls(host.scene(), items, keysPerChannel);
  const RunSettings settings = settingsFor(operation, keysPerChannel);
  // Earlier rounds' groups belong to hosts that are gone; kept, they would
  // make each round's memory larger than the last.
  lwp::cks::CUndoHistory &history = lwp::cks::undoHistory();
  history.clear();
  return {secondsOf([&] { lwp::cks::runOperation(settings); }), secondsOf([&] { history.undo(); }),
          secondsOf([&] { history.redo(); })};
}

void AtKeys(benchmark::State &state, int operation) {
  lwp_bench::compareSizes(
      state, static_cast<int>(state.range(0)), {"op", "undo", "redo"},
      [operation](lwsim::Host &host, int keys) { return operationRound(host, operation, kItemsAtKeyScale, keys); });
}

void AtItems(benchmark::State &state, int operation) {
  lwp_bench::compareSizes(
      state, static_cast<int>(state.range(0)), {"op", "undo", "redo"},
      [operation](lwsim::Host &host, int items) { return operationRound(host, operation, items, kKeysAtItemScale); });
}

#define LWP_OPERATION_BENCHMARKS(name, operation)                                                        \
  BENCHMARK_CAPTURE(AtKeys, name, operation)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(AtItems, name, operation)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)

LWP_OPERATION_BENCHMARKS(Move, lwp::cks::kOpMove);
LWP_OPERATION_BENCHMARKS(Scale, lwp::cks::kOpScale);
LWP_OPERATION_BENCHMARKS(Copy, lwp::cks::kOpCopy);
LWP_OPERATION_BENCHMARKS(Bake, lwp::cks::kOpBake);
LWP_OPERATION_BENCHMARKS(CreateKey, lwp::cks::kOpCreateKey);

}  // namespace
