// Text decoding and code page 932 conversion. The first byte is a byte
// limit, the rest the text. Checked: UTF-8 reading agrees with itself, every
// conversion that succeeds gives well-formed text that converts back, and a
// writable text written as attribute text into a Shift_JIS document is parsed
// back unchanged.
#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "plugin/clip_io/format/clip_text_encoding.h"
#include "plugin/platform/text/code_page_932.h"
#include "plugin/platform/text/utf8_text.h"
#include "plugin/platform/xml/xml_text_decoding_posix.h"

namespace {

void check(bool holds) {
  if (!holds) std::abort();
}

void checkUtf8(std::string_view text, std::size_t limit) {
  std::string_view rest = text;
  while (const auto character = lwp::platform::firstUtf8Character(rest)) {
    check(character->length >= 1 && character->length <= 4 && character->length <= rest.size());
    rest.remove_prefix(character->length);
  }
  const bool valid = rest.empty();
  check(lwp::platform::isValidUtf8(text) == valid);
  const std::string_view prefix = lwp::platform::utf8Prefix(text, limit);
  check(prefix.size() <= limit && text.substr(0, prefix.size()) == prefix);
  if (valid) {
    check(lwp::platform::isValidUtf8(prefix));
    if (prefix.size() < text.size())
      check(prefix.size() + lwp::platform::firstUtf8Character(text.substr(prefix.size()))->length > limit);
  }
  check(lwp::platform::isValidUtf8(lwp::platform::utf8ForDisplay(text)));
}

void checkCodePage932(std::string_view text, std::size_t limit) {
  if (const auto bytes = lwp::platform::codePage932FromUtf8(text, limit)) {
    check(bytes->size() <= limit && lwp::platform::isValidUtf8(text));
    check(lwp::platform::utf8FromCodePage932(*bytes) == text);
  }
  if (const auto utf8 = lwp::platform::utf8FromCodePage932(text)) check(lwp::platform::isValidUtf8(*utf8));
}

void checkDecoding(std::string_view bytes) {
  std::string utf8;
  std::string problem;
  if (lwp::platform::decodeXmlText(std::string(bytes), utf8, problem)) check(lwp::platform::isValidUtf8(utf8));
  lwp::platform::namesShiftJis(lwp::platform::declaredEncoding(bytes));
}

// As the POSIX document reads a clip file.
void checkAttributeRoundTrip(std::string_view text) {
  if (!lwp::akio::isWritableText(text)) return;
  check(lwp::platform::isValidUtf8(text));
  std::string document = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n<clip name=\"";
  lwp::akio::appendAttributeText(document, text);
  document += "\" />\n";
  std::string utf8;
  std::string problem;
  check(lwp::platform::decodeXmlText(document, utf8, problem));
  pugi::xml_document parsed;
  check(parsed.load_buffer(utf8.data(), utf8.size(), pugi::parse_default | pugi::parse_fragment, pugi::encoding_utf8));
  check(parsed.child("clip").attribute("name").value() == std::string(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t limit = data[0];
  const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
  checkUtf8(text, limit);
  checkCodePage932(text, limit);
  checkCodePage932(text, std::numeric_limits<std::size_t>::max());
  checkDecoding(text);
  checkAttributeRoundTrip(text);
  return 0;
}
