#include "channel_walk.h"

namespace lwp {

std::string channelNameWith(const LWChannelInfo &info, LWChannelID channel) {
  const char *name = info.channelName(channel);
  return name != nullptr ? name : "";
}

std::string groupNameWith(const LWChannelInfo &info, LWChanGroupID group) {
  const char *name = info.groupName(group);
  return name != nullptr ? name : "";
}

void appendGroupChannels(const LWChannelInfo &info, LWChanGroupID group, ChannelList &channels) {
  for (LWChannelID channel = info.nextChannel(group, nullptr); channel != nullptr;
       channel = info.nextChannel(group, channel))
    channels.push_back(channel);
}

void appendTreeChannels(const LWChannelInfo &info, LWChanGroupID group, ChannelList &channels) {
  if (group == nullptr) return;  // group 0 would be the whole scene
  std::vector<LWChanGroupID> groups{group};
  for (std::size_t next = 0; next < groups.size(); ++next) {
    const LWChanGroupID current = groups[next];
    appendGroupChannels(info, current, channels);
    for (LWChanGroupID sub = info.nextGroup(current, nullptr); sub != nullptr; sub = info.nextGroup(current, sub))
      groups.push_back(sub);
  }
}

bool isMorphMapName(const LWObjectFuncs &objects, const std::string &name) {
  const int count = objects.numVMaps(LWVMAP_MORF);
  for (int i = 0; i < count; ++i) {
    const char *mapName = objects.vmapName(LWVMAP_MORF, i);
    if (mapName != nullptr && name == mapName) return true;
  }
  return false;
}

}  // namespace lwp
