/* "LW Interface Info 8": a snapshot of Layout's interface state. The host
   hands out a new snapshot at each lookup, so it is looked up right before
   use. */
#ifndef LWHOST_LWINTERFACE_H
#define LWHOST_LWINTERFACE_H

#include <stddef.h>

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWInterfaceInfo {
  LWTime curTime;
  const LWItemID *selItems; /* ends with 0 */
  LWFrame previewStart;
  LWFrame previewEnd;
  LWFrame previewStep;
  int dynaUpdate;
  void (*schemaPos)(LWItemID item, double *x, double *y);
  unsigned char reserved[60]; /* host state the module never reads */
  /* Nonzero while the host replays commands it has already reported
     (undo, redo, macro playback): such commands are not the user posing. */
  int commandReplay;
} LWInterfaceInfo;

LW_STATIC_ASSERT(offsetof(LWInterfaceInfo, curTime) == 0, "curTime at 0");
LW_STATIC_ASSERT(offsetof(LWInterfaceInfo, selItems) == 8, "selItems at 8");
LW_STATIC_ASSERT(offsetof(LWInterfaceInfo, commandReplay) == 100, "the flag the master reads sits at byte 100");

#ifdef __cplusplus
}
#endif

#endif
