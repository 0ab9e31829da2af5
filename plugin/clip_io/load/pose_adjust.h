// How a clip item's keys are bent to fit a scene item whose base pose or
// size differs from the one the clip was recorded on.
#pragma once

#include "../../common/items/item_kind.h"
#include "../model/anim_clip.h"

namespace lwp::akio {

struct PoseAdjust {
  Vector3 scale{1.0, 1.0, 1.0};  // X Y Z, multiplies position values
  Vector3 rotOffset{};           // H P B, added to rotation values
};

// The scale is the ratio of the item's pivot plus rest position to the
// clip's, per axis, when both lie away from zero; the offset is the
// difference of pivot plus rest rotations. Each only when its switch is on.
PoseAdjust computePoseAdjust(const AnimClipItem &clipItem, LWItemID item, ItemKind kind, int adjustScale,
                             int adjustBasePose);

}  // namespace lwp::akio
