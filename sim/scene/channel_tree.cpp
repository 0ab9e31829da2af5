#include "channel_tree.h"

#include <algorithm>

#include "../services/handle_registry.h"

namespace lwsim {

namespace {

template <typename T>
T *after(const std::vector<std::unique_ptr<T>> &list, const T *current) {
  if (current == nullptr) return list.empty() ? nullptr : list.front().get();
  for (std::size_t i = 0; i + 1 < list.size(); ++i)
    if (list[i].get() == current) return list[i + 1].get();
  return nullptr;
}

}  // namespace

Channel::Channel(std::string name, ChannelGroup *parent) : name_(std::move(name)), parent_(parent) {
  registerHandle(this, HandleKind::Channel);
}

Channel::~Channel() { unregisterHandle(this); }

ChannelGroup::ChannelGroup(std::string name, ChannelGroup *parent) : name_(std::move(name)), parent_(parent) {
  registerHandle(this, HandleKind::Group);
}

ChannelGroup::~ChannelGroup() {
  // Channels and subgroups go first, while this group is still registered.
  channels_.clear();
  groups_.clear();
  unregisterHandle(this);
}

ChannelGroup &ChannelGroup::addGroup(const std::string &name) {
  groups_.push_back(std::make_unique<ChannelGroup>(name, this));
  return *groups_.back();
}

Channel &ChannelGroup::addChannel(const std::string &name) {
  channels_.push_back(std::make_unique<Channel>(name, this));
  return *channels_.back();
}

ChannelGroup *ChannelGroup::findGroup(const std::string &name) const {
  for (const auto &group : groups_)
    if (group->name() == name && !group->isBoneGroup()) return group.get();
  return nullptr;
}

Channel *ChannelGroup::findChannel(const std::string &name) const {
  for (const auto &channel : channels_)
    if (channel->name() == name) return channel.get();
  return nullptr;
}

Channel *ChannelGroup::findPath(const std::string &path) const {
  if (Channel *channel = findChannel(path)) return channel;
  for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', dot + 1)) {
    if (ChannelGroup *group = findGroup(path.substr(0, dot)))
      if (Channel *channel = group->findPath(path.substr(dot + 1))) return channel;
  }
  return nullptr;
}

Channel &ChannelGroup::ensurePath(const std::string &path) {
  if (Channel *channel = findPath(path)) return *channel;
  // Motion-style names ("Position.X") stay whole in this group; other dotted
  // paths go through subgroups, one per leading part.
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == path.size()) return addChannel(path);
  const std::string head = path.substr(0, dot);
  if (head == "Position" || head == "Rotation" || head == "Scale") return addChannel(path);
  ChannelGroup *group = findGroup(head);
  if (group == nullptr) group = &addGroup(head);
  return group->ensurePath(path.substr(dot + 1));
}

ChannelGroup *ChannelGroup::groupAfter(const ChannelGroup *group) const { return after(groups_, group); }

Channel *ChannelGroup::channelAfter(const Channel *channel) const { return after(channels_, channel); }

void ChannelGroup::removeGroup(const ChannelGroup *group) {
  groups_.erase(std::remove_if(groups_.begin(), groups_.end(),
                               [group](const std::unique_ptr<ChannelGroup> &g) { return g.get() == group; }),
                groups_.end());
}

}  // namespace lwsim
