// Conversions between byte texts (the module's UTF-8, code page 932, the
// ANSI code page) and the UTF-16 text of the Win32 and COM interfaces, for
// the Win32 backends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// bytes, in code page codePage, as UTF-16; nothing when they are not valid
// there.
std::optional<std::wstring> wideFromCodePage(std::string_view bytes, unsigned codePage);

// text as bytes of code page codePage; nothing when a character has no form
// of its own there (no best-fit look-alike and no default character stands
// in for it) or text is not valid UTF-16.
std::optional<std::string> codePageFromWide(std::wstring_view text, unsigned codePage);

// As wideFromCodePage, with U+FFFD for what does not convert: for texts that
// are only shown.
std::wstring wideForDisplay(std::string_view bytes, unsigned codePage);

// text as bytes of code page codePage, "?" standing in for what has no form
// of its own there (U+FFFD for an unpaired surrogate in UTF-8): for texts
// that are only shown.
std::string narrowForDisplay(std::wstring_view text, unsigned codePage);

}  // namespace lwp::platform
