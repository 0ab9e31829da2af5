// Writing a file beside its destination and moving it over the destination,
// which may exist. Paths are the module's UTF-8 text: bytes on POSIX
// systems, converted to UTF-16 for the wide file functions on Windows.
#pragma once

#include <cstdio>

namespace lwp::platform {

// Creates the file at path for writing bytes, only where nothing has that
// name yet: never through a link, never over a file. Where model names an
// existing file, the new one takes its permissions. Null on failure, with
// nameTaken telling whether something already had the name.
std::FILE *createNewFile(const char *path, const char *model, bool &nameTaken);

// Whether the file at path may be replaced: nothing has the name yet, or it
// is a file that is not read-only.
bool isReplaceable(const char *path);

// Renames from to to, replacing an existing to and keeping its permissions;
// true on success.
bool replaceFile(const char *from, const char *to);

// Removes a file; true on success.
bool removeFile(const char *path);

}  // namespace lwp::platform
