#include <windows.h>

#include "code_page_932.h"
#include "wide_text_win32.h"

namespace lwp::platform {

namespace {

constexpr unsigned kCodePage932 = 932;

}  // namespace

std::optional<std::string> codePage932FromUtf8(std::string_view utf8, std::size_t maxBytes) {
  std::optional<std::string> bytes;
  if (isAsciiText(utf8)) {
    bytes = std::string(utf8);
  } else if (const std::optional<std::wstring> wide = wideFromCodePage(utf8, CP_UTF8)) {
    bytes = codePageFromWide(*wide, kCodePage932);
  }
  if (!bytes || bytes->size() > maxBytes) return std::nullopt;
  return bytes;
}

std::optional<std::string> utf8FromCodePage932(std::string_view bytes) {
  if (isAsciiText(bytes)) return std::string(bytes);
  const std::optional<std::wstring> wide = wideFromCodePage(bytes, kCodePage932);
  if (!wide) return std::nullopt;
  return codePageFromWide(*wide, CP_UTF8);
}

}  // namespace lwp::platform
