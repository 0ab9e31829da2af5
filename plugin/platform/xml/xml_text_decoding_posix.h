// Turns the bytes of an XML document into UTF-8 for the POSIX parser, as
// the platform's own parser would read them: a byte-order mark or the
// pattern of a leading "<" picks UTF-8 or UTF-16, otherwise the declared
// encoding is used, UTF-8 when none is declared.
#pragma once

#include <string>
#include <string_view>

namespace lwp::platform {

// The document as UTF-8 without a byte-order mark in utf8; false with the
// reason in problem when it cannot be decoded. Bytes that need no
// conversion (UTF-8, or ASCII alone under a Shift_JIS declaration, the
// usual clip file) are taken over, not copied.
bool decodeXmlText(std::string bytes, std::string &utf8, std::string &problem);

// The encoding name in an XML declaration at the start of text, which must
// be in an encoding where ASCII characters are single bytes; empty when
// there is no declaration or it names no encoding.
std::string declaredEncoding(std::string_view text);

// Whether name is one of the names of Shift_JIS, read as code page 932
// (letter case ignored).
bool namesShiftJis(const std::string &name);

}  // namespace lwp::platform
