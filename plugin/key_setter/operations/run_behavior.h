// The pre and post behaviours a run sets on the channels it works on.
#pragma once

#include <cstdint>

#include "run_channels.h"
#include "run_settings.h"

namespace lwp::cks {

// The host's behaviour code for an index of the Pre or Post popup: the
// index less one. Index 0 ("As is"), or one off the list, leaves the
// behaviour unchanged.
std::uint32_t behaviorCodeOf(int popupIndex);

// With the extra section open and "Behavior" on, one behaviour entry per
// channel, unless both popups say "As is".
void addBehaviorEntries(const RunSettings &settings, const GatheredChannels &channels);

}  // namespace lwp::cks
