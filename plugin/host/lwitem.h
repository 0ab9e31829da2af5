/* "LW Item Info 9": the scene's items and their parameters. */
#ifndef LWHOST_LWITEM_H
#define LWHOST_LWITEM_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Host item types. */
typedef int LWItemType;
static const int LWI_OBJECT = 0;
static const int LWI_LIGHT = 1;
static const int LWI_CAMERA = 2;
static const int LWI_BONE = 3;

/* Item parameters of param(), each three doubles: position, rotation and
   scale relative to the parent, the pivot and the pivot rotation relative to
   the item. "LW Bone Info 7" reads a bone's rest values with the same codes. */
typedef int LWItemParam;
static const int LWIP_POSITION = 1;
static const int LWIP_ROTATION = 5;
static const int LWIP_SCALING = 6;
static const int LWIP_PIVOT = 7;
static const int LWIP_PIVOT_ROT = 12;

/* The record as far as the module reads it; the host's goes on beyond. */
typedef struct st_LWItemInfo {
  /* first(type, object): first item of a type; for bones the first bone of
     object (0 gives none). */
  LWItemID (*first)(LWItemType itemType, LWItemID object);
  LWItemID (*next)(LWItemID item);
  LWItemID (*firstChild)(LWItemID parent);
  LWItemID (*nextChild)(LWItemID parent, LWItemID prevChild);
  LWItemID (*parent)(LWItemID item);
  LWItemID (*target)(LWItemID item);
  LWItemID (*goal)(LWItemID item);
  LWItemType (*type)(LWItemID item);
  LWCStringUTF8 (*name)(LWItemID item);
  void (*param)(LWItemID item, LWItemParam paramId, LWTime time, double *values);
  unsigned int (*limits)(LWItemID item, LWItemParam paramId, LWDVector min, LWDVector max);
  LWCStringUTF8 (*getTag)(LWItemID item, int tag);
  void (*setTag)(LWItemID item, int tag, LWCStringUTF8 text);
  LWChanGroupID (*chanGroup)(LWItemID item);
} LWItemInfo;

#ifdef __cplusplus
}
#endif

#endif
