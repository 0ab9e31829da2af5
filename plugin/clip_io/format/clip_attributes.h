// Attribute values of a clip file as module text and numbers. Texts arrive
// from the parser as UTF-8, the module's own text; numbers read the same
// whatever the process's locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace lwp::akio {

// The longest module text an item name, path or clip number may take.
inline constexpr std::size_t kAttributeTextLimit = 2047;

// value as module text of at most kAttributeTextLimit bytes; fallback when
// value is absent, not well-formed UTF-8, or longer.
std::string attributeText(const std::optional<std::string> &value, const std::string &fallback);

// The number at the start of attributeText(value); fallback where
// attributeText would give its fallback.
double attributeNumber(const std::optional<std::string> &value, double fallback);

// The number at the start of text, as the C library reads it in the "C"
// locale: leading white space skipped, the longest numeric prefix, 0
// without one.
double decimalNumber(const char *text);

// The decimal integer at the start of text ("2.9" gives 2), read as
// decimalNumber reads; beyond the range of int it gives the nearest end.
int decimalInteger(const char *text);

}  // namespace lwp::akio
