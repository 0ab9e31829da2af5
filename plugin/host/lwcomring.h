/* "LW Communication Ring": synchronous messages between plug-ins by topic. */
#ifndef LWHOST_LWCOMRING_H
#define LWHOST_LWCOMRING_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A listener; runs inside ringMessage and may fill the record it is given. */
typedef void LWRingEvent(void *clientData, void *portData, int eventCode, void *eventData);

typedef struct st_LWComRing {
  int (*ringAttach)(LWCStringASCII topic, LWInstance clientData, LWRingEvent *callback);
  void (*ringDetach)(LWCStringASCII topic, LWInstance clientData);
  void (*ringMessage)(LWCStringASCII topic, int eventCode, void *eventData);
} LWComRing;

#ifdef __cplusplus
}
#endif

#endif
