// The clip file ending.
#pragma once

#include <string>

namespace lwp::akio {

// The name ends in ".xml" in any letter case.
bool hasClipEnding(const std::string &name);

}  // namespace lwp::akio
