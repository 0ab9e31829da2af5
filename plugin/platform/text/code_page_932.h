// Clip files hold code page 932 text; the module's own text is UTF-8.
// Conversions name code page 932 itself and never touch the process's
// locale, which belongs to the host.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// utf8 as code page 932 bytes of at most maxBytes; nothing when utf8 is not
// valid UTF-8, a character has no code page 932 form of its own (no
// look-alike stands in for it), or the result is longer than maxBytes.
std::optional<std::string> codePage932FromUtf8(std::string_view utf8, std::size_t maxBytes);

// Code page 932 bytes as UTF-8; nothing when they are not valid there.
std::optional<std::string> utf8FromCodePage932(std::string_view bytes);

// Whether text is ASCII alone, which code page 932 and UTF-8 both hold
// unchanged: most texts are, and need no conversion.
inline bool isAsciiText(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace lwp::platform
