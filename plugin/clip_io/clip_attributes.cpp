#include "clip_attributes.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "../common/decimal_prefix.h"
#include "../platform/code_page_932.h"

namespace lwp::akio {

std::string attributeText(const std::optional<std::string> &value, const std::string &fallback) {
  if (!value) return fallback;
  std::optional<std::string> text = platform::codePage932FromUtf8(*value, kAttributeTextLimit);
  return text ? std::move(*text) : fallback;
}

double attributeNumber(const std::optional<std::string> &value, double fallback) {
  if (!value) return fallback;
  const std::optional<std::string> text = platform::codePage932FromUtf8(*value, kAttributeTextLimit);
  return text ? decimalNumber(text->c_str()) : fallback;
}

double decimalNumber(const char *text) { return decimalPrefix(text); }

int decimalInteger(const char *text) {
  const long value = integerPrefix(text);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace lwp::akio
