/* "LW Item Info 9": the scene's items and their parameters. */
#ifndef LWHOST_LWITEM_H
#define LWHOST_LWITEM_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Host item types. */
#define LWI_OBJECT 0
#define LWI_LIGHT 1
#define LWI_CAMERA 2
#define LWI_BONE 3
#define LWI_ANY 4

/* Item parameters readable with param(). */
#define LWIP_POSITION 1
#define LWIP_ROTATION 2
#define LWIP_SCALING 3
#define LWIP_PIVOT 4
#define LWIP_PIVOT_ROT 5

typedef struct st_LWItemInfo {
  /* first(type, object): first item of a type; for bones the first bone
     of object (0 gives none). */
  LWItemID (*first)(int itemType, LWItemID object);
  LWItemID (*next)(LWItemID item);
  LWItemID (*firstChild)(LWItemID parent);
  LWItemID (*nextChild)(LWItemID parent, LWItemID prevChild);
  LWItemID (*parent)(LWItemID item);
  int (*type)(LWItemID item);
  const char *(*name)(LWItemID item);
  void (*param)(LWItemID item, int paramId, LWTime time, LWDVector vector);
  LWChanGroupID (*chanGroup)(LWItemID item);
} LWItemInfo;

#ifdef __cplusplus
}
#endif

#endif
