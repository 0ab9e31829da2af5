// The pose the viewport shows: an item shows its motion envelopes' values at
// the current time until a posing command moves it. Keying and time changes
// go through here.
#pragma once

#include <array>
#include <map>
#include <optional>

#include "scene.h"

namespace lwsim {

class ViewportPose {
 public:
  explicit ViewportPose(const Scene &scene) : scene_(scene) {}

  // Value of a motion slot (0–8) as shown: the posed value, or the envelope's
  // value at the current time (0 for position and rotation, 1 for scale when
  // the item lacks the channel).
  double shown(const SceneItem &item, std::size_t slot) const;
  void set(const SceneItem &item, std::size_t slot, double value) { posed_[&item][slot] = value; }
  bool isPosed(const SceneItem &item, std::size_t slot) const;
  // A time change shows the envelopes again.
  void drop() { posed_.clear(); }

 private:
  const Scene &scene_;
  std::map<const SceneItem *, std::array<std::optional<double>, 9>> posed_;
};

}  // namespace lwsim
