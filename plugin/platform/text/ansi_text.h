// The host's legacy command function takes its line in the system's ANSI
// code page, while the module's text is UTF-8. On POSIX systems the two are
// the same bytes; on Windows the line is converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// utf8 in the ANSI code page; nothing when a character has no form of its
// own there (no look-alike stands in for it) or utf8 is not well-formed.
std::optional<std::string> ansiFromUtf8(std::string_view utf8);

// As ansiFromUtf8, with "?" for each character that has no form there: for
// texts that are only shown.
std::string ansiForDisplay(std::string_view utf8);

}  // namespace lwp::platform
