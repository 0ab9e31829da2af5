// A German locale (decimal comma) for tests that numbers do not depend on the
// process's locale.
#pragma once

namespace lwtest {

// Switches LC_NUMERIC to de_DE.UTF-8, building the locale in a temporary
// directory when the system lacks it; false when it cannot be had.
bool useDecimalCommaLocale();

}  // namespace lwtest
