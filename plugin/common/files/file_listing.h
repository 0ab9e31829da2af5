// The clip files a directory holds, for loading a whole directory.
#pragma once

#include <string>
#include <vector>

namespace lwp {

// Full paths of the regular files directly in the directory, joined with
// the platform's separator after the directory's own trailing separators
// are stripped; unsorted. An empty, missing or unreadable directory gives
// the empty list.
std::vector<std::string> listFiles(const std::string &directory);

}  // namespace lwp
