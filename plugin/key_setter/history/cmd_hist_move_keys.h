// Moves the keys of a source range of a channel onto a destination range,
// stretching their times by the ratio of the two spans. Keys that were in
// the destination are replaced.
#pragma once

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistMoveKeys final : public CmdHistBase {
 public:
  // shapeOverride: only its shape and params are used (shape_override.h).
  CmdHistMoveKeys(LWChannelID channel, const TimeRange &source, const TimeRange &destination,
                  const KeyRecord &shapeOverride);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  void replaceBothRanges(const KeyRecords &records);

  TimeRange source_;
  TimeRange destination_;
  KeyRecord shapeOverride_;
  KeyRecords newKeys_;
  KeyRecords saved_;  // the source's keys, then the destination's
};

}  // namespace lwp::cks
