// Channel groups and channels. A group holds its channels and subgroups in the
// order they were added; a channel owns its envelope. Addresses are stable,
// so pointers serve as the host's group, channel and envelope ids.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "envelope.h"

namespace lwsim {

class ChannelGroup;

class Channel {
 public:
  Channel(std::string name, ChannelGroup *parent);
  ~Channel();
  Channel(const Channel &) = delete;
  Channel &operator=(const Channel &) = delete;
  const std::string &name() const { return name_; }
  ChannelGroup *parent() const { return parent_; }
  Envelope &envelope() { return envelope_; }
  const Envelope &envelope() const { return envelope_; }

 private:
  std::string name_;
  ChannelGroup *parent_;
  Envelope envelope_;
};

class ChannelGroup {
 public:
  ChannelGroup(std::string name, ChannelGroup *parent);
  ~ChannelGroup();
  ChannelGroup(const ChannelGroup &) = delete;
  ChannelGroup &operator=(const ChannelGroup &) = delete;

  const std::string &name() const { return name_; }
  void rename(std::string name) { name_ = std::move(name); }
  ChannelGroup *parent() const { return parent_; }
  // A bone's own group, below its object's group.
  bool isBoneGroup() const { return boneGroup_; }
  void markBoneGroup() { boneGroup_ = true; }

  ChannelGroup &addGroup(const std::string &name);
  Channel &addChannel(const std::string &name);
  // A subgroup by name; bone groups belong to their bones and are passed over.
  ChannelGroup *findGroup(const std::string &name) const;
  Channel *findChannel(const std::string &name) const;
  // A dotted path below this group ("Face.Smile"): every part but the last
  // names a subgroup. Longest channel names are tried first, so that
  // "Position.X" is a channel of this group, not "X" of a group "Position".
  Channel *findPath(const std::string &path) const;
  // Finds the path, or adds it with its missing subgroups.
  Channel &ensurePath(const std::string &path);

  // The next subgroup or channel after the given one; the first for null.
  ChannelGroup *groupAfter(const ChannelGroup *group) const;
  Channel *channelAfter(const Channel *channel) const;

  const std::vector<std::unique_ptr<ChannelGroup>> &groups() const { return groups_; }
  const std::vector<std::unique_ptr<Channel>> &channels() const { return channels_; }
  void removeGroup(const ChannelGroup *group);

 private:
  std::string name_;
  ChannelGroup *parent_;
  bool boneGroup_ = false;
  std::vector<std::unique_ptr<ChannelGroup>> groups_;
  std::vector<std::unique_ptr<Channel>> channels_;
};

}  // namespace lwsim
