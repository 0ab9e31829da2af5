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

}  // namespace

std::optional<std::wstring> wideFromCodePage(std::string_view bytes, unsigned codePage) {
  return toWide(bytes, codePage, MB_ERR_INVALID_CHARS);
}

std::wstring wideForDisplay(std::string_view bytes, unsigned codePage) {
  return toWide(bytes, codePage, 0).value_or(std::wstring());
}

std::optional<std::string> codePageFromWide(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  // UTF-8 takes neither the best-fit flag nor the default-character report;
  // it refuses an unpaired surrogate instead.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL *reportDefault = utf8 ? nullptr : &usedDefault;
  const int needed = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, reportDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), needed, nullptr, reportDefault) !=
          needed ||
      usedDefault)
    return std::nullopt;
  return bytes;
}

}  // namespace lwp::platform
