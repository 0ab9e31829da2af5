// The text of the key-setter panel's frame field: the current frame as it
// is shown, the typing keys of the panel and the whole-frame steps.
#pragma once

#include <optional>
#include <string>

namespace lwp::cks {

// "%.2f" of the frame without a trailing ".00": frame 12 reads "12", frame
// 12.5 reads "12.50".
std::string frameText(double frame);

// The text's number, read as the "C" locale reads it; none unless the whole
// text, blanks aside, is one number (an empty field, "-", "12x"). A run
// refuses both none and a number that is not finite.
std::optional<double> frameNumber(const std::string &text);

// Applies a typing key to the typed text: a digit is appended, '-' only to
// an empty text, '.' only to a text without one, and either backspace key
// removes the last character. False for any other key, the text unchanged.
bool typeFrameKey(std::string &typed, int key);

// The integer part of the text's number plus delta, as a whole number; a
// text without a finite number steps from 0.
std::string steppedFrameText(const std::string &text, int delta);

}  // namespace lwp::cks
