// Writing a file beside its destination and moving it over the destination,
// which may exist. Paths are the module's UTF-8 text: bytes on POSIX
// systems, converted to UTF-16 for the wide file functions on Windows.
#pragma once

#include <cstdio>

namespace lwp::platform {

// Creates (or empties) the file at path for writing bytes; null on failure.
std::FILE *createFileForWriting(const char *path);

// Renames from to to, replacing an existing to; true on success.
bool replaceFile(const char *from, const char *to);

// Removes a file; true on success.
bool removeFile(const char *path);

}  // namespace lwp::platform
