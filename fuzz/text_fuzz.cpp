// Text decoding and code page 932 conversion. The first byte is a byte
// limit (and where a document is cut into two pieces), the rest the text.
// Checked: UTF-8 reading agrees with itself, every conversion that succeeds
// gives well-formed text that converts back, decoding a document does not
// depend on where it is cut, and a writable text written as attribute text
// into a Shift_JIS document is read back unchanged.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/clip_io/format/clip_text_encoding.h"
#include "plugin/platform/text/code_page_932.h"
#include "plugin/platform/text/utf8_text.h"
#include "plugin/platform/xml/xml_reader.h"
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

// The decoded text of bytes given as the pieces before and after cut.
std::optional<std::string> decoded(std::string_view bytes, std::size_t cut) {
  lwp::platform::XmlTextDecoder decoder;
  std::string problem;
  std::string text;
  for (const std::string_view piece : {bytes.substr(0, cut), bytes.substr(cut)}) {
    const auto part = decoder.decode(piece, piece.end() == bytes.end(), problem);
    if (!part) return std::nullopt;
    text.append(*part);
  }
  return text;
}

// Decoding does not depend on where the document is cut into pieces.
void checkDecoding(std::string_view bytes, std::size_t cut) {
  check(decoded(bytes, bytes.size()) == decoded(bytes, std::min(cut, bytes.size())));
  lwp::platform::namesShiftJis(lwp::platform::declaredEncoding(bytes));
}

// Takes the clip element's name attribute.
class NameTaker final : public lwp::platform::XmlVisitor {
 public:
  void begin(std::uintmax_t) override {}
  lwp::platform::XmlStep enter(const lwp::platform::XmlElement &element) override {
    name = element.attribute("name", std::numeric_limits<std::size_t>::max());
    return lwp::platform::XmlStep::Descend;
  }
  void leave() override {}
  std::optional<std::string> name;
};

// A file of this process's own, removed at exit.
struct DocumentFile {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("lwp-fuzz-text-" + std::to_string(getpid()) + ".xml");
  ~DocumentFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

// As the POSIX reader reads a clip file.
void checkAttributeRoundTrip(std::string_view text) {
  if (!lwp::akio::isWritableText(text)) return;
  check(lwp::platform::isValidUtf8(text));
  std::string document = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n<clip name=\"";
  lwp::akio::appendAttributeText(document, text);
  document += "\" />\n";
  static const DocumentFile file;
  std::ofstream(file.path, std::ios::binary | std::ios::trunc) << document;
  NameTaker taker;
  std::string problem;
  check(lwp::platform::readXmlFile(file.path.string(), taker, problem));
  check(taker.name == std::string(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t limit = data[0];
  const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
  checkUtf8(text, limit);
  checkCodePage932(text, limit);
  checkCodePage932(text, std::numeric_limits<std::size_t>::max());
  checkDecoding(text, limit);
  checkAttributeRoundTrip(text);
  return 0;
}
