#include "cmd_hist_set_key.h"

#include "../operations/shape_override.h"
#include "history_keys.h"

namespace lwp::cks {

CmdHistSetKey::CmdHistSetKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key)
    : CmdHistBase(channel), window_(window), key_(key) {}

bool CmdHistSetKey::check() { return channelHasEnvelope() && hasSpan(window_); }

void CmdHistSetKey::doIt() {
  const LWEnvelopeID target = envelope();
  saved_ = takeKeys(target, window_);
  // Settle the shape now, so that a redo writes the very same key.
  if (keepsOwnShape(key_)) key_ = withShapeOf(key_, saved_.empty() ? KeyRecord{} : saved_.front());
  writeKey(target, key_);
}

void CmdHistSetKey::redoIt() { replaceKeys(envelope(), window_, {key_}); }

void CmdHistSetKey::undoIt() { replaceKeys(envelope(), window_, saved_); }

}  // namespace lwp::cks
