// Copies of envelope keys and key selection by time, through the key
// setter's "Animation Envelopes 4". A missing service gives empty results.
#pragma once

#include <array>
#include <limits>
#include <vector>

#include "../../host/lwenvelope.h"

namespace lwp {

// One key; tension, continuity and bias for TCB keys, the four params for
// every other shape, the fields that do not apply 0.
struct KeyRecord {
  double time = 0.0;
  double value = 0.0;
  int shape = SHAPE_TCB;
  double tension = 0.0;
  double continuity = 0.0;
  double bias = 0.0;
  std::array<double, 4> param{};
};

// [start, end) in seconds. The full range is told by exact equality of both
// bounds with those of fullRange().
struct TimeRange {
  double start = 0.0;
  double end = 0.0;

  bool isFull() const;
};

using KeyList = std::vector<LWEnvKeyframeID>;
using KeyRecords = std::vector<KeyRecord>;

TimeRange fullRange();

KeyRecord readKey(LWEnvelopeID envelope, LWEnvKeyframeID key);
// Creates a key at the record's time and value and sets its other fields.
void writeKey(LWEnvelopeID envelope, const KeyRecord &record);

// The keys in envelope order. The full range gives every key; any other
// shifts each key's time up by 1e-6 and takes it when start <= t < end,
// stopping at the first key at or past the end.
KeyList keysInRange(LWEnvelopeID envelope, const TimeRange &range);

KeyRecords snapshotKeys(LWEnvelopeID envelope, const KeyList &keys);
void restoreKeys(LWEnvelopeID envelope, const KeyRecords &records);
void deleteKeysInRange(LWEnvelopeID envelope, const TimeRange &range);

}  // namespace lwp
