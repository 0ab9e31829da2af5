/* "LW Interface Info 8": a snapshot of Layout's interface state. The host
   hands out a new snapshot at each lookup, so it is looked up right before
   use. */
#ifndef LWHOST_LWINTERFACE_H
#define LWHOST_LWINTERFACE_H

#include "lwitem.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Layout's Auto Key Create mode: while it is not off, Layout keys the items
   the user poses by itself. */
static const int LWAKC_OFF = 0;
static const int LWAKC_MODIFIED = 1;
static const int LWAKC_ALL = 2;
static const int LWAKC_EXISTING = 3;

/* The record as far as the module reads it; the host's goes on beyond. */
typedef struct st_LWInterfaceInfo {
  LWTime curTime;
  const LWItemID *selItems; /* ends with 0 */
  unsigned int (*itemFlags)(LWItemID item);
  LWFrame previewStart;
  LWFrame previewEnd;
  LWFrame previewStep;
  int dynaUpdate;
  void (*schemaPos)(LWItemID item, double *x, double *y);
  int (*itemVis)(LWItemID item);
  unsigned int displayFlags;
  unsigned int generalFlags;
  int boxThreshold;
  int (*itemColor)(LWItemID item);
  void (*setItemColorIndex)(LWItemID item, int color);
  void (*setItemColorCustom)(LWItemID item, double *color);
  int alertLevel;
  int autoKeyCreate; /* an LWAKC_ mode */
} LWInterfaceInfo;

#ifdef __cplusplus
}
#endif

#endif
