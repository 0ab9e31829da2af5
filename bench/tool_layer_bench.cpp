// The tool layer at the sizes animators' scenes reach: gathering every item
// with its descendants, walking an object's channels, and the existence
// checks of one undo pass inside a channel batch.
#include <benchmark/benchmark.h>

#include <string>

#include "plugin/common/channels/key_channels.h"
#include "plugin/common/globals/clip_globals.h"
#include "plugin/common/globals/host_globals.h"
#include "plugin/common/items/clip_items.h"
#include "plugin/common/items/key_items.h"
#include "sim/host.h"

namespace {

// Chains of nulls under one root, every one selected; the root object has
// bones and morph channels.
void buildScene(lwsim::Host &host, int items) {
  lwp::acquireClipGlobals(lwsim::GlobalRegistry::function());
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  lwsim::Scene &scene = host.scene();
  lwsim::SceneItem &root = scene.addObject("Root", "root.lwo");
  for (int i = 0; i < 32; ++i) scene.addBone(root, "Bone" + std::to_string(i));
  for (int i = 0; i < 64; ++i) scene.addMorphMap(root, "Face.Shape" + std::to_string(i));
  lwsim::SceneItem *parent = &root;
  for (int i = 0; i < items; ++i) {
    lwsim::SceneItem &null = scene.addObject("Null" + std::to_string(i));
    scene.setParent(null, i % 8 == 0 ? &root : parent);
    parent = &null;
  }
  scene.clearSelection();
  for (const auto &item : scene.items()) scene.addToSelection(*item);
}

void TargetsWithDescendants(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lwp::targetItemsKS(lwp::kTargetWithDescendants).size());
}
BENCHMARK(TargetsWithDescendants)->Arg(100)->Arg(1000);

void ClipSelectionWithDescendants(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lwp::selectedItems(lwp::kTargetWithDescendants).size());
}
BENCHMARK(ClipSelectionWithDescendants)->Arg(100)->Arg(1000);

void ObjectChannelsKS(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, 10);
  const LWItemID root = reinterpret_cast<LWItemID>(host.scene().items().front()->id);
  for (auto _ : state) benchmark::DoNotOptimize(lwp::itemChannelsKS(root).size());
}
BENCHMARK(ObjectChannelsKS);

// An undo pass checks each channel it touches once the batch is open.
void ExistenceChecksInABatch(benchmark::State &state) {
  lwsim::Host host;
  buildScene(host, static_cast<int>(state.range(0)));
  const lwp::ChannelList channels = lwp::allSceneChannels();
  for (auto _ : state) {
    lwp::beginChannelBatch();
    int found = 0;
    for (std::size_t i = 0; i < channels.size(); i += 16) found += lwp::channelExists(channels[i]) ? 1 : 0;
    lwp::endChannelBatch();
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(ExistenceChecksInABatch)->Arg(100)->Arg(1000);

}  // namespace
