#include <windows.h>
// windows.h first: the runtime's descriptor functions build on it.
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

#include "../text/wide_text_win32.h"
#include "file_replace.h"

namespace lwp::platform {

namespace {

std::optional<std::wstring> wide(const char *path) { return wideFromCodePage(path, CP_UTF8); }

constexpr DWORD kNoFile = INVALID_FILE_ATTRIBUTES;

}  // namespace

// CREATE_NEW refuses any existing name, a link included. The new file's
// permissions are those the folder gives; replaceFile keeps the old file's.
std::FILE *createNewFile(const char *path, const char *, bool &nameTaken) {
  nameTaken = false;
  const std::optional<std::wstring> name = wide(path);
  if (!name) return nullptr;
  const HANDLE handle =
      CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    nameTaken = GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS;
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor < 0) CloseHandle(handle);
  std::FILE *file = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
  if (file == nullptr) {
    if (descriptor >= 0) _close(descriptor);
    DeleteFileW(name->c_str());
  }
  return file;
}

bool isReplaceable(const char *path) {
  const std::optional<std::wstring> name = wide(path);
  if (!name) return false;
  const DWORD attributes = GetFileAttributesW(name->c_str());
  if (attributes == kNoFile) return GetLastError() == ERROR_FILE_NOT_FOUND;
  return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// ReplaceFileW keeps the replaced file's attributes and access rights; a
// destination that does not exist is simply moved to.
bool replaceFile(const char *from, const char *to) {
  const std::optional<std::wstring> source = wide(from);
  const std::optional<std::wstring> target = wide(to);
  if (!source || !target) return false;
  if (GetFileAttributesW(target->c_str()) != kNoFile &&
      ReplaceFileW(target->c_str(), source->c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  return MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const char *path) {
  const std::optional<std::wstring> name = wide(path);
  return name && DeleteFileW(name->c_str()) != 0;
}

}  // namespace lwp::platform
