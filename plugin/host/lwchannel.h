/* "Channel Info 3": channel groups and channels. */
#ifndef LWHOST_LWCHANNEL_H
#define LWHOST_LWCHANNEL_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWChannelInfo {
  /* Next subgroup of parent after group (0 starts; parent 0: top level). */
  LWChanGroupID (*nextGroup)(LWChanGroupID parent, LWChanGroupID group);
  /* Next channel of group after channel (0 starts). */
  LWChannelID (*nextChannel)(LWChanGroupID group, LWChannelID channel);
  const char *(*groupName)(LWChanGroupID group);
  const char *(*channelName)(LWChannelID channel);
  LWChanGroupID (*groupParent)(LWChanGroupID group);
  LWChanGroupID (*channelParent)(LWChannelID channel);
  double (*channelEvaluate)(LWChannelID channel, LWTime time);
  LWEnvelopeID (*channelEnvelope)(LWChannelID channel);
} LWChannelInfo;

#ifdef __cplusplus
}
#endif

#endif
