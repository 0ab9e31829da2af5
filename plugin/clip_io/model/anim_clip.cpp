#include "anim_clip.h"

#include <algorithm>

namespace lwp::akio {

const AnimClipChannel *findClipChannel(const std::vector<AnimClipChannel> &channels, const std::string &name) {
  const auto found = std::find_if(channels.begin(), channels.end(),
                                  [&](const AnimClipChannel &channel) { return channel.name == name; });
  return found != channels.end() ? &*found : nullptr;
}

double firstKeyValue(const AnimClipChannel &channel) { return channel.keys.empty() ? 0.0 : channel.keys.front().value; }

AnimClipChannel parameterChannel(const char *name, double value) {
  AnimClipChannel channel{name, {}};
  AnimClipKey key;
  key.value = value;
  channel.keys.push_back(key);
  return channel;
}

}  // namespace lwp::akio
