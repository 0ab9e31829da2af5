// "LW Item Info 9", "LW Object Info 14", "LW Bone Info 7", "LW Camera Info 10"
// and "Scene Objects 9" over the current host's scene. Item ids are the
// items' host ids; an id the scene does not know answers null, zeros or,
// for its type, -1.
#pragma once

#include "../../plugin/host/lwitem.h"
#include "../../plugin/host/lwobjects.h"

namespace lwsim {

LWItemInfo *itemInfoRecord();
LWObjectInfo *objectInfoRecord();
LWBoneInfo *boneInfoRecord();
LWCameraInfo *cameraInfoRecord();
LWObjectFuncs *sceneObjectsRecord();

}  // namespace lwsim
