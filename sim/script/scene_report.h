// The lines lwsim prints about the scene: channels and their keys, envelope
// values and the selection. Numbers use "%.10f" in the "C" notation.
#pragma once

#include <string>
#include <vector>

#include "../scene/scene.h"

namespace lwsim {

std::string fixed10(double value);

// An item's channels: its own group's, then each subgroup's depth-first; an
// object's bone groups belong to the bones and are left out.
std::vector<Channel *> ownChannels(const SceneItem &item);
// The channel's path below the item's group ("Position.X", "Face.Smile").
std::string channelPath(const SceneItem &item, const Channel &channel);

// "channel ITEM PATH pre=N post=N keys=N", then one "key ..." line per key.
std::vector<std::string> dumpChannel(const SceneItem &item, const Channel &channel);
std::string valueLine(const SceneItem &item, const Channel &channel, double seconds);
std::string selectionLine(const Scene &scene);

}  // namespace lwsim
