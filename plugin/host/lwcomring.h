/* "LW Communication Ring": synchronous messages between plug-ins by topic. */
#ifndef LWHOST_LWCOMRING_H
#define LWHOST_LWCOMRING_H

#ifdef __cplusplus
extern "C" {
#endif

/* A listener; runs inside ringMessage and may fill the record it is given. */
typedef void LWRingEvent(void *clientData, void *portData, int eventCode, void *eventData);

typedef struct st_LWComRing {
  int (*ringAttach)(const char *topic, void *clientData, LWRingEvent *callback);
  void (*ringDetach)(const char *topic, void *clientData);
  void (*ringMessage)(const char *topic, int eventCode, void *eventData);
} LWComRing;

#ifdef __cplusplus
}
#endif

#endif
