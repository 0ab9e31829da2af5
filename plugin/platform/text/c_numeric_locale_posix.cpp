#include "c_numeric_locale.h"

#include <locale.h>

namespace lwp::platform {

namespace {

// Created once; lives until the library is unloaded.
locale_t cLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

CNumericLocale::CNumericLocale() {
  if (const locale_t c = cLocale()) previous_ = uselocale(c);
}

CNumericLocale::~CNumericLocale() {
  if (previous_ != nullptr) uselocale(static_cast<locale_t>(previous_));
}

}  // namespace lwp::platform
