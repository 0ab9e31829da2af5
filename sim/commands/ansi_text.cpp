#include "ansi_text.h"

#if defined(_WIN32)
#include <windows.h>

#include <climits>
#endif

namespace lwsim {

#if defined(_WIN32)

std::string utf8FromAnsi(const std::string &line) {
  if (line.empty() || line.size() > INT_MAX) return line;
  const int length = static_cast<int>(line.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, line.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, line.data(), length, wide.data(), units);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

#else

std::string utf8FromAnsi(const std::string &line) { return line; }

#endif

}  // namespace lwsim
