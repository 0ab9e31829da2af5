#include "clip_set_questions.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../../common/channels/key_channels.h"
#include "../../common/globals/host_globals.h"
#include "../../host/lwcomring.h"
#include "ring_records.h"

namespace lwp::cks {

namespace {

void askClipSetTool(int question, void *reply) {
  if (LWComRing *ring = CHostGlobals::instance().comRing()) ring->ringMessage(kClipSetTopic, question, reply);
}

// The tool's records are read byte-wise: nothing says they are aligned.
template <class T>
T readAt(const void *record, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char *>(record) + offset, sizeof value);
  return value;
}

// The number of whole elements of a sequence; 0 for one that is not a
// sequence of such elements (no storage, its end before its begin, a
// partial element).
std::size_t elementCount(const ClipSetSequence &sequence, std::size_t elementSize) {
  const auto begin = reinterpret_cast<std::uintptr_t>(sequence.begin);
  const auto end = reinterpret_cast<std::uintptr_t>(sequence.end);
  if (begin == 0 || end < begin) return 0;
  const auto bytes = static_cast<std::size_t>(end - begin);
  return bytes % elementSize == 0 ? bytes / elementSize : 0;
}

std::string nameAt(const ClipSetSequence *names, std::int32_t index) {
  if (names == nullptr || index < 0) return std::string();
  const auto position = static_cast<std::size_t>(index);
  if (position >= elementCount(*names, sizeof(const char *))) return std::string();
  const char *name = readAt<const char *>(names->begin, position * sizeof(const char *));
  return name != nullptr ? std::string(name) : std::string();
}

// The sequence of the clone the reply names; an empty one when the reply
// names none.
ClipSetSequence cloneSequence(const ClipSetChannelReply &reply) {
  if (reply.valid == 0 || reply.set == nullptr || reply.index < 0) return ClipSetSequence{};
  const std::size_t offset = kClipSetSequencesOffset + static_cast<std::size_t>(reply.index) * sizeof(ClipSetSequence);
  return readAt<ClipSetSequence>(reply.set, offset);
}

void record(ClipSetChannels &channels, LWItemID item, LWChannelID channel) {
  ClipSetItemChannels &entry = channels[item];
  const bool known = std::any_of(entry.channels.begin(), entry.channels.end(),
                                 [&](const ClipSetChannel &each) { return each.channel == channel; });
  if (known) return;
  const int slot = channelSlot(channel, item);
  entry.channels.push_back({channel, slot});
  entry.mask |= slotMask(slot);
}

}  // namespace

ClipSetInfo askClipSetInfo() {
  ClipSetInfoReply reply{};
  askClipSetTool(kClipSetInfoQuestion, &reply);
  ClipSetInfo info;
  if (reply.valid == 0) return info;
  info.answered = true;
  info.character = nameAt(reply.names, 0);
  info.clone = nameAt(reply.names, reply.index);
  info.clipSet = reply.clipSet != nullptr ? reply.clipSet : "";
  return info;
}

ClipSetChannels askClipSetChannels() {
  ClipSetChannelReply reply{};
  askClipSetTool(kClipSetChannelQuestion, &reply);
  const ClipSetSequence sequence = cloneSequence(reply);
  const std::size_t count = elementCount(sequence, kClipSetEntrySize);
  ClipSetChannels channels;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = i * kClipSetEntrySize;
    const auto item = readAt<LWItemID>(sequence.begin, entry + kClipSetEntryItemOffset);
    const auto channel = readAt<LWChannelID>(sequence.begin, entry + kClipSetEntryChannelOffset);
    if (item != nullptr && channel != nullptr) record(channels, item, channel);
  }
  return channels;
}

}  // namespace lwp::cks
