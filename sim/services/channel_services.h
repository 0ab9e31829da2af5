// "Channel Info 3" and "Animation Envelopes 4" over the current host's
// channel tree. Handles are checked before use; a dead or foreign handle
// answers 0 and changes nothing.
#pragma once

#include <cstddef>

#include "../../plugin/host/lwchannel.h"
#include "../../plugin/host/lwenvelope.h"

namespace lwsim {

LWChannelInfo *channelInfoRecord();
LWEnvelopeFuncs *envelopeFuncsRecord();

// How often the walking functions of "Channel Info 3" were called in this
// process, so that tests can tell how often the module walked the scene.
struct ChannelWalkCalls {
  std::size_t nextGroup = 0;
  std::size_t nextChannel = 0;
};
ChannelWalkCalls &channelWalkCalls();

}  // namespace lwsim
