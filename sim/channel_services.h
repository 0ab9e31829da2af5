// "Channel Info 3" and "Animation Envelopes 4" over the current host's
// channel tree. Handles are checked before use; a dead or foreign handle
// answers 0 and changes nothing.
#pragma once

#include "../plugin/host/lwchannel.h"
#include "../plugin/host/lwenvelope.h"

namespace lwsim {

LWChannelInfo *channelInfoRecord();
LWEnvelopeFuncs *envelopeFuncsRecord();

}  // namespace lwsim
