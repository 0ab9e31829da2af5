#include "key_channels.h"

#include <unordered_set>

#include "../globals/host_globals.h"
#include "../items/item_walk.h"
#include "../items/list_search.h"

namespace lwp {

namespace {

// The process's channel cache and batch flag, kept until unload.
struct ChannelBatch {
  bool active = false;
  bool filled = false;
  std::unordered_set<LWChannelID> channels;

  void reset(bool batch) {
    active = batch;
    filled = false;
    channels.clear();
  }
};

ChannelBatch &batch() {
  static ChannelBatch state;
  return state;
}

}  // namespace

std::string channelName(LWChannelID channel) {
  const LWChannelInfo *info = CHostGlobals::instance().channelInfo();
  return info != nullptr ? channelNameWith(*info, channel) : std::string();
}

int channelSlot(LWChannelID channel, LWItemID item) {
  const CHostGlobals &globals = CHostGlobals::instance();
  const LWChannelInfo *info = globals.channelInfo();
  const LWItemInfo *items = globals.itemInfo();
  if (info != nullptr && items != nullptr && info->channelParent(channel) == items->chanGroup(item)) {
    const std::string name = channelNameWith(*info, channel);
    for (std::size_t slot = 0; slot < kSlotChannelNames.size(); ++slot)
      if (name == kSlotChannelNames[slot]) return static_cast<int>(slot);
  }
  return isMorphChannel(channel, item) ? kSlotMorph : kSlotOther;
}

bool isMorphChannel(LWChannelID channel, LWItemID item) {
  const CHostGlobals &globals = CHostGlobals::instance();
  const LWChannelInfo *info = globals.channelInfo();
  const LWItemInfo *items = globals.itemInfo();
  if (info == nullptr || items == nullptr || items->type(item) != LWI_OBJECT) return false;
  const LWChanGroupID group = info->channelParent(channel);
  const LWChanGroupID itemGroup = items->chanGroup(item);
  if (group == nullptr || itemGroup == nullptr || info->groupParent(group) != itemGroup) return false;
  const std::string groupName = groupNameWith(*info, group);
  if (groupName == "MorphGroup") return true;
  const LWObjectFuncs *objects = globals.sceneObjects();
  return objects != nullptr && isMorphMapName(*objects, groupName + "." + channelNameWith(*info, channel));
}

ChannelList itemChannelsKS(LWItemID item) {
  const CHostGlobals &globals = CHostGlobals::instance();
  const LWChannelInfo *info = globals.channelInfo();
  const LWItemInfo *items = globals.itemInfo();
  ChannelList result;
  if (info == nullptr || items == nullptr) return result;
  const LWChanGroupID group = items->chanGroup(item);
  if (group == nullptr) return result;
  if (items->type(item) != LWI_OBJECT) {
    appendTreeChannels(*info, group, result);
    return result;
  }
  std::vector<LWChanGroupID> boneGroups;
  for (LWItemID bone : bonesWith(*items, item)) boneGroups.push_back(items->chanGroup(bone));
  appendGroupChannels(*info, group, result);
  for (LWChanGroupID sub = info->nextGroup(group, nullptr); sub != nullptr; sub = info->nextGroup(group, sub))
    if (!contains(boneGroups, sub)) appendTreeChannels(*info, sub, result);
  return result;
}

ChannelList allSceneChannels() {
  const LWChannelInfo *info = CHostGlobals::instance().channelInfo();
  ChannelList result;
  if (info == nullptr) return result;
  for (LWChanGroupID group = info->nextGroup(nullptr, nullptr); group != nullptr;
       group = info->nextGroup(nullptr, group))
    appendTreeChannels(*info, group, result);
  return result;
}

bool channelExists(LWChannelID channel) {
  ChannelBatch &state = batch();
  if (!state.active) return contains(allSceneChannels(), channel);
  if (!state.filled) {
    const ChannelList channels = allSceneChannels();
    state.channels.insert(channels.begin(), channels.end());
    state.filled = true;
  }
  return state.channels.count(channel) != 0;
}

void beginChannelBatch() { batch().reset(true); }

void endChannelBatch() { batch().reset(false); }

}  // namespace lwp
