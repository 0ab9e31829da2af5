// The panel's questions to the clip-set tool on its topic. The answers point
// into the tool's memory, so what they hold is copied right after the call.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "../../host/lwtypes.h"
#include "../operations/channel_mask.h"

namespace lwp::cks {

// The active character, clone and clip set, as question 0 answers them.
struct ClipSetInfo {
  bool answered = false;  // false: no tool listens, or it did not answer
  std::string character;  // empty when the tool names no character
  std::string clone;
  std::string clipSet;
};

// One channel the active clone keys, with its channel slot (0 to 11).
struct ClipSetChannel {
  LWChannelID channel;
  int slot;
};

// An item's channels in the order the tool lists them, each once, and the
// mask of its motion channels among them.
struct ClipSetItemChannels {
  ChannelMask mask = 0;
  std::vector<ClipSetChannel> channels;
};

using ClipSetChannels = std::map<LWItemID, ClipSetItemChannels>;

// Question 0. Names the answer lacks (no sequence, an element out of its
// range, a null string) are empty.
ClipSetInfo askClipSetInfo();

// Question 1: the channels of the active clone's sequence. Entries with a
// zero item or channel are skipped; no answer, or an answer whose record,
// index or sequence is unusable, gives no channels.
ClipSetChannels askClipSetChannels();

}  // namespace lwp::cks
