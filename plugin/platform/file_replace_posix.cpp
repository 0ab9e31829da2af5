#include <cstdio>

#include "file_replace.h"

namespace lwp::platform {

std::FILE *createFileForWriting(const char *path) { return std::fopen(path, "wb"); }

// rename() replaces the destination in one step on POSIX file systems.
bool replaceFile(const char *from, const char *to) { return std::rename(from, to) == 0; }

bool removeFile(const char *path) { return std::remove(path) == 0; }

}  // namespace lwp::platform
