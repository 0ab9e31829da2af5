// The names of the regular files directly in a directory, in the order the
// file system gives them: hidden files included, subdirectories and other
// kinds of entry left out. A directory that cannot be read gives none.
#pragma once

#include <string>
#include <vector>

namespace lwp::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::vector<std::string> regularFileNames(const std::string &directory);

}  // namespace lwp::platform
