// The module's text is UTF-8, as the host gives it. These read it character
// by character, for the places that must not cut or misread a character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// One character decoded from the front of a text.
struct Utf8Character {
  char32_t codePoint;
  std::size_t length;  // its bytes, 1 to 4
};

// The character text starts with; nothing when text is empty or does not
// start with a well-formed UTF-8 sequence (overlong forms, surrogates and
// code points above U+10FFFF are not).
std::optional<Utf8Character> firstUtf8Character(std::string_view text);

// Whether text is well-formed UTF-8 throughout.
bool isValidUtf8(std::string_view text);

// The longest front part of text of at most maxBytes that ends between two
// characters.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

// text with each control character, and each byte that does not begin or
// continue a well-formed character, replaced by U+FFFD: for texts that are
// only shown.
std::string utf8ForDisplay(std::string_view text);

}  // namespace lwp::platform
