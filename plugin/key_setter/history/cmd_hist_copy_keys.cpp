#include "cmd_hist_copy_keys.h"

#include "../operations/shape_override.h"
#include "history_keys.h"

namespace lwp::cks {

CmdHistCopyKeys::CmdHistCopyKeys(LWChannelID channel, const TimeRange &source, const TimeRange &firstSlot,
                                 const KeyRecord &shapeOverride, std::int32_t count)
    : CmdHistBase(channel),
      source_(source),
      firstSlot_(firstSlot),
      shapeOverride_(shapeOverride),
      count_(count),
      affected_{firstSlot.start, firstSlot.start + spanOf(firstSlot) * count} {}

bool CmdHistCopyKeys::check() { return channelHasEnvelope() && hasSpan(source_) && hasSpan(firstSlot_) && count_ >= 1; }

void CmdHistCopyKeys::doIt() {
  const LWEnvelopeID target = envelope();
  const KeyRecords copied = snapshotKeys(target, keysInRange(target, source_));
  saved_ = takeKeys(target, affected_);

  const double slotSpan = spanOf(firstSlot_);
  const double ratio = slotSpan / spanOf(source_);
  newKeys_.clear();
  newKeys_.reserve(copied.size() * static_cast<std::size_t>(count_));
  for (std::int32_t slot = 0; slot < count_; ++slot) {
    for (const KeyRecord &original : copied) {
      KeyRecord key = shapedBy(original, shapeOverride_);
      key.time = firstSlot_.start + slotSpan * slot + (original.time - source_.start) * ratio;
      newKeys_.push_back(key);
    }
  }
  restoreKeys(target, newKeys_);
}

void CmdHistCopyKeys::redoIt() { replaceKeys(envelope(), affected_, newKeys_); }

void CmdHistCopyKeys::undoIt() { replaceKeys(envelope(), affected_, saved_); }

}  // namespace lwp::cks
