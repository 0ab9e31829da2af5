#include "scene_report.h"

#include <algorithm>
#include <charconv>

#include "script_words.h"

namespace lwsim {

namespace {

void collect(const ChannelGroup &group, const SceneItem &item, std::vector<Channel *> &out) {
  for (const auto &channel : group.channels()) out.push_back(channel.get());
  for (const auto &sub : group.groups())
    if (!(sub->parent() == item.group && sub->isBoneGroup())) collect(*sub, item, out);
}

}  // namespace

std::string fixed10(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 10);
  return std::string(buffer, result.ptr);
}

std::vector<Channel *> ownChannels(const SceneItem &item) {
  std::vector<Channel *> channels;
  collect(*item.group, item, channels);
  return channels;
}

std::string channelPath(const SceneItem &item, const Channel &channel) {
  std::string path = channel.name();
  for (const ChannelGroup *group = channel.parent(); group != nullptr && group != item.group; group = group->parent())
    path = group->name() + "." + path;
  return path;
}

std::vector<std::string> dumpChannel(const SceneItem &item, const Channel &channel) {
  const Envelope &envelope = channel.envelope();
  const std::string prefix = quoteWord(item.name) + ' ' + quoteWord(channelPath(item, channel));
  std::vector<std::string> lines;
  lines.push_back("channel " + prefix + " pre=" + std::to_string(envelope.preBehavior()) +
                  " post=" + std::to_string(envelope.postBehavior()) + " keys=" + std::to_string(envelope.keyCount()));
  for (std::size_t i = 0; i < envelope.keyCount(); ++i) {
    const EnvelopeKey &key = envelope.key(i);
    std::string line =
        "key " + prefix + ' ' + fixed10(key.time) + ' ' + fixed10(key.value) + ' ' + std::to_string(key.shape);
    for (const double field : {key.tension, key.continuity, key.bias}) line += ' ' + fixed10(field);
    for (const double param : key.params) line += ' ' + fixed10(param);
    lines.push_back(line);
  }
  return lines;
}

std::string valueLine(const SceneItem &item, const Channel &channel, double seconds) {
  return "value " + quoteWord(item.name) + ' ' + quoteWord(channelPath(item, channel)) + ' ' + fixed10(seconds) + ' ' +
         fixed10(channel.envelope().evaluate(seconds));
}

std::string selectionLine(const Scene &scene) {
  std::string line = "selection:";
  for (const SceneItem *item : scene.selection()) line += ' ' + quoteWord(item->name);
  return line;
}

}  // namespace lwsim
