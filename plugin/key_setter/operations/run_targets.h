// The items a run works on: from the scope, or from the clip-set tool when
// PoseClip is on; only items of the enabled kinds.
#pragma once

#include <vector>

#include "../../host/lwtypes.h"
#include "../master/clip_set_questions.h"
#include "channel_mask.h"
#include "run_settings.h"

namespace lwp::cks {

struct TargetItem {
  LWItemID item = nullptr;
  // All nine motion channels for scene items; for the clip-set tool's items
  // the motion channels it listed.
  ChannelMask mask = kAllChannelsMask;
  // The clip-set tool's channels in its order; empty for scene items.
  std::vector<ClipSetChannel> channels;
};

using TargetItems = std::vector<TargetItem>;

bool kindEnabled(const RunSettings &settings, LWItemID item);

// Without PoseClip and with both "Mesh" and "Dissolve" on, every mesh of the
// scope is given a dissolve envelope first, so that it can be keyed; this
// changes the selection.
TargetItems gatherTargets(const RunSettings &settings);

}  // namespace lwp::cks
