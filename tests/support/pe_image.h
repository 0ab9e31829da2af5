// What the tests check of a Windows module file: its kind, what it exports
// and which DLLs it imports, read from the PE headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lwtest {

struct PeImage {
  std::uint16_t machine = 0;  // 0x8664 for x86-64
  bool isPe32Plus = false;    // the 64-bit optional header
  bool isDll = false;
  std::vector<std::string> exportedNames;      // sorted
  std::vector<std::string> importedLibraries;  // as named in the file
};

// Reads the file's headers, export and import directories; fails the
// calling test when the file is not a well-formed PE image.
PeImage readPeImage(const std::string &path);

}  // namespace lwtest
