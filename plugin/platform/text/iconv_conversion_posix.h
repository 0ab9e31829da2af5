// Whole-text conversions between two encodings through iconv, for the POSIX
// backends. A conversion never substitutes or drops a character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// text, in the encoding named from, as bytes of the encoding named to;
// nothing when either name is unknown, text is not valid in from, or a
// character has no form in to.
std::optional<std::string> convertWithIconv(std::string_view text, const char *from, const char *to);

}  // namespace lwp::platform
