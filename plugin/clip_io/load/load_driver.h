// The clip load: reads clip files into the load options, then applies the
// clip to the scene's items, reporting on the status line.
#pragma once

#include <cstddef>

#include "../model/anim_fn.h"
#include "../panels/clip_options.h"
#include "pose_adjust.h"

namespace lwp::akio {

// Replaces the clips with those of the file at options.path; a file that
// yields none throws lw::ex::CFileReadWriteEx after the error line.
void loadClipFile(ZaduDuzAVOptions &options);

// Replaces the clips with those of every ".xml" file (any letter case) in
// the directory options.path; files that yield nothing are reported, passed
// over and named together in an error box after the last file. Throws
// lw::ex::CBaseEx when nothing at all was read.
void loadClipDir(ZaduDuzAVOptions &options);

// The frames the loaded clips cover, at the scene's frame rate, held within
// the range of a frame number.
void computeFileRange(ZaduDuzAVOptions &options);

// The "Load" action: every clip item onto its matching target item, then
// the selection found before. Keys whose time or value is not finite are
// passed over and counted on the status line, as is a clip none of whose
// items matched. Throws lw::ex::CBaseEx with nothing loaded, with a load
// range whose start lies after its end or with a name pattern that does not
// compile, before anything changes.
void applyClip(const ZaduDuzAVOptions &options);

// Writes the keys of the enabled channel groups that have a counterpart on
// the item, and its schematic position when asked for; the keys passed over
// for a time or value that is not finite, and those the host refused.
KeyWriteCount applyChannels(const ZaduDuzAVOptions &options, LWItemID item, const CLWAnimFn &transfer,
                            const std::vector<AnimClipChannel> &channels, const PoseAdjust &adjust);

}  // namespace lwp::akio
