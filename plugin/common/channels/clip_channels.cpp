#include "clip_channels.h"

#include <regex>
#include <string_view>

#include "../globals/clip_globals.h"
#include "../items/clip_items.h"
#include "../items/list_search.h"

namespace lwp {

namespace {

const LWChannelInfo &channels() { return *CClipGlobals::instance().channelInfo(); }

void appendDepthFirst(const LWChannelInfo &info, LWChanGroupID group, ChannelList &result) {
  appendGroupChannels(info, group, result);
  for (LWChanGroupID sub = info.nextGroup(group, nullptr); sub != nullptr; sub = info.nextGroup(group, sub))
    appendDepthFirst(info, sub, result);
}

int axisOf(char letter, std::string_view axes) { return static_cast<int>(axes.find(letter)); }

}  // namespace

std::string channelPath(LWChannelID channel, LWItemID item) {
  const LWChannelInfo &info = channels();
  std::string path = channelNameWith(info, channel);
  const LWChanGroupID itemGroup = CClipGlobals::instance().itemInfo()->chanGroup(item);
  for (LWChanGroupID group = info.channelParent(channel); group != nullptr && group != itemGroup;
       group = info.groupParent(group))
    path = groupNameWith(info, group) + "." + path;
  return path;
}

GroupAxis channelGroupAxis(const std::string &path) {
  static const std::regex position(R"(^Position\.[XYZ]$)", std::regex::ECMAScript);
  static const std::regex rotation(R"(^Rotation\.[HPB]$)", std::regex::ECMAScript);
  static const std::regex scale(R"(^Scale\.[XYZ]$)", std::regex::ECMAScript);
  if (std::regex_match(path, position)) return {kGroupPosition, axisOf(path.back(), "XYZ")};
  if (std::regex_match(path, rotation)) return {kGroupRotation, axisOf(path.back(), "HPB")};
  if (std::regex_match(path, scale)) return {kGroupScale, axisOf(path.back(), "XYZ")};
  return {isMorphPath(path) ? kGroupMorph : kGroupMisc, 0};
}

int channelGroupOf(const std::string &path) { return channelGroupAxis(path).group; }

bool isMorphPath(const std::string &path) {
  static const std::regex oneDot(R"(^([^\.]+)\.[^\.]+$)", std::regex::ECMAScript);
  std::smatch parts;
  if (!std::regex_match(path, parts, oneDot)) return false;
  if (parts[1] == "MorphGroup") return true;
  return isMorphMapName(*CClipGlobals::instance().sceneObjects(), path);
}

ChannelList itemChannels(LWItemID item) {
  const LWChannelInfo &info = channels();
  ChannelList result;
  const LWChanGroupID group = CClipGlobals::instance().itemInfo()->chanGroup(item);
  if (group == nullptr) return result;
  std::vector<std::string> boneNames;
  for (LWItemID bone : bonesOf(item)) boneNames.push_back(itemNameWith(*CClipGlobals::instance().itemInfo(), bone));
  appendGroupChannels(info, group, result);
  for (LWChanGroupID sub = info.nextGroup(group, nullptr); sub != nullptr; sub = info.nextGroup(group, sub)) {
    if (contains(boneNames, groupNameWith(info, sub))) continue;
    appendDepthFirst(info, sub, result);
  }
  return result;
}

LWChannelID findChannel(LWItemID item, const std::string &path) {
  if (path.empty()) return nullptr;
  for (LWChannelID channel : itemChannels(item))
    if (channelPath(channel, item) == path) return channel;
  return nullptr;
}

}  // namespace lwp
