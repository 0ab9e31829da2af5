// The clip save: captures the chosen items' animation over a frame range and
// writes it as a clip file, reporting on the status line and in dialogs.
#pragma once

#include "../../common/items/item_walk.h"
#include "../model/anim_fn.h"
#include "../panels/clip_options.h"

namespace lwp::akio {

// The whole save. Restores the selection it found, also when the file
// cannot be written, which throws lw::ex::CFileReadWriteEx.
void saveClip(const ZaduDuzAVOptions &options);

// The items the "Target Items" choice names; shared with the load.
ItemList collectTargetItems(const ZaduDuzAVOptions &options);

// Every target item of an enabled kind, then the scene entry when a range
// switch is on.
AnimClip captureClip(const ZaduDuzAVOptions &options, const ItemList &targets);
void captureItem(const ZaduDuzAVOptions &options, AnimClip &clip, const CLWAnimFn &transfer, LWItemID item);
// The schematic position, when asked for, then the enabled groups' channels.
void captureChannels(const ZaduDuzAVOptions &options, std::vector<AnimClipChannel> &channels, const CLWAnimFn &transfer,
                     LWItemID item);

}  // namespace lwp::akio
