#include "code_page_932.h"

#include "iconv_conversion_posix.h"

namespace lwp::platform {

namespace {

constexpr const char *kCodePage932 = "CP932";
constexpr const char *kUtf8 = "UTF-8";

}  // namespace

std::optional<std::string> codePage932FromUtf8(std::string_view utf8, std::size_t maxBytes) {
  if (isAsciiText(utf8)) {
    if (utf8.size() > maxBytes) return std::nullopt;
    return std::string(utf8);
  }
  std::optional<std::string> bytes = convertWithIconv(utf8, kUtf8, kCodePage932);
  if (!bytes || bytes->size() > maxBytes) return std::nullopt;
  // iconv maps some characters to a look-alike (the yen sign to a backslash,
  // the wave dash to the full-width tilde); only a text that reads back as
  // itself has a form of its own.
  if (utf8FromCodePage932(*bytes) != utf8) return std::nullopt;
  return bytes;
}

std::optional<std::string> utf8FromCodePage932(std::string_view bytes) {
  return convertWithIconv(bytes, kCodePage932, kUtf8);
}

}  // namespace lwp::platform
