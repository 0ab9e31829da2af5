// Writing clip files: tens of thousands of keys, ten numbers each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "plugin/clip_io/clip_writer.h"
#include "plugin/common/clip_globals.h"
#include "sim/global_registry.h"
#include "sim/host.h"

namespace {

lwp::akio::AnimClip clipOf(int items, int keysPerChannel) {
  lwp::akio::AnimClip clip(static_cast<std::size_t>(items));
  for (int i = 0; i < items; ++i) {
    lwp::akio::AnimClipItem &item = clip[static_cast<std::size_t>(i)];
    item.itemName = "Item" + std::to_string(i);
    item.fullPath = "/Rig/" + item.itemName;
    item.fps = 30.0;
    for (const char *name : {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B",
                             "Scale.X", "Scale.Y", "Scale.Z"}) {
      lwp::akio::AnimClipChannel &channel = item.channels.emplace_back();
      channel.name = name;
      for (int k = 0; k < keysPerChannel; ++k) {
        lwp::akio::AnimClipKey &key = channel.keys.emplace_back();
        key.time = k / 30.0;
        key.value = 0.001 * k * (i + 1);
        key.tension = 0.25;
      }
    }
  }
  return clip;
}

// 10 items of 9 channels: range(0) keys per channel.
void WriteClipFile(benchmark::State &state) {
  lwsim::Host host;
  lwp::acquireClipGlobals(lwsim::GlobalRegistry::function());
  const lwp::akio::AnimClip clip = clipOf(10, static_cast<int>(state.range(0)));
  const std::string path = (std::filesystem::temp_directory_path() / "lwp_bench_clip.xml").string();
  for (auto _ : state) lwp::akio::writeClipFile(clip, path);
  state.SetItemsProcessed(state.iterations() * 90 * state.range(0));
  std::remove(path.c_str());
}
BENCHMARK(WriteClipFile)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
