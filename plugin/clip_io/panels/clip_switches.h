// The clip panels' kind and channel-group switches, as both drivers read
// them.
#pragma once

#include "../../common/items/item_kind.h"
#include "clip_options.h"

namespace lwp::akio {

// Null, Mesh, Bone, Light and Camera each have a switch; other kinds are
// never taken.
bool kindEnabled(const ZaduDuzAVOptions &options, ItemKind kind);

// Position, Rotation, Scale, Morph; every other group is Misc.
bool groupEnabled(const ZaduDuzAVOptions &options, int group);

}  // namespace lwp::akio
