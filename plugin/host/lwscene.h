/* "LW Scene Info 12" and "LW Time Info": snapshots of the scene's settings
   and current time, looked up again right before use. */
#ifndef LWHOST_LWSCENE_H
#define LWHOST_LWSCENE_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The record as far as the module reads it; the host's goes on beyond. */
typedef struct st_LWSceneInfo {
  LWCStringUTF8 name;
  LWCStringUTF8 filename;
  int numPoints;
  int numPolygons;
  int renderType;
  int renderOpts;
  LWFrame frameStart; /* render range */
  LWFrame frameEnd;
  LWFrame frameStep;
  double framesPerSecond;
  int frameWidth;
  int frameHeight;
} LWSceneInfo;

typedef struct st_LWTimeInfo {
  LWTime time;
  LWFrame frame;
} LWTimeInfo;

#ifdef __cplusplus
}
#endif

#endif
