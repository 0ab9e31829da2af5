/* Object, bone and camera information, and the scene's vertex maps. Each
   record as far as the module reads it; the host's go on beyond. */
#ifndef LWHOST_LWOBJECTS_H
#define LWHOST_LWOBJECTS_H

#include "lwitem.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "LW Object Info 14" */
typedef struct st_LWObjectInfo {
  /* The file the object was loaded from; null for a null object. */
  LWCStringUTF8 (*filename)(LWItemID object);
} LWObjectInfo;

/* "LW Bone Info 7": restParam takes LWIP_POSITION or LWIP_ROTATION. */
typedef struct st_LWBoneInfo {
  unsigned int (*flags)(LWItemID bone);
  void (*restParam)(LWItemID bone, LWItemParam paramId, LWDVector vector);
} LWBoneInfo;

/* "LW Camera Info 10" */
typedef struct st_LWCameraInfo {
  double (*zoomFactor)(LWItemID camera, LWTime time);
  double (*focalLength)(LWItemID camera, LWTime time);
  double (*focalDistance)(LWItemID camera, LWTime time);
  double (*fStop)(LWItemID camera, LWTime time);
  double (*blurLength)(LWItemID camera, LWTime time);
  void (*fovAngles)(LWItemID camera, LWTime time, double *horizontal, double *vertical);
  unsigned int (*flags)(LWItemID camera);
  void (*resolution)(LWItemID camera, int *width, int *height);
} LWCameraInfo;

/* "Scene Objects 9": the scene's objects as files, and its vertex maps by
   type. */
static const LWID LWVMAP_MORF = 0x4D4F5246; /* 'MORF' */

typedef float LWFVector[3];
typedef struct st_LWMeshInfo LWMeshInfo;

typedef struct st_LWObjectFuncs {
  int (*numObjects)(void);
  LWCStringUTF8 (*filename)(int object);
  int (*maxLayers)(int object);
  int (*layerExists)(int object, int layer);
  void (*pivotPoint)(int object, int layer, LWFVector position);
  LWMeshInfo *(*layerMesh)(int object, int layer);
  int (*numVMaps)(LWID vmapType);
  LWCStringUTF8 (*vmapName)(LWID vmapType, int index);
} LWObjectFuncs;

#ifdef __cplusplus
}
#endif

#endif
