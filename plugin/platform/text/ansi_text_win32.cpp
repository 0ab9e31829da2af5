#include <windows.h>

#include "ansi_text.h"
#include "code_page_932.h"
#include "wide_text_win32.h"

namespace lwp::platform {

// GetACP() rather than CP_ACP: a system set to UTF-8 answers CP_UTF8, which
// takes other conversion flags.
std::optional<std::string> ansiFromUtf8(std::string_view utf8) {
  if (isAsciiText(utf8)) return std::string(utf8);
  const std::optional<std::wstring> wide = wideFromCodePage(utf8, CP_UTF8);
  if (!wide) return std::nullopt;
  return codePageFromWide(*wide, GetACP());
}

std::string ansiForDisplay(std::string_view utf8) {
  if (isAsciiText(utf8)) return std::string(utf8);
  const unsigned codePage = GetACP();
  std::wstring wide = wideForDisplay(utf8, CP_UTF8);
  if (codePage != CP_UTF8) {
    // A character beyond U+FFFF is two UTF-16 units; no ANSI code page holds
    // one, and it shows as one "?", not two.
    std::wstring single;
    single.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
      const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
      single += pair ? L'?' : wide[i];
      if (pair) ++i;
    }
    wide.swap(single);
  }
  return narrowForDisplay(wide, codePage);
}

}  // namespace lwp::platform
