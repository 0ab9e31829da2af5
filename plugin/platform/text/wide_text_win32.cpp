#include "wide_text_win32.h"

#include <windows.h>

#include <climits>

namespace lwp::platform {

namespace {

std::optional<std::wstring> toWide(std::string_view bytes, unsigned codePage, DWORD flags) {
  if (bytes.empty()) return std::wstring();
  if (bytes.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), needed) != needed) return std::nullopt;
  return wide;
}

// text in codePage with these flags and this default character (null for
// the code page's own); usedDefault, when given, tells whether the default
// character stood in for one that has no form there.
std::optional<std::string> fromWide(std::wstring_view text, unsigned codePage, DWORD flags,
                                    const char *defaultCharacter, BOOL *usedDefault) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, defaultCharacter, usedDefault);
  if (needed <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), needed, defaultCharacter, usedDefault) !=
      needed)
    return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::wstring> wideFromCodePage(std::string_view bytes, unsigned codePage) {
  return toWide(bytes, codePage, MB_ERR_INVALID_CHARS);
}

std::wstring wideForDisplay(std::string_view bytes, unsigned codePage) {
  return toWide(bytes, codePage, 0).value_or(std::wstring());
}

std::optional<std::string> codePageFromWide(std::wstring_view text, unsigned codePage) {
  // UTF-8 takes neither the best-fit flag nor the default-character report;
  // it refuses an unpaired surrogate instead.
  const bool utf8 = codePage == CP_UTF8;
  BOOL usedDefault = FALSE;
  std::optional<std::string> bytes = fromWide(text, codePage, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                              nullptr, utf8 ? nullptr : &usedDefault);
  if (usedDefault) return std::nullopt;
  return bytes;
}

std::string narrowForDisplay(std::wstring_view text, unsigned codePage) {
  // UTF-8 shows an unpaired surrogate as U+FFFD and takes no default.
  if (codePage == CP_UTF8) return fromWide(text, codePage, 0, nullptr, nullptr).value_or(std::string());
  return fromWide(text, codePage, WC_NO_BEST_FIT_CHARS, "?", nullptr).value_or(std::string());
}

}  // namespace lwp::platform
