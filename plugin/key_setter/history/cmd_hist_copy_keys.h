// Copies the keys of a source range of a channel into count consecutive
// destination slots, each as wide as the first one; keys already in the
// slots are replaced, the source keeps its keys.
#pragma once

#include <cstdint>

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistCopyKeys final : public CmdHistBase {
 public:
  // shapeOverride: only its shape and params are used (shape_override.h).
  CmdHistCopyKeys(LWChannelID channel, const TimeRange &source, const TimeRange &firstSlot,
                  const KeyRecord &shapeOverride, std::int32_t count);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  TimeRange source_;
  TimeRange firstSlot_;
  KeyRecord shapeOverride_;
  std::int32_t count_;
  TimeRange affected_;  // the slots together
  KeyRecords newKeys_;
  KeyRecords saved_;
};

}  // namespace lwp::cks
