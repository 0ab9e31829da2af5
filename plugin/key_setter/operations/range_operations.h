// Move, Scale, Copy, Bake, Delete Key and Delete Range: one undo entry per
// gathered channel of every target, then its behaviour entries.
#pragma once

#include <cstdint>

#include "../../common/channels/key_records.h"
#include "run_settings.h"
#include "run_targets.h"

namespace lwp::cks {

// The times of one of these operations.
struct RangeTimes {
  TimeRange source;       // the frame range, or the key window of Delete Key
  TimeRange destination;  // Move and Scale: the target range; Copy: the first slot
};

// No run makes more keys than this on one channel.
inline constexpr std::int64_t kMaxKeysPerChannel = 100000;

// Bake's samples: frames from, from + step, ... up to to, counted in whole
// frames; none when the step does not advance or the range is reversed.
std::int64_t bakeSampleCount(const RunSettings &settings);

// Throw std::length_error, saying how many keys, when Bake would sample, or
// Copy would copy (count times the keys of a channel's source range), more
// than kMaxKeysPerChannel keys on a channel.
void checkBakedKeyCount(const RunSettings &settings);
void checkCopiedKeyCounts(const RunSettings &settings, const TargetItems &targets, double spf);

// Source and destination of the operation in seconds.
RangeTimes rangeTimesOf(const RunSettings &settings, double spf);

void addRangeEntries(const RunSettings &settings, const TargetItems &targets, double spf);

}  // namespace lwp::cks
