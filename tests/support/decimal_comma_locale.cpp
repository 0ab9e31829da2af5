#include "decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace lwtest {

#if defined(_WIN32)

bool useDecimalCommaLocale() {
  for (const char *name : {"German_Germany.1252", "de-DE", "German"})
    if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
  return false;
}

#else

bool useDecimalCommaLocale() {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) return true;
  const std::string directory = ::testing::TempDir() + "lwp_locales";
  const std::string build =
      "mkdir -p '" + directory + "' && localedef -i de_DE -f UTF-8 '" + directory + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) return false;
  setenv("LOCPATH", directory.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

#endif

}  // namespace lwtest
