// The names a shared object exports: its defined global dynamic symbols.
#pragma once

#include <string>
#include <vector>

namespace lwtest {

// Reads the file's dynamic symbol table; fails the calling test when the
// file is not a 64-bit ELF shared object.
std::vector<std::string> definedDynamicSymbols(const std::string &path);

}  // namespace lwtest
