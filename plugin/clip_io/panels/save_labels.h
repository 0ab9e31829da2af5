// Labels, messages and popup lists of the clip save panel.
#pragma once

#include "../../common/panels/label_unit.h"

namespace lwp::akio {

enum SaveLabel {
  kSaveTargetItems,
  kSaveNull,
  kSaveMesh,
  kSaveBone,
  kSaveLight,
  kSaveCamera,
  kSavePosition,
  kSaveRotation,
  kSaveScale,
  kSaveMorph,
  kSaveMisc,
  kSaveSchemaPosition,
  kSavePreviewRange,
  kSaveRenderRange,
  kSaveBorder,
  kSaveButton,
  kSaveLabelCount
};

// The save side's messages, shared by the writer and both drivers.
enum SaveMessage {
  kMsgFailedToSave,
  kMsgStartAfterEnd,
  kMsgNoAnimationData,
  kMsgFailedToLoadFile,
  kMsgFailedToSaveFile,
  kSaveMessageCount
};

// Choice lists, in the unit's order.
enum SaveChoiceList { kSaveTargetList };

LabelUnit &saveLabels();

}  // namespace lwp::akio
