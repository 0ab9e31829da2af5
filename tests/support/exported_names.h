// The names a built module or program exports: its defined global dynamic
// symbols (ELF) or the names of its export table (PE), sorted.
#pragma once

#include <string>
#include <vector>

namespace lwtest {

// Fails the calling test when the file is not a 64-bit ELF shared object or
// program (Linux) or a PE32+ image (Windows).
std::vector<std::string> exportedNames(const std::string &path);

}  // namespace lwtest
