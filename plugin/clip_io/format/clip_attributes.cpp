#include "clip_attributes.h"

#include <climits>

#include "../../common/text/decimal_prefix.h"
#include "../../platform/text/utf8_text.h"

namespace lwp::akio {

namespace {

bool isModuleText(const std::string &value) {
  return value.size() <= kAttributeTextLimit && platform::isValidUtf8(value);
}

}  // namespace

std::string attributeText(const std::optional<std::string> &value, const std::string &fallback) {
  return value && isModuleText(*value) ? *value : fallback;
}

double attributeNumber(const std::optional<std::string> &value, double fallback) {
  return value && isModuleText(*value) ? decimalNumber(value->c_str()) : fallback;
}

double decimalNumber(const char *text) { return decimalPrefix(text); }

int decimalInteger(const char *text) {
  const long value = integerPrefix(text);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace lwp::akio
