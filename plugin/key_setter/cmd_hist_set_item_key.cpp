#include "cmd_hist_set_item_key.h"

#include "history_keys.h"

namespace lwp::cks {

CmdHistSetItemKey::CmdHistSetItemKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key,
                                     const std::optional<KeyRecord> &oldKey)
    : CmdHistBase(channel), window_(window), key_(key), oldKey_(oldKey) {}

bool CmdHistSetItemKey::check() { return channelHasEnvelope() && hasSpan(window_); }

// The key is already in the envelope.
void CmdHistSetItemKey::doIt() {}

void CmdHistSetItemKey::redoIt() { replaceKeys(envelope(), window_, {key_}); }

void CmdHistSetItemKey::undoIt() {
  const LWEnvelopeID target = envelope();
  deleteKeysInRange(target, window_);
  if (oldKey_) writeKey(target, *oldKey_);
}

}  // namespace lwp::cks
