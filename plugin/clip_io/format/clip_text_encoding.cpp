#include "clip_text_encoding.h"

#include <cstdio>
#include <limits>
#include <optional>

#include "../../platform/text/code_page_932.h"
#include "../../platform/text/utf8_text.h"

namespace lwp::akio {

namespace {

// XML 1.0 carries no other control character, not even as a reference.
bool isXmlCharacter(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c != 0xFFFE && c != 0xFFFF;
}

void appendReference(std::string &out, char32_t c) {
  char reference[16];
  const int length = std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
  out.append(reference, static_cast<std::size_t>(length));
}

// Code page 932 bytes with the few ASCII characters an attribute cannot hold
// as they are escaped. None of them is below 0x40, so none is ever the trail
// byte of a double-byte character.
void appendEscaped(std::string &out, std::string_view bytes) {
  for (const char c : bytes) {
    switch (c) {
      case '"':
        out += "&quot;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '\t':
      case '\n':
      case '\r':
        appendReference(out, static_cast<unsigned char>(c));
        break;
      default:
        out += c;
    }
  }
}

// Character by character, for a text that does not convert as a whole.
void appendEachCharacter(std::string &out, std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const platform::Utf8Character character = *platform::firstUtf8Character(text.substr(at));
    const std::string_view utf8 = text.substr(at, character.length);
    if (const std::optional<std::string> bytes =
            platform::codePage932FromUtf8(utf8, std::numeric_limits<std::size_t>::max()))
      appendEscaped(out, *bytes);
    else
      appendReference(out, character.codePoint);
    at += character.length;
  }
}

}  // namespace

bool isWritableText(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<platform::Utf8Character> character = platform::firstUtf8Character(text.substr(at));
    if (!character || !isXmlCharacter(character->codePoint)) return false;
    at += character->length;
  }
  return true;
}

void appendAttributeText(std::string &out, std::string_view text) {
  if (platform::isAsciiText(text)) {
    appendEscaped(out, text);
  } else if (const std::optional<std::string> bytes =
                 platform::codePage932FromUtf8(text, std::numeric_limits<std::size_t>::max())) {
    appendEscaped(out, *bytes);
  } else {
    appendEachCharacter(out, text);
  }
}

}  // namespace lwp::akio
