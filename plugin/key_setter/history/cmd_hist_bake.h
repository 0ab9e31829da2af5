// Replaces the keys of a range of a channel by keys sampled from its curve
// at a fixed step.
#pragma once

#include <cstdint>

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistBake final : public CmdHistBase {
 public:
  // Takes `samples` samples, at range.start + i * step for i counted from 0;
  // the caller counts them in whole frames, so that adding up the step in
  // seconds cannot take one more past the range. The sampled keys take the
  // override's shape and params, or TCB with zeros when it keeps each key's
  // own shape.
  CmdHistBake(LWChannelID channel, const TimeRange &range, double step, std::int64_t samples,
              const KeyRecord &shapeOverride);

  // Besides the channel, the step must be wider than an empty span: samples
  // that do not advance would pile up at one time.
  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  KeyRecords sampledKeys(LWEnvelopeID envelope) const;

  TimeRange range_;
  double step_;
  std::int64_t samples_;
  KeyRecord shapeOverride_;
  KeyRecords newKeys_;
  KeyRecords saved_;
};

}  // namespace lwp::cks
