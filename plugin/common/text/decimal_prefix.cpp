#include "decimal_prefix.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "../../platform/text/c_numeric_locale.h"

namespace lwp {

namespace {

// An optional '-', then a digit (or, for a fraction, a point).
bool startsPlainNumber(const char *text, bool pointAllowed) {
  const char c = *text == '-' ? text[1] : *text;
  return (c >= '0' && c <= '9') || (pointAllowed && c == '.');
}

// from_chars stops at the 'x' of "0x1p3", which strtod reads whole.
bool stoppedAtHexMark(const char *end) { return *end == 'x' || *end == 'X'; }

}  // namespace

double decimalPrefix(const char *text) {
  if (startsPlainNumber(text, true)) {
    double value = 0.0;
    const auto read = std::from_chars(text, text + std::strlen(text), value);
    if (read.ec == std::errc() && !stoppedAtHexMark(read.ptr)) return value;
  }
  const platform::CNumericLocale numericLocale;
  return std::strtod(text, nullptr);
}

long integerPrefix(const char *text) {
  if (startsPlainNumber(text, false)) {
    long value = 0;
    const auto read = std::from_chars(text, text + std::strlen(text), value);
    if (read.ec == std::errc()) return value;
  }
  const platform::CNumericLocale numericLocale;
  return std::strtol(text, nullptr, 10);
}

}  // namespace lwp
