// The value clipboard: channel values copied at one time and keyed again
// at another. It lives as long as the module.
#pragma once

#include <utility>
#include <vector>

#include "../../host/lwtypes.h"
#include "run_settings.h"

namespace lwp::cks {

using CopiedValues = std::vector<std::pair<LWChannelID, double>>;

CopiedValues &valueClipboard();

// Empties the clipboard, then copies the current value of every gathered
// channel of every target: motion channels from their envelopes, other
// channels as the host evaluates them (with their modifiers).
void copyCurrentValues(const RunSettings &settings);

// One key per copied value at the current time, replacing the keys of the
// frame that starts there, shaped by the run's shape settings; the entries
// go to the open undo group.
void addPasteEntries(const RunSettings &settings);

}  // namespace lwp::cks
