// Animation data as animators make it: smooth curves with noise, times on
// frames, every shape and non-zero tangents, so that every digit of a
// written number is used.
#pragma once

#include <string>

#include "plugin/clip_io/model/anim_clip.h"
#include "sim/scene/scene.h"

namespace lwp_bench {

inline constexpr double kFps = 30.0;

// A clip of items with nine channels of keysPerChannel keys each.
lwp::akio::AnimClip curveClip(int items, int keysPerChannel);

// Adds nulls named "Null0", "Null1", ... whose nine motion channels hold
// keysPerChannel keys on frames 0, 1, ..., selects them all and returns the
// first one added.
lwsim::SceneItem &addKeyedNulls(lwsim::Scene &scene, int items, int keysPerChannel);

// A scene file of items with nine channels of keysPerChannel keys each.
std::string curveSceneFile(int items, int keysPerChannel);

// A path in the temporary directory, removed with the object.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string &name);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace lwp_bench
