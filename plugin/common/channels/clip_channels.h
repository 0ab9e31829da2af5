// The clip tools' view of an item's channels, through CClipGlobals: paths
// relative to the item's group, and the panels' groups by path.
#pragma once

#include <string>

#include "../../host/lwitem.h"
#include "channel_walk.h"
#include "transform_channels.h"

namespace lwp {

struct GroupAxis {
  int group = kGroupMisc;
  int axis = 0;  // X Y Z or H P B; 0 for Morph and Misc
};

// The names of the groups between the item's group and the channel, then
// the channel's name, joined by "."; a channel outside the item's tree gets
// every group up to the root.
std::string channelPath(LWChannelID channel, LWItemID item);

int channelGroupOf(const std::string &path);
GroupAxis channelGroupAxis(const std::string &path);

// Exactly one dot with text on both sides, and either "MorphGroup" before
// it or the whole path the name of one of the scene's MORF maps.
bool isMorphPath(const std::string &path);

// The channels of the item's group, then depth-first those of its subgroups;
// at the first level, groups named after one of the item's bones are left out.
ChannelList itemChannels(LWItemID item);

// The first of the item's channels with exactly this path; 0 for none or
// for the empty path.
LWChannelID findChannel(LWItemID item, const std::string &path);

}  // namespace lwp
