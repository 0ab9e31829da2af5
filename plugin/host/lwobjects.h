/* Object, bone and camera information, and the scene's vertex maps. */
#ifndef LWHOST_LWOBJECTS_H
#define LWHOST_LWOBJECTS_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "LW Object Info 14" */
typedef struct st_LWObjectInfo {
  /* The file the object was loaded from; null for a null object. */
  const char *(*filename)(LWItemID object);
} LWObjectInfo;

/* "LW Bone Info 7" */
#define LWBONEPARAM_REST_POSITION 1
#define LWBONEPARAM_REST_ROTATION 2

typedef struct st_LWBoneInfo {
  void (*restParam)(LWItemID bone, int paramId, LWDVector vector);
} LWBoneInfo;

/* "LW Camera Info 10" */
typedef struct st_LWCameraInfo {
  double (*zoomFactor)(LWItemID camera, LWTime time);
  void (*resolution)(LWItemID camera, int *width, int *height);
} LWCameraInfo;

/* "Scene Objects 9": vertex maps of the scene, by type. */
#define LWID_(a, b, c, d) \
  ((((unsigned int)(a)) << 24) | (((unsigned int)(b)) << 16) | (((unsigned int)(c)) << 8) | ((unsigned int)(d)))
#define LWVMAP_MORF LWID_('M', 'O', 'R', 'F')

typedef struct st_LWSceneObjects {
  int (*numVMaps)(unsigned int vmapType);
  const char *(*vmapName)(unsigned int vmapType, int index);
} LWSceneObjects;

#ifdef __cplusplus
}
#endif

#endif
