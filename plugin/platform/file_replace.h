// Moving a finished file over its destination, which may exist.
#pragma once

namespace lwp::platform {

// Renames from to to, replacing an existing to; true on success.
bool replaceFile(const char *from, const char *to);

// Removes a file; true on success.
bool removeFile(const char *path);

}  // namespace lwp::platform
