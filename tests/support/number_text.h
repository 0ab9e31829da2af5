// Numbers as the module, clip files and lwsim print them, for comparing
// texts in tests.
#pragma once

#include <string>

namespace lwtest {

// "%.10f": key times and values in clip files and in lwsim's dumps.
std::string fixed10(double value);
// "%.17g": every bit of the double.
std::string exactText(double value);

}  // namespace lwtest
