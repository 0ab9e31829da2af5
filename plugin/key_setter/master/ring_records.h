// The key setter's two communication-ring topics, their event codes and the
// reply records the asker hands over for the listeners to fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "../../host/lwtypes.h"
#include "../operations/channel_mask.h"

namespace lwp::cks {

// The master's topic: the panel resets the marks and asks for them.
inline constexpr const char *kMasterTopic = "QD_CKS_COMRING";
inline constexpr int kMasterResetEvent = 0;
inline constexpr int kMarkQueryEvent = 1;

// The clip-set tool's topic, answered outside this module.
inline constexpr const char *kClipSetTopic = "QD_CKS_KEYCONTROL";
inline constexpr int kClipSetInfoQuestion = 0;
inline constexpr int kClipSetChannelQuestion = 1;

// The answer to a mark query; the master empties masks and fills them.
struct MarkReply {
  std::uint8_t resetSeen = 0;  // 1 once the master has had a reset
  std::map<LWItemID, ChannelMask> masks;

  // The channels of the item that take the viewport pose: its marks once the
  // master has had a reset, all nine while it has not (or no master runs).
  ChannelMask maskOf(LWItemID item) const {
    if (resetSeen == 0) return kAllChannelsMask;
    const auto entry = masks.find(item);
    return entry != masks.end() ? entry->second : 0;
  }
};

// The clip-set tool is built apart from this module, so what it hands back
// is plain C layout: a sequence is three pointers (first element, one past
// the last, one past the storage), a string is NUL-terminated.
struct ClipSetSequence {
  const void *begin;
  const void *end;
  const void *capacity;
};

// Question 0: who is the active character, clone and clip set.
struct ClipSetInfoReply {
  std::int32_t valid;            // nonzero when the tool answered
  const ClipSetSequence *names;  // of const char *: the character, then its clones
  const char *clipSet;           // the active clip set's name
  std::int32_t index;            // the active clone's element in names
};

// Question 1: which channels the active clone keys.
struct ClipSetChannelReply {
  std::int32_t valid;      // nonzero when the tool answered
  std::uint64_t reserved;  // the tool's own; never read
  const void *set;         // the tool's clip-set record
  std::int32_t index;      // the clone whose channel sequence is read
};

// Where the asker finds what it reads in the tool's clip-set record: one
// channel sequence per clone from byte 32, entries of 144 bytes holding the
// item id at byte 112 and the channel id at byte 120.
inline constexpr std::size_t kClipSetSequencesOffset = 32;
inline constexpr std::size_t kClipSetEntrySize = 144;
inline constexpr std::size_t kClipSetEntryItemOffset = 112;
inline constexpr std::size_t kClipSetEntryChannelOffset = 120;

static_assert(sizeof(ClipSetSequence) == 24, "a sequence is three pointers");
static_assert(offsetof(ClipSetInfoReply, names) == 8 && offsetof(ClipSetInfoReply, clipSet) == 16 &&
                  offsetof(ClipSetInfoReply, index) == 24,
              "the info reply's layout");
static_assert(offsetof(ClipSetChannelReply, reserved) == 8 && offsetof(ClipSetChannelReply, set) == 16 &&
                  offsetof(ClipSetChannelReply, index) == 24,
              "the channel reply's layout");

}  // namespace lwp::cks
