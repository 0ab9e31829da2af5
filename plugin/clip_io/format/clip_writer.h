// Writes an animation clip as a clip file, in the fixed textual layout that
// every clip reader expects.
#pragma once

#include <string>

#include "../model/anim_clip.h"

namespace lwp::akio {

// Writes every item of clip to fileName; an empty clip writes nothing. A
// file that cannot be created or completely written, or an item whose name,
// path or channel names are not well-formed UTF-8 or hold a character no XML
// document can carry, shows an error line and throws
// lw::ex::CFileReadWriteEx; an existing file is then left as it was.
void writeClipFile(const AnimClip &clip, const std::string &fileName);

}  // namespace lwp::akio
