// A transform key that was written before the entry was made (the key
// setter keys the posed transforms itself); the entry can remove it again,
// bringing back every key it replaced, and write it once more.
#pragma once

#include "../../common/channels/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistSetItemKey final : public CmdHistBase {
 public:
  // oldKeys: every key the new one replaced, those of the window and one
  // standing at the key's own time.
  CmdHistSetItemKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key, KeyRecords oldKeys);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  TimeRange window_;
  KeyRecord key_;
  KeyRecords oldKeys_;
};

}  // namespace lwp::cks
