// A German locale (decimal comma) for tests that numbers do not depend on the
// process's locale.
#pragma once

namespace lwtest {

// Switches LC_NUMERIC to German (de_DE.UTF-8 on POSIX, built in a temporary
// directory when the system lacks it); false when it cannot be had.
bool useDecimalCommaLocale();

}  // namespace lwtest
