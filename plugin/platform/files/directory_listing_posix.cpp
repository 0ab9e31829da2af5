#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "directory_listing.h"

namespace lwp::platform {

namespace {

struct DirectoryCloser {
  void operator()(DIR *directory) const { closedir(directory); }
};

// Links and entries of unknown type are told by what they lead to.
bool isRegularFile(const std::string &directory, const dirent &entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  const std::string path = directory + kPathSeparator + entry.d_name;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::vector<std::string> regularFileNames(const std::string &directory) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirectoryCloser> listing(opendir(directory.c_str()));
  if (!listing) return names;
  while (const dirent *entry = readdir(listing.get()))
    if (isRegularFile(directory, *entry)) names.emplace_back(entry->d_name);
  return names;
}

}  // namespace lwp::platform
