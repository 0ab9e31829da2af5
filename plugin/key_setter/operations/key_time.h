// The key setter's frames as scene time: seconds per frame, the current
// time, the window a key of a frame occupies and the span of a frame range.
#pragma once

#include "../../common/channels/key_records.h"

namespace lwp::cks {

// Half the width of a key window, in frames.
inline constexpr double kKeyWindowHalfFrames = 0.005;

// 1 / the scene's frame rate. Throws std::runtime_error when the host gives
// no scene info or a frame rate that is not positive: no time could be
// computed from it.
double secondsPerFrame();

// The current time in seconds. Throws std::runtime_error without time info.
double currentTime();

// The frame taken to the nearest hundredth, widened by half a hundredth on
// both sides, so that a key typed with a small error is still found.
TimeRange keyWindow(double frame, double spf);

// From the start of frame `from` to the end of frame `to`: the last frame is
// covered whole.
TimeRange frameRange(int from, int to, double spf);

}  // namespace lwp::cks
