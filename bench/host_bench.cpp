// The simulated host's services at the sizes the tools meet: scene-wide
// channel walks, key walks and envelope evaluation of long envelopes.
#include <benchmark/benchmark.h>

#include <string>

#include "plugin/host/lwchannel.h"
#include "plugin/host/lwenvelope.h"
#include "plugin/host/lwglobals.h"
#include "sim/host.h"

namespace {

// A scene of nulls, each with a bone, and an envelope of many keys.
void buildScene(lwsim::Host &host, int items, int keys) {
  for (int i = 0; i < items; ++i) {
    lwsim::SceneItem &object = host.scene().addObject("Null" + std::to_string(i));
    host.scene().addBone(object, "Bone" + std::to_string(i));
  }
  lwsim::Envelope &envelope = host.scene().findChannel(*host.scene().items().front(), "Position.X")->envelope();
  for (int k = 0; k < keys; ++k) envelope.createKey(k / 30.0, k % 7);
}

void walkGroup(const LWChannelInfo &info, LWChanGroupID group, int &channels) {
  for (LWChannelID c = info.nextChannel(group, nullptr); c != nullptr; c = info.nextChannel(group, c)) ++channels;
  for (LWChanGroupID g = info.nextGroup(group, nullptr); g != nullptr; g = info.nextGroup(group, g))
    walkGroup(info, g, channels);
}

void SceneChannelWalk(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, static_cast<int>(state.range(0)), 1);
  const auto *info = static_cast<const LWChannelInfo *>(host.globals().lookup(LWCHANNELINFO_GLOBAL));
  for (auto _ : state) {
    int channels = 0;
    for (LWChanGroupID g = info->nextGroup(nullptr, nullptr); g != nullptr; g = info->nextGroup(nullptr, g))
      walkGroup(*info, g, channels);
    benchmark::DoNotOptimize(channels);
  }
  host.globals().clearLookupLog();
}
BENCHMARK(SceneChannelWalk)->Arg(100)->Arg(1000);

LWEnvelopeID firstEnvelope(lwsim::Host &host) {
  return reinterpret_cast<LWEnvelopeID>(
      &host.scene().findChannel(*host.scene().items().front(), "Position.X")->envelope());
}

void KeyWalk(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, 1, static_cast<int>(state.range(0)));
  const auto *envelopes = static_cast<const LWEnvelopeFuncs *>(host.globals().lookup(LWENVELOPEFUNCS_GLOBAL));
  const LWEnvelopeID envelope = firstEnvelope(host);
  for (auto _ : state) {
    double sum = 0.0;
    for (LWEnvKeyframeID k = envelopes->nextKey(envelope, nullptr); k != nullptr; k = envelopes->nextKey(envelope, k)) {
      double value = 0.0;
      envelopes->keyGet(envelope, k, LWKEY_VALUE, &value);
      sum += value;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(KeyWalk)->Arg(100)->Arg(10000);

void EnvelopeEvaluation(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, 1, static_cast<int>(state.range(0)));
  const auto *envelopes = static_cast<const LWEnvelopeFuncs *>(host.globals().lookup(LWENVELOPEFUNCS_GLOBAL));
  const LWEnvelopeID envelope = firstEnvelope(host);
  double time = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(envelopes->evaluate(envelope, time));
    time = time > 300.0 ? 0.0 : time + 0.013;
  }
}
BENCHMARK(EnvelopeEvaluation)->Arg(100)->Arg(10000);

}  // namespace
