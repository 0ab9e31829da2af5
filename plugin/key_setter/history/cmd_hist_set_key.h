// Writes one key over a window of a channel, replacing the keys in it.
#pragma once

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistSetKey final : public CmdHistBase {
 public:
  // A key with the shape kKeepOwnShape takes the shape and params of the
  // first key it replaces (TCB with zeros when there is none).
  CmdHistSetKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  TimeRange window_;
  KeyRecord key_;
  KeyRecords saved_;
};

}  // namespace lwp::cks
