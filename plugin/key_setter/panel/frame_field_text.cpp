#include "frame_field_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "../../common/text/text_format.h"
#include "../../host/lwpanel.h"
#include "../../platform/text/c_numeric_locale.h"

namespace lwp::cks {

namespace {

constexpr const char *kWholeSuffix = ".00";

// Backspace arrives as its character code.
constexpr int kBackspace = 0x08;

bool endsWith(const std::string &text, const std::string &suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string frameText(double frame) {
  std::string text = formatGrowing("%.2f", frame);
  if (endsWith(text, kWholeSuffix)) text.resize(text.size() - std::char_traits<char>::length(kWholeSuffix));
  return text == "-0" ? "0" : text;
}

std::optional<double> frameNumber(const std::string &text) {
  const platform::CNumericLocale numericLocale;
  const char *begin = text.c_str();
  char *end = nullptr;
  const double number = std::strtod(begin, &end);
  if (end == begin) return std::nullopt;
  while (std::isspace(static_cast<unsigned char>(*end)) != 0) ++end;
  if (*end != '\0') return std::nullopt;
  return number;
}

bool typeFrameKey(std::string &typed, int key) {
  if (key >= '0' && key <= '9') {
    typed += static_cast<char>(key);
  } else if (key == '-') {
    if (typed.empty()) typed += '-';
  } else if (key == '.') {
    if (typed.find('.') == std::string::npos) typed += '.';
  } else if (key == kBackspace || key == LWDK_DELETE) {
    if (!typed.empty()) typed.pop_back();
  } else {
    return false;
  }
  return true;
}

std::string steppedFrameText(const std::string &text, int delta) {
  const double number = frameNumber(text).value_or(0.0);
  const double whole = std::trunc(std::isfinite(number) ? number : 0.0) + delta;
  return formatGrowing("%.0f", whole);
}

}  // namespace lwp::cks
