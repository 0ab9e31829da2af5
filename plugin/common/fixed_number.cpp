#include "fixed_number.h"

#include <charconv>

namespace lwp {

void appendFixed10(std::string &out, double value) {
  // The largest double has 309 integer digits; with sign, point and ten
  // decimals that stays below 330 characters.
  char buffer[352];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 10);
  out.append(buffer, result.ptr);
}

void appendInteger(std::string &out, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace lwp
