// The settings of a clip panel, read by the save and load drivers. Each
// panel keeps one for the life of the module.
#pragma once

#include <string>

#include "../model/anim_clip.h"

namespace lwp::akio {

// The clip panels' "Target Items" popup.
enum ClipTargets : int { kTargetsNone = 0, kTargetsSelection = 1, kTargetsWithChildren = 2, kTargetsAll = 3 };

// "Destination Item Key" of the load panel.
enum DestKeyMode : int { kKeepKeys = 0, kDeleteRange = 1, kDeleteAll = 2 };

// "Name Convert" of the load panel.
enum NameConvertMode : int { kNoConvert = 0, kPrefix = 1, kSuffix = 2, kReplace = 3, kRegularExpression = 4 };

struct ZaduDuzAVOptions {
  AnimClip clips;
  bool hasBasePose = false;
  std::string path;
  int fileFirstFrame = 0;
  int fileLastFrame = 0;
  int adjustBasePose = 0;
  int adjustScale = 0;
  int targetItems = kTargetsWithChildren;
  int useNull = 1;
  int useMesh = 1;
  int useBone = 1;
  int useLight = 1;
  int useCamera = 1;
  int usePosition = 1;
  int useRotation = 1;
  int useScale = 1;
  int useMorph = 1;
  int useMisc = 1;
  int useSchemaPosition = 0;
  int usePreviewRange = 0;
  int useRenderRange = 0;
  int useLoadRange = 0;
  int rangeStart = 1;
  int rangeEnd = 100;
  int useInsertPosition = 0;
  int insertFrame = 0;
  int destKeyMode = kKeepKeys;
  int deleteStart = 0;
  int deleteEnd = 0;
  int checkFullPath = 0;
  int nameConvertMode = kNoConvert;
  std::string namePrefix;
  std::string nameSuffix;
  std::string replaceFrom;
  std::string replaceTo;
  std::string regexPattern;
  std::string regexReplace;

  // Drops the loaded clip and everything that describes it.
  void clearClip();
};

ZaduDuzAVOptions saveDefaults();
ZaduDuzAVOptions loadDefaults();

}  // namespace lwp::akio
