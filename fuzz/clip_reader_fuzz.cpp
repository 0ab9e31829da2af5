// The clip reader on a file's bytes: whatever the file holds, it returns
// (never throws, never crashes) with a result code it may set.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "plugin/clip_io/format/clip_reader.h"

// The reader's message boxes are shown by this program, silently.
extern "C" __attribute__((visibility("default"))) void lwpShowMessageBox(const char *, const char *) {}

namespace {

// A directory of this process's own under the system's temporary one,
// removed at exit, holding the clip file.
struct ClipFile {
  std::filesystem::path directory;
  std::filesystem::path path;
  ClipFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lwp-fuzz-clip-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    directory = pattern;
    path = directory / "clip.xml";
  }
  ~ClipFile() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }
};

const std::filesystem::path &clipPath() {
  static const ClipFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  {
    std::ofstream file(clipPath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!file) std::abort();
  }
  int resultCode = 0;
  const lwp::akio::AnimClip clip = lwp::akio::readClipFile(clipPath().string(), resultCode);
  if (resultCode < 0 || resultCode > (lwp::akio::kReadAll | lwp::akio::kBasePoseBit)) std::abort();
  return 0;
}
