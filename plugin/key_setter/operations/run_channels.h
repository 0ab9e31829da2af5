// The channels of a target that the run's channel toggles enable, each with
// its channel slot.
#pragma once

#include <vector>

#include "../../host/lwtypes.h"
#include "run_settings.h"
#include "run_targets.h"

namespace lwp::cks {

struct GatheredChannel {
  LWChannelID channel = nullptr;
  int slot = 0;
};

using GatheredChannels = std::vector<GatheredChannel>;

// Slots 0 to 8 need their axis toggle and their bit in the mask; 9 needs
// "Dissolve", 10 "Morph", 11 "Misc".
bool slotEnabled(const RunSettings &settings, int slot, ChannelMask mask);

// The clip-set tool's channels for a target that has them (a slot past the
// motion channels counts as morph or other, never as dissolve); else every
// channel of the item.
GatheredChannels gatherChannels(const RunSettings &settings, const TargetItem &target);

}  // namespace lwp::cks
