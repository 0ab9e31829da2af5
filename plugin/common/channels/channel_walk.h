// Walks of the channel tree through "Channel Info 3", and the scene's morph
// maps through "Scene Objects 9", shared by both tools.
#pragma once

#include <string>
#include <vector>

#include "../../host/lwchannel.h"
#include "../../host/lwobjects.h"

namespace lwp {

using ChannelList = std::vector<LWChannelID>;

// Host names; a null name is the empty text.
std::string channelNameWith(const LWChannelInfo &info, LWChannelID channel);
std::string groupNameWith(const LWChannelInfo &info, LWChanGroupID group);

// The channels directly in the group, nextChannel from 0.
void appendGroupChannels(const LWChannelInfo &info, LWChanGroupID group, ChannelList &channels);

// The channels of the group's tree breadth-first by group: the group, its
// subgroups, theirs, and so on; each group's own channels in turn.
void appendTreeChannels(const LWChannelInfo &info, LWChanGroupID group, ChannelList &channels);

// True when one of the scene's MORF vertex maps has exactly this name.
bool isMorphMapName(const LWObjectFuncs &objects, const std::string &name);

}  // namespace lwp
