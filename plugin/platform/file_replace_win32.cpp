#include <windows.h>

#include "file_replace.h"

namespace lwp::platform {

// Names are code page 932 text, the ANSI code page of the host's systems.
bool replaceFile(const char *from, const char *to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const char *path) { return DeleteFileA(path) != 0; }

}  // namespace lwp::platform
