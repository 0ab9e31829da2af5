#include "text_format.h"

#include <cstdio>
#include <vector>

#include "../../platform/text/c_numeric_locale.h"

namespace lwp {

bool vformatInto(char *buffer, std::size_t size, const char *format, va_list args) {
  if (size == 0) return false;
  const platform::CNumericLocale numericLocale;
  const int length = std::vsnprintf(buffer, size, format, args);
  if (length < 0 || static_cast<std::size_t>(length) >= size) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

bool formatInto(char *buffer, std::size_t size, const char *format, ...) {
  va_list args;
  va_start(args, format);
  const bool fit = vformatInto(buffer, size, format, args);
  va_end(args);
  return fit;
}

std::string vformatBounded(const char *format, va_list args) {
  char buffer[kBoundedBufferSize];
  vformatInto(buffer, sizeof buffer, format, args);
  return buffer;
}

std::string formatBounded(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatBounded(format, args);
  va_end(args);
  return text;
}

std::string vformatGrowing(const char *format, va_list args) {
  static std::vector<char> buffer(256);
  const platform::CNumericLocale numericLocale;
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return {};
  if (buffer.size() <= static_cast<std::size_t>(length)) buffer.resize(static_cast<std::size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string formatGrowing(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatGrowing(format, args);
  va_end(args);
  return text;
}

}  // namespace lwp
