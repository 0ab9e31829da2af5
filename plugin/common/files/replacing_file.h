// A file written beside its destination and moved over it only once the
// whole file is written, so a failed write never leaves a partial file in
// place of an existing one. The partial file has a name of its own
// ("NAME.saving-" and eight random hexadecimal digits), created exclusively:
// no file or link that already has a name is ever written through or removed.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lwp {

class ReplacingFile {
 public:
  explicit ReplacingFile(std::string destination);
  ~ReplacingFile();  // removes the unfinished file unless committed
  ReplacingFile(const ReplacingFile &) = delete;
  ReplacingFile &operator=(const ReplacingFile &) = delete;

  // Whether the file beside the destination could be created; never when
  // the destination is read-only or not a file.
  bool isOpen() const { return file_ != nullptr; }

  // Writes bytes unchanged; a failure is remembered for commit.
  void write(std::string_view bytes);

  // Closes the file and moves it over the destination; false, with the
  // destination untouched, when any write, the close or the move failed.
  bool commit();

 private:
  void discard();

  std::string destination_;
  std::string partial_;
  std::FILE *file_ = nullptr;
  bool failed_ = false;
};

}  // namespace lwp
