// Conversions between the module's byte texts and the UTF-16 text of the
// Win32 and COM interfaces, for the Win32 backends.
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

// text as bytes of code page codePage, the code page's default character
// standing in for what has no form there: for texts that are only shown.
std::string narrowForDisplay(std::wstring_view text, unsigned codePage);

}  // namespace lwp::platform
