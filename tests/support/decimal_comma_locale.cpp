#include "decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#if !defined(_WIN32)
#include <unistd.h>
#endif

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
  // Built once for every test process: into a folder of this process's own,
  // then renamed into place, so that a parallel test never reads half of it.
  const std::string directory = ::testing::TempDir() + "lwp_locales";
  const std::string own = directory + "." + std::to_string(getpid());
  const std::string build = "test -d '" + directory + "' || { mkdir -p '" + own + "' && localedef -i de_DE -f UTF-8 '" +
                            own + "/de_DE.UTF-8' >/dev/null 2>&1 && { mv -T '" + own + "' '" + directory +
                            "' 2>/dev/null || rm -rf '" + own + "'; }; }";
  if (std::system(build.c_str()) != 0) return false;
  setenv("LOCPATH", directory.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

#endif

}  // namespace lwtest
