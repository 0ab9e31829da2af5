// The key setter's undo history on a run that keys every channel of 1,000
// items: commit, undo and redo of one group of 10,000 entries.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "plugin/common/channels/key_channels.h"
#include "plugin/common/globals/host_globals.h"
#include "plugin/key_setter/history/cmd_hist_set_key.h"
#include "plugin/key_setter/history/undo_history.h"
#include "sim/host.h"

namespace {

constexpr int kItems = 1000;

// Nulls with their nine motion channels and a dissolve channel each.
lwp::ChannelList buildScene(lwsim::Host &host) {
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  lwsim::Scene &scene = host.scene();
  for (int i = 0; i < kItems; ++i) scene.ensureChannel(scene.addObject("Null" + std::to_string(i)), "Dissolve");
  return lwp::allSceneChannels();
}

// One key per channel at one second, as a Create Key run records it.
void openRun(lwp::cks::CUndoHistory &history, const lwp::ChannelList &channels) {
  history.begin(lwp::cks::kRunGroupName);
  for (LWChannelID channel : channels) {
    lwp::KeyRecord key;
    key.time = 1.0;
    key.value = 0.5;
    history.add(std::make_unique<lwp::cks::CmdHistSetKey>(channel, lwp::TimeRange{0.99, 1.01}, key));
  }
}

void CommitOfARun(benchmark::State &state) {
  lwsim::Host host;
  const lwp::ChannelList channels = buildScene(host);
  for (auto _ : state) {
    state.PauseTiming();
    auto history = std::make_unique<lwp::cks::CUndoHistory>();
    openRun(*history, channels);
    state.ResumeTiming();
    history->commit();
    state.PauseTiming();
    history.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = static_cast<double>(channels.size());
}
BENCHMARK(CommitOfARun)->Unit(benchmark::kMillisecond);

// Times one half of an undo-redo round trip; the other half, untimed,
// brings the history back for the next iteration.
void TimeHalfOfARoundTrip(benchmark::State &state, bool timeUndo) {
  lwsim::Host host;
  const lwp::ChannelList channels = buildScene(host);
  lwp::cks::CUndoHistory history;
  openRun(history, channels);
  history.commit();
  for (auto _ : state) {
    if (!timeUndo) state.PauseTiming();
    history.undo();
    if (!timeUndo) state.ResumeTiming();
    if (timeUndo) state.PauseTiming();
    history.redo();
    if (timeUndo) state.ResumeTiming();
  }
  state.counters["entries"] = static_cast<double>(channels.size());
}

void UndoOfARun(benchmark::State &state) { TimeHalfOfARoundTrip(state, true); }
BENCHMARK(UndoOfARun)->Unit(benchmark::kMillisecond);

void RedoOfARun(benchmark::State &state) { TimeHalfOfARoundTrip(state, false); }
BENCHMARK(RedoOfARun)->Unit(benchmark::kMillisecond);

}  // namespace
