#include "pose_adjust.h"

#include "../model/item_base_pose.h"

namespace lwp::akio {

namespace {

// Sums this close to zero give no usable ratio.
constexpr double kEpsilon = 1e-6;

bool awayFromZero(double value) { return value > kEpsilon || value < -kEpsilon; }

}  // namespace

PoseAdjust computePoseAdjust(const AnimClipItem &clipItem, LWItemID item, ItemKind kind, int adjustScale,
                             int adjustBasePose) {
  PoseAdjust adjust;
  const ItemBasePose pose = itemBasePose(item, kind);
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if (adjustScale != 0) {
      const double numerator = pose.pivotPos[axis] + pose.restPos[axis];
      const double denominator = clipItem.pivotPos[axis] + clipItem.restPos[axis];
      if (awayFromZero(numerator) && awayFromZero(denominator)) adjust.scale[axis] = numerator / denominator;
    }
    if (adjustBasePose != 0) {
      adjust.rotOffset[axis] =
          (pose.pivotRot[axis] - clipItem.pivotRot[axis]) + (pose.restRot[axis] - clipItem.restRot[axis]);
    }
  }
  return adjust;
}

}  // namespace lwp::akio
