// Labels and popup lists of the key-setter panel, one slot per control in
// creation order.
#pragma once

#include "../../common/panels/label_unit.h"

namespace lwp::cks {

enum KeySetterLabel {
  kLabelOperation,
  kLabelFold,
  kLabelFrame,
  kLabelFrom,
  kLabelTo,
  kLabelOffset,
  kLabelFactor,
  kLabelDestination,
  kLabelCount,
  kLabelStep,
  kLabelScope,
  kLabelNull,
  kLabelMesh,
  kLabelBone,
  kLabelLight,
  kLabelCamera,
  kLabelPosition,
  kLabelPositionX,
  kLabelPositionY,
  kLabelPositionZ,
  kLabelRotation,
  kLabelRotationH,
  kLabelRotationP,
  kLabelRotationB,
  kLabelScale,
  kLabelScaleX,
  kLabelScaleY,
  kLabelScaleZ,
  kLabelMisc,
  kLabelMorph,
  kLabelDissolve,
  kLabelDissolveZero,
  kLabelDissolveHundred,
  kLabelParameterBorder,
  kLabelKeyShape,
  kLabelShape,
  kLabelTension,
  kLabelContinuity,
  kLabelBias,
  kLabelButtonBorder,
  kLabelOk,
  kLabelCancel,
  kLabelUndo,
  kLabelRedo,
  kLabelBehavior,
  kLabelPre,
  kLabelPost,
  kLabelCopyValues,
  kLabelPasteValues,
  kLabelClipSetBorder,
  kLabelPoseClip,
  kLabelCharacter,
  kLabelClone,
  kLabelClipSet,
  kKeySetterLabelCount
};

// Choice lists, in the unit's order.
enum KeySetterChoiceList { kOperationList, kScopeList, kFoldList, kShapeList, kPreBehaviorList, kPostBehaviorList };

LabelUnit &keySetterLabels();

}  // namespace lwp::cks
