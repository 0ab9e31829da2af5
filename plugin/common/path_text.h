// Small text operations on paths and names.
#pragma once

#include <string>

namespace lwp {

// The path without its trailing backslashes and slashes. A path made only of
// separators comes back unchanged. A backslash that is the second byte of a
// code page 932 character is part of that character, not a separator.
std::string stripTrailingSeparators(const std::string &path);

// Every occurrence of `search` replaced, scanning on after each inserted
// replacement, so replaced text is never scanned again. Byte for byte.
std::string replaceAll(const std::string &text, const std::string &search, const std::string &replacement);

}  // namespace lwp
