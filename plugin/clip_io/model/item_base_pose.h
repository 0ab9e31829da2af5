// An item's base pose as the clip carries it: pivot position and rotation
// at time 0, and for a bone its rest position and rotation.
#pragma once

#include "../../common/items/item_kind.h"
#include "anim_clip.h"

namespace lwp::akio {

struct ItemBasePose {
  Vector3 pivotPos{};
  Vector3 pivotRot{};
  Vector3 restPos{};  // zero unless a bone
  Vector3 restRot{};
};

ItemBasePose itemBasePose(LWItemID item, ItemKind kind);

}  // namespace lwp::akio
