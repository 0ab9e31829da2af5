// Reads one clip file into an AnimClip.
#pragma once

#include <string>

#include "../model/anim_clip.h"

namespace lwp::akio {

// Result codes the reader writes to the caller's integer.
inline constexpr int kReadStoppedAtFcurve = 0;  // an fcurve had no channel
inline constexpr int kReadAll = 1;              // every clip read
inline constexpr int kBasePoseBit = 2;          // at least one clip had a base pose

// Reads path (UTF-8, as every path) and returns its clips in
// document order. Never throws. resultCode, which the caller sets to 0
// first, is left unchanged when the document did not load, had the wrong
// root or category, or the parser failed; otherwise it receives 0, 1 or
// 1 | kBasePoseBit. Every failure gives an empty clip.
AnimClip readClipFile(const std::string &path, int &resultCode);

// The title of the box that reports a document the reader cannot take.
inline constexpr const char *kReaderErrorTitle = "Debug Window";

}  // namespace lwp::akio
