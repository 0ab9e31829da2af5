#include "cmd_hist_del_keys.h"

#include "history_keys.h"

namespace lwp::cks {

CmdHistDelKeys::CmdHistDelKeys(LWChannelID channel, const TimeRange &range) : CmdHistBase(channel), range_(range) {}

bool CmdHistDelKeys::check() { return channelHasEnvelope() && hasSpan(range_); }

void CmdHistDelKeys::doIt() { saved_ = takeKeys(envelope(), range_); }

void CmdHistDelKeys::redoIt() { deleteKeysInRange(envelope(), range_); }

void CmdHistDelKeys::undoIt() { replaceKeys(envelope(), range_, saved_); }

}  // namespace lwp::cks
