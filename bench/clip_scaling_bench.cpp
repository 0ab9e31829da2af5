// The clip tools' work inside the host at n and 2n keys per channel: the
// save's capture of the items' keys, the load's apply of a clip to them, and
// the host reading a scene file of such items.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>

#include "curve_data.h"
#include "paired_timing.h"
#include "plugin/clip_io/load/load_driver.h"
#include "plugin/clip_io/save/save_driver.h"
#include "plugin/common/globals/clip_globals.h"
#include "size_scaling.h"

namespace {

using lwp_bench::secondsOf;

constexpr int kItems = 10;

lwp_bench::StepSeconds captureAndApply(lwsim::Host &host, int keysPerChannel) {
  lwp::acquireClipGlobals(lwsim::GlobalRegistry::function());
  host.scene().setFramesPerSecond(lwp_bench::kFps);
  lwp_bench::addKeyedNulls(host.scene(), kItems, keysPerChannel);
  lwp::akio::ZaduDuzAVOptions options;
  options.targetItems = lwp::akio::kTargetsSelection;
  options.rangeStart = 0;
  options.rangeEnd = keysPerChannel;
  const lwp::ItemList targets = lwp::akio::collectTargetItems(options);
  const double capture = secondsOf([&] { options.clips = lwp::akio::captureClip(options, targets); });
  return {capture, secondsOf([&] { lwp::akio::applyClip(options); })};
}

void ClipCaptureAndApply(benchmark::State &state) {
  lwp_bench::compareSizes(state, static_cast<int>(state.range(0)), {"capture", "apply"}, captureAndApply);
}
BENCHMARK(ClipCaptureAndApply)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Scene files written once per size and kept for the run.
const std::string &sceneFileOf(int keysPerChannel) {
  static std::map<int, std::unique_ptr<lwp_bench::TemporaryFile>> files;
  std::unique_ptr<lwp_bench::TemporaryFile> &file = files[keysPerChannel];
  if (!file) {
    file = std::make_unique<lwp_bench::TemporaryFile>("scene" + std::to_string(keysPerChannel) + ".lws");
    std::ofstream(file->path(), std::ios::binary) << lwp_bench::curveSceneFile(kItems, keysPerChannel);
  }
  return file->path();
}

void SceneFileLoad(benchmark::State &state) {
  lwp_bench::compareSizes(state, static_cast<int>(state.range(0)), {"load"}, [](lwsim::Host &host, int keys) {
    const std::string &path = sceneFileOf(keys);
    return lwp_bench::StepSeconds{secondsOf([&] { host.loadScene(path); })};
  });
}
BENCHMARK(SceneFileLoad)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
