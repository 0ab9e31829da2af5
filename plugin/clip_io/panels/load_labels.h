// Labels, messages and popup lists of the clip load panel.
#pragma once

#include "../../common/panels/label_unit.h"

namespace lwp::akio {

enum LoadLabel {
  kLoadInfo = 0,
  kLoadPath = 1,
  kLoadFileOpen = 2,
  kLoadDirOpen = 3,
  kLoadFileStart = 4,
  kLoadFileEnd = 5,
  kLoadFps = 6,
  kLoadAdjustBasePose = 7,
  kLoadAdjustScale = 8,
  kLoadTargetItems = 9,
  kLoadNull = 10,
  kLoadMesh = 11,
  kLoadBone = 12,
  kLoadLight = 13,
  kLoadCamera = 14,
  kLoadPosition = 15,
  kLoadRotation = 16,
  kLoadScale = 17,
  kLoadMorph = 18,
  kLoadMisc = 19,
  kLoadSchemaPosition = 20,
  kLoadPreviewRange = 21,
  kLoadRenderRange = 22,
  kLoadRange = 23,
  kLoadRangeStart = 24,
  kLoadRangeEnd = 25,
  kLoadInsertPosition = 26,
  kLoadInsertFrame = 27,
  kLoadDestinationKey = 28,
  kLoadDeleteStart = 29,
  kLoadDeleteEnd = 30,
  kLoadCheckFullPath = 31,
  kLoadNameConvert = 33,
  kLoadNamePrefix = 34,
  kLoadNameSuffix = 35,
  kLoadReplaceFrom = 36,
  kLoadReplaceTo = 37,
  kLoadRegexPattern = 38,
  kLoadRegexReplace = 39,
  kLoadBorder = 40,
  kLoadButton = 41,
  kLoadLabelCount = 42
};

enum LoadMessage {
  kMsgFailedToLoad,
  kMsgBadNamePattern,
  kMsgSkippedKeys,
  kMsgRefusedKeys,
  kMsgFilesNotLoaded,
  kMsgNoItemMatched,
  kLoadMessageCount
};

// The first line of a failed directory load's box, whatever the language.
inline constexpr const char *kDirLoadFailedLine = "失敗しました !";

// Choice lists, in the unit's order.
enum LoadChoiceList { kLoadTargetList, kLoadNameConvertList, kLoadDeletionList };

LabelUnit &loadLabels();

}  // namespace lwp::akio
