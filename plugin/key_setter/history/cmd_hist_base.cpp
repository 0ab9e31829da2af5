#include "cmd_hist_base.h"

#include "../../common/channels/key_channels.h"
#include "../../common/globals/host_globals.h"

namespace lwp::cks {

bool CmdHistBase::channelHasEnvelope() const { return channelExists(channel_) && envelope() != nullptr; }

LWEnvelopeID CmdHistBase::envelope() const {
  const LWChannelInfo *info = CHostGlobals::instance().channelInfo();
  return info != nullptr ? info->channelEnvelope(channel_) : nullptr;
}

}  // namespace lwp::cks
