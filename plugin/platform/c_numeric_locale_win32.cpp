#include "c_numeric_locale.h"

// The module links its own C runtime on Windows and never changes that
// runtime's locale, so it always formats as the "C" locale does.
namespace lwp::platform {

CNumericLocale::CNumericLocale() = default;
CNumericLocale::~CNumericLocale() = default;

}  // namespace lwp::platform
