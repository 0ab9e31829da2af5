#include "number_text.h"

#include <cstdio>

namespace lwtest {

namespace {

std::string printed(const char *format, double value) {
  // "%.10f" of the largest double needs over 300 characters.
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

std::string fixed10(double value) { return printed("%.10f", value); }

std::string exactText(double value) { return printed("%.17g", value); }

}  // namespace lwtest
