#include "clip_switches.h"

#include "../../common/channels/transform_channels.h"

namespace lwp::akio {

bool kindEnabled(const ZaduDuzAVOptions &options, ItemKind kind) {
  switch (kind) {
    case kKindNull:
      return options.useNull != 0;
    case kKindMesh:
      return options.useMesh != 0;
    case kKindBone:
      return options.useBone != 0;
    case kKindLight:
      return options.useLight != 0;
    case kKindCamera:
      return options.useCamera != 0;
    default:
      return false;
  }
}

bool groupEnabled(const ZaduDuzAVOptions &options, int group) {
  switch (group) {
    case kGroupPosition:
      return options.usePosition != 0;
    case kGroupRotation:
      return options.useRotation != 0;
    case kGroupScale:
      return options.useScale != 0;
    case kGroupMorph:
      return options.useMorph != 0;
    default:
      return options.useMisc != 0;
  }
}

}  // namespace lwp::akio
