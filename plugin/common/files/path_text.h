// Small text operations on paths and names.
#pragma once

#include <string>

namespace lwp {

// The characters that separate the parts of a path, on either system.
inline constexpr const char *kSeparators = "\\/";

// The path without its trailing backslashes and slashes. A path made only of
// separators comes back unchanged.
std::string stripTrailingSeparators(const std::string &path);

// Every occurrence of `search` replaced, scanning on after each inserted
// replacement, so replaced text is never scanned again. Byte for byte.
std::string replaceAll(const std::string &text, const std::string &search, const std::string &replacement);

}  // namespace lwp
