// A transform key that was written before the entry was made (the key
// setter keys the posed transforms itself); the entry can remove it again,
// bringing back the key it replaced, and write it once more.
#pragma once

#include <optional>

#include "../common/key_records.h"
#include "cmd_hist_base.h"

namespace lwp::cks {

class CmdHistSetItemKey final : public CmdHistBase {
 public:
  // oldKey: the key that sat at the new key's time before it, if any.
  CmdHistSetItemKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key,
                    const std::optional<KeyRecord> &oldKey);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  TimeRange window_;
  KeyRecord key_;
  std::optional<KeyRecord> oldKey_;
};

}  // namespace lwp::cks
