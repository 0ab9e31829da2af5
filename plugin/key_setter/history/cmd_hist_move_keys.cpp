#include "cmd_hist_move_keys.h"

#include "../operations/shape_override.h"
#include "history_keys.h"

namespace lwp::cks {

CmdHistMoveKeys::CmdHistMoveKeys(LWChannelID channel, const TimeRange &source, const TimeRange &destination,
                                 const KeyRecord &shapeOverride)
    : CmdHistBase(channel), source_(source), destination_(destination), shapeOverride_(shapeOverride) {}

bool CmdHistMoveKeys::check() { return channelHasEnvelope() && hasSpan(source_) && hasSpan(destination_); }

void CmdHistMoveKeys::doIt() {
  const LWEnvelopeID target = envelope();
  saved_ = takeKeys(target, source_);
  const std::size_t moved = saved_.size();
  const KeyRecords replaced = takeKeys(target, destination_);
  saved_.insert(saved_.end(), replaced.begin(), replaced.end());

  const double ratio = spanOf(destination_) / spanOf(source_);
  newKeys_.clear();
  newKeys_.reserve(moved);
  for (std::size_t i = 0; i < moved; ++i) {
    KeyRecord key = shapedBy(saved_[i], shapeOverride_);
    key.time = (key.time - source_.start) * ratio + destination_.start;
    newKeys_.push_back(key);
  }
  restoreKeys(target, newKeys_);
}

void CmdHistMoveKeys::redoIt() { replaceBothRanges(newKeys_); }

void CmdHistMoveKeys::undoIt() { replaceBothRanges(saved_); }

void CmdHistMoveKeys::replaceBothRanges(const KeyRecords &records) {
  const LWEnvelopeID target = envelope();
  deleteKeysInRange(target, source_);
  replaceKeys(target, destination_, records);
}

}  // namespace lwp::cks
