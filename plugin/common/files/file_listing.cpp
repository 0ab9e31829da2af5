#include "file_listing.h"

#include "../../platform/files/directory_listing.h"
#include "path_text.h"

namespace lwp {

std::vector<std::string> listFiles(const std::string &directory) {
  std::vector<std::string> paths;
  paths.reserve(32);
  const std::string base = stripTrailingSeparators(directory);
  if (base.empty()) return paths;
  // A root given as separators alone already ends in one.
  const bool endsInSeparator = base.find_first_not_of(kSeparators) == std::string::npos;
  for (const std::string &name : platform::regularFileNames(base))
    paths.push_back(endsInSeparator ? base + name : base + platform::kPathSeparator + name);
  return paths;
}

}  // namespace lwp
