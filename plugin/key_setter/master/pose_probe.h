// Asks Layout which values it would key for an item's motion channels: it
// keys them itself at the key time, from the pose the viewport shows, and
// the probe reads those keys and takes them away again.
#pragma once

#include <array>

#include "../../host/lwtypes.h"
#include "../operations/run_channels.h"

namespace lwp::cks {

// Per motion slot; slots that were not probed hold 0.
struct ProbedPose {
  std::array<double, 9> current{};  // the envelope at the current time
  std::array<double, 9> posed{};    // what Layout keyed at the key time
};

// Probes the gathered channels of slots 0 to 8 that have an envelope. The
// item is selected for the probe. Each envelope is left as it was: a key
// that stood at the key time gets its value back, a key the probe made is
// removed.
ProbedPose probePose(LWItemID item, const GatheredChannels &channels, double keyTime, double now);

}  // namespace lwp::cks
