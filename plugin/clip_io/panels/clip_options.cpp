#include "clip_options.h"

namespace lwp::akio {

void ZaduDuzAVOptions::clearClip() {
  clips.clear();
  path.clear();
  fileFirstFrame = 0;
  fileLastFrame = 0;
  hasBasePose = false;
}

ZaduDuzAVOptions saveDefaults() { return ZaduDuzAVOptions{}; }

// A load converts left-side names to right-side ones unless told otherwise,
// and replaces every key of the items it drives.
ZaduDuzAVOptions loadDefaults() {
  ZaduDuzAVOptions options;
  options.destKeyMode = kDeleteAll;
  options.deleteEnd = 120;
  options.checkFullPath = 1;
  options.replaceFrom = "_L_";
  options.replaceTo = "_R_";
  options.regexPattern = "(.*)_L(.*)";
  options.regexReplace = "$1_R$2";
  return options;
}

}  // namespace lwp::akio
