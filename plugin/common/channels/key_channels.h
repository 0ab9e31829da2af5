// The key setter's view of channels, through CHostGlobals: names, slots,
// the channels of an item or of the whole scene, and whether a channel
// still exists. A host service that is missing gives empty results.
#pragma once

#include <string>

#include "../../host/lwitem.h"
#include "channel_walk.h"
#include "transform_channels.h"

namespace lwp {

std::string channelName(LWChannelID channel);

// 0 to 9 by name for a channel in the item's own group; otherwise
// kSlotMorph for a morph channel, else kSlotOther.
int channelSlot(LWChannelID channel, LWItemID item);

// A channel of an object in a direct subgroup of the object's group that is
// "MorphGroup" or whose "GROUP.CHANNEL" names one of the scene's MORF maps.
bool isMorphChannel(LWChannelID channel, LWItemID item);

// An object: the channels of its group, then of each subgroup tree that is
// not one of its bones' groups. Any other item: its whole group tree. Trees
// are walked breadth-first by group.
ChannelList itemChannelsKS(LWItemID item);

// Every channel of the scene, each top-level group's tree in turn.
ChannelList allSceneChannels();

// Whether the channel is among the scene's channels. Inside a batch the
// scene's channels are gathered once, at the first question, into a hash
// set kept until the batch ends; outside a batch every question walks the
// scene afresh.
bool channelExists(LWChannelID channel);
void beginChannelBatch();
void endChannelBatch();

}  // namespace lwp
