// Module text as a clip file holds it: the file declares Shift_JIS and is
// written in code page 932, so a name is converted character by character,
// and what code page 932 cannot hold travels as a character reference.
#pragma once

#include <string>
#include <string_view>

namespace lwp::akio {

// Whether text is well-formed UTF-8 of characters an XML document can carry
// (no control character but tab, line feed and carriage return; neither
// U+FFFE nor U+FFFF).
bool isWritableText(std::string_view text);

// Appends writable text as attribute text: code page 932 bytes, with '"',
// '&' and '<' as entities, and tab, line feed, carriage return and every
// character without a code page 932 form as hexadecimal character
// references, so that the text reads back exactly.
void appendAttributeText(std::string &out, std::string_view text);

}  // namespace lwp::akio
