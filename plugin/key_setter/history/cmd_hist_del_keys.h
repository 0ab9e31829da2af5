// Deletes the keys of a range of a channel.
#pragma once

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistDelKeys final : public CmdHistBase {
 public:
  CmdHistDelKeys(LWChannelID channel, const TimeRange &range);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  TimeRange range_;
  KeyRecords saved_;
};

}  // namespace lwp::cks
