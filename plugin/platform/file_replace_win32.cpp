#include <windows.h>

#include <cstdio>

#include "file_replace.h"
#include "wide_text_win32.h"

namespace lwp::platform {

std::FILE *createFileForWriting(const char *path) {
  const std::optional<std::wstring> name = wideFromCodePage(path, CP_UTF8);
  return name ? _wfopen(name->c_str(), L"wb") : nullptr;
}

bool replaceFile(const char *from, const char *to) {
  const std::optional<std::wstring> source = wideFromCodePage(from, CP_UTF8);
  const std::optional<std::wstring> target = wideFromCodePage(to, CP_UTF8);
  return source && target &&
         MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const char *path) {
  const std::optional<std::wstring> name = wideFromCodePage(path, CP_UTF8);
  return name && DeleteFileW(name->c_str()) != 0;
}

}  // namespace lwp::platform
