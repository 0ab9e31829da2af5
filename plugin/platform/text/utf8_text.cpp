#include "utf8_text.h"

namespace lwp::platform {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

unsigned byteAt(std::string_view text, std::size_t index) { return static_cast<unsigned char>(text[index]); }

bool isContinuation(unsigned byte) { return (byte & 0xC0u) == 0x80u; }

// The length a lead byte announces and the bits it carries; 0 for a byte
// that cannot begin a character.
std::size_t sequenceLength(unsigned lead, char32_t &bits) {
  if (lead < 0x80u) {
    bits = lead;
    return 1;
  }
  if (lead >= 0xC2u && lead <= 0xDFu) {
    bits = lead & 0x1Fu;
    return 2;
  }
  if (lead >= 0xE0u && lead <= 0xEFu) {
    bits = lead & 0x0Fu;
    return 3;
  }
  if (lead >= 0xF0u && lead <= 0xF4u) {
    bits = lead & 0x07u;
    return 4;
  }
  return 0;
}

// The smallest code point each length may carry: anything below is overlong.
constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

std::optional<Utf8Character> firstUtf8Character(std::string_view text) {
  if (text.empty()) return std::nullopt;
  char32_t codePoint = 0;
  const std::size_t length = sequenceLength(byteAt(text, 0), codePoint);
  if (length == 0 || length > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(byteAt(text, i))) return std::nullopt;
    codePoint = (codePoint << 6) | (byteAt(text, i) & 0x3Fu);
  }
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return std::nullopt;
  return Utf8Character{codePoint, length};
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (byteAt(text, at) < 0x80u) {  // most text is ASCII
      ++at;
      continue;
    }
    const std::optional<Utf8Character> character = firstUtf8Character(text.substr(at));
    if (!character) return false;
    at += character->length;
  }
  return true;
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Back over the continuation bytes of the character that would be cut.
  while (end > 0 && isContinuation(byteAt(text, end))) --end;
  return text.substr(0, end);
}

std::string utf8ForDisplay(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<Utf8Character> character = firstUtf8Character(text.substr(at));
    if (character && character->codePoint >= 0x20) {
      shown.append(text, at, character->length);
      at += character->length;
    } else {
      shown += kReplacementCharacter;
      ++at;
    }
  }
  return shown;
}

}  // namespace lwp::platform
