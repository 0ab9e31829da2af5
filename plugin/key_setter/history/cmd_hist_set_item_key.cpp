#include "cmd_hist_set_item_key.h"

#include <utility>

#include "history_keys.h"

namespace lwp::cks {

CmdHistSetItemKey::CmdHistSetItemKey(LWChannelID channel, const TimeRange &window, const KeyRecord &key,
                                     KeyRecords oldKeys)
    : CmdHistBase(channel), window_(window), key_(key), oldKeys_(std::move(oldKeys)) {}

bool CmdHistSetItemKey::check() { return channelHasEnvelope() && hasSpan(window_); }

// The key is already in the envelope.
void CmdHistSetItemKey::doIt() {}

void CmdHistSetItemKey::redoIt() { replaceKeys(envelope(), window_, {key_}); }

// A replaced key at the key's own time is written over the new key, should
// it lie just past the window.
void CmdHistSetItemKey::undoIt() { replaceKeys(envelope(), window_, oldKeys_); }

}  // namespace lwp::cks
