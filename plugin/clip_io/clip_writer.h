// Writes an animation clip as a clip file, in the fixed textual layout that
// every clip reader expects.
#pragma once

#include <string>

#include "anim_clip.h"

namespace lwp::akio {

// Writes every item of clip to fileName; an empty clip writes nothing. A
// file that cannot be created or completely written shows an error line and
// throws lw::ex::CFileReadWriteEx; an existing file is then left as it was.
void writeClipFile(const AnimClip &clip, const std::string &fileName);

// Appends text with '"', '&' and '<' as XML entities, so that every name
// reads back as it was written; other bytes are copied unchanged.
void appendAttributeText(std::string &out, const std::string &text);

}  // namespace lwp::akio
