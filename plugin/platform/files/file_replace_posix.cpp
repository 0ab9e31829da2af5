#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_replace.h"

namespace lwp::platform {

namespace {

constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

std::FILE *createNewFile(const char *path, const char *model, bool &nameTaken) {
  nameTaken = false;
  struct stat modelStatus {};
  const bool hasModel = model != nullptr && stat(model, &modelStatus) == 0 && S_ISREG(modelStatus.st_mode);
  // O_EXCL refuses any existing name, a link included, even a dangling one.
  const int descriptor = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    nameTaken = errno == EEXIST;
    return nullptr;
  }
  std::FILE *file =
      hasModel && fchmod(descriptor, modelStatus.st_mode & kPermissionBits) != 0 ? nullptr : fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    unlink(path);
  }
  return file;
}

bool isReplaceable(const char *path) {
  struct stat status {};
  if (stat(path, &status) != 0) return errno == ENOENT;
  // Write bits, not access(): a privileged user may write any file, yet a
  // clip marked read-only is kept as it is.
  return S_ISREG(status.st_mode) && (status.st_mode & kWriteBits) != 0 && access(path, W_OK) == 0;
}

// rename() replaces the destination in one step on POSIX file systems.
bool replaceFile(const char *from, const char *to) { return std::rename(from, to) == 0; }

bool removeFile(const char *path) { return std::remove(path) == 0; }

}  // namespace lwp::platform
