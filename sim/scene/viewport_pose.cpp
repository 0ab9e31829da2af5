#include "viewport_pose.h"

namespace lwsim {

double ViewportPose::shown(const SceneItem &item, std::size_t slot) const {
  if (const auto posed = posed_.find(&item); posed != posed_.end() && posed->second[slot].has_value())
    return *posed->second[slot];
  const Channel *channel = item.group->findChannel(kMotionChannels[slot]);
  if (channel == nullptr) return slot >= 6 ? 1.0 : 0.0;
  return channel->envelope().evaluate(scene_.time());
}

bool ViewportPose::isPosed(const SceneItem &item, std::size_t slot) const {
  const auto posed = posed_.find(&item);
  return posed != posed_.end() && posed->second[slot].has_value();
}

}  // namespace lwsim
