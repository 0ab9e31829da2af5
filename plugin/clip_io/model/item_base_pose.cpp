#include "item_base_pose.h"

#include "../../common/globals/clip_globals.h"

namespace lwp::akio {

namespace {

Vector3 itemParam(LWItemID item, int param) {
  Vector3 value{};
  if (const LWItemInfo *items = CClipGlobals::instance().itemInfo()) items->param(item, param, 0.0, value.data());
  return value;
}

Vector3 restParam(LWItemID bone, int param) {
  Vector3 value{};
  if (const LWBoneInfo *bones = CClipGlobals::instance().boneInfo()) bones->restParam(bone, param, value.data());
  return value;
}

}  // namespace

ItemBasePose itemBasePose(LWItemID item, ItemKind kind) {
  ItemBasePose pose;
  pose.pivotPos = itemParam(item, LWIP_PIVOT);
  pose.pivotRot = itemParam(item, LWIP_PIVOT_ROT);
  if (kind == kKindBone) {
    pose.restPos = restParam(item, LWIP_POSITION);
    pose.restRot = restParam(item, LWIP_ROTATION);
  }
  return pose;
}

}  // namespace lwp::akio
