#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "c_numeric_locale.h"

// The C runtime's locale is shared by everything in the process that uses
// it: the change is made for this thread alone and undone at the end.
namespace lwp::platform {

namespace {

struct SavedLocale {
  int threadMode = 0;
  char numeric[256] = "C";  // a name longer than this falls back to "C"
};

}  // namespace

CNumericLocale::CNumericLocale() {
  auto *saved = new SavedLocale;  // before anything changes: nothing below throws
  saved->threadMode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
  const char *numeric = std::setlocale(LC_NUMERIC, nullptr);
  if (numeric != nullptr) std::snprintf(saved->numeric, sizeof saved->numeric, "%s", numeric);
  std::setlocale(LC_NUMERIC, "C");
  previous_ = saved;
}

CNumericLocale::~CNumericLocale() {
  auto *saved = static_cast<SavedLocale *>(previous_);
  std::setlocale(LC_NUMERIC, saved->numeric);
  _configthreadlocale(saved->threadMode);
  delete saved;
}

}  // namespace lwp::platform
