// Replaces the keys of a range of a channel by keys sampled from its curve
// at a fixed step.
#pragma once

#include "../common/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistBake final : public CmdHistBase {
 public:
  // Samples at range.start, then every step seconds while before
  // range.end. The sampled keys take the override's shape and params, or
  // TCB with zeros when it keeps each key's own shape.
  CmdHistBake(LWChannelID channel, const TimeRange &range, double step, const KeyRecord &shapeOverride);

  // Besides the channel, the step must be wider than an empty span: a step
  // that does not advance would sample without end.
  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  KeyRecords sampledKeys(LWEnvelopeID envelope) const;

  TimeRange range_;
  double step_;
  KeyRecord shapeOverride_;
  KeyRecords newKeys_;
  KeyRecords saved_;
};

}  // namespace lwp::cks
