#include <windows.h>

#include "directory_listing.h"

namespace lwp::platform {

// Names are bytes in the system's ANSI code page, as the host gives paths.
std::vector<std::string> regularFileNames(const std::string &directory) {
  std::vector<std::string> names;
  const std::string pattern = directory + kPathSeparator + '*';
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  try {
    do {
      // "." and ".." carry the directory attribute too.
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
  } catch (...) {
    FindClose(search);
    throw;
  }
  FindClose(search);
  return names;
}

}  // namespace lwp::platform
