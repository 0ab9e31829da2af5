#include <windows.h>

#include "../text/wide_text_win32.h"
#include "directory_listing.h"

namespace lwp::platform {

// The directory and the names are UTF-8; the search runs on UTF-16 names, so
// any name the file system holds is found. A name that is not well-formed
// UTF-16 (an unpaired surrogate) cannot be told to the module and is left out.
std::vector<std::string> regularFileNames(const std::string &directory) {
  std::vector<std::string> names;
  const std::optional<std::wstring> pattern = wideFromCodePage(directory + kPathSeparator + '*', CP_UTF8);
  if (!pattern) return names;
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW(pattern->c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  try {
    do {
      // "." and ".." carry the directory attribute too.
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
      if (std::optional<std::string> name = codePageFromWide(entry.cFileName, CP_UTF8))
        names.push_back(std::move(*name));
    } while (FindNextFileW(search, &entry));
  } catch (...) {
    FindClose(search);
    throw;
  }
  FindClose(search);
  return names;
}

}  // namespace lwp::platform
