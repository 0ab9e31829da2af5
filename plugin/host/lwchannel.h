/* "Channel Info 3": channel groups and channels. */
#ifndef LWHOST_LWCHANNEL_H
#define LWHOST_LWCHANNEL_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Told of changes to a channel; the module sets none. */
typedef int (*LWChanEventFunc)(void *data, LWChannelID channel, int event, void *eventData);

typedef struct st_LWChannelInfo {
  /* Next subgroup of parent after group (0 starts; parent 0: top level). */
  LWChanGroupID (*nextGroup)(LWChanGroupID parent, LWChanGroupID group);
  /* Next channel of group after channel (0 starts). */
  LWChannelID (*nextChannel)(LWChanGroupID group, LWChannelID channel);
  LWCStringUTF8 (*groupName)(LWChanGroupID group);
  LWCStringUTF8 (*channelName)(LWChannelID channel);
  LWChanGroupID (*groupParent)(LWChanGroupID group);
  LWChanGroupID (*channelParent)(LWChannelID channel);
  int (*channelType)(LWChannelID channel);
  double (*channelEvaluate)(LWChannelID channel, LWTime time);
  LWEnvelopeID (*channelEnvelope)(LWChannelID channel);
  int (*setChannelEvent)(LWChannelID channel, LWChanEventFunc event, void *data);
  LWCStringUTF8 (*server)(LWChannelID channel, LWCStringASCII serverClass, int index);
  unsigned int (*serverFlags)(LWChannelID channel, LWCStringASCII serverClass, int index);
  LWInstance (*serverInstance)(LWChannelID channel, LWCStringASCII serverClass, int index);
  int (*serverApply)(LWChannelID channel, LWCStringASCII serverClass, LWCStringUTF8 name, int flags);
  void (*serverRemove)(LWChannelID channel, LWCStringASCII serverClass, LWCStringUTF8 name, LWInstance instance);
} LWChannelInfo;

#ifdef __cplusplus
}
#endif

#endif
