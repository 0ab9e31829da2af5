// Key work shared by the undo entries: span tests and taking keys out of a
// range so that they can be written back later.
#pragma once

#include "../../common/channels/key_records.h"

namespace lwp::cks {

// A range no wider than this (in seconds) holds no key to work on.
inline constexpr double kMinimumSpan = 0.00000001;

double spanOf(const TimeRange &range);
bool hasSpan(const TimeRange &range);

// Copies of the keys in the range, in envelope order; the keys are then
// deleted.
KeyRecords takeKeys(LWEnvelopeID envelope, const TimeRange &range);

// Deletes the keys in the range and writes the records in their place.
void replaceKeys(LWEnvelopeID envelope, const TimeRange &range, const KeyRecords &records);

}  // namespace lwp::cks
