#include "replacing_file.h"

#include "../platform/file_replace.h"

namespace lwp {

namespace {

constexpr const char *kPartialSuffix = ".saving";
constexpr std::size_t kStreamBuffer = 1 << 16;

}  // namespace

ReplacingFile::ReplacingFile(std::string destination)
    : destination_(std::move(destination)), partial_(destination_ + kPartialSuffix) {
  file_ = platform::createFileForWriting(partial_.c_str());
  if (file_ == nullptr) {
    partial_.clear();  // not ours to remove
    return;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::write(std::string_view bytes) {
  if (file_ == nullptr || failed_ || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

bool ReplacingFile::commit() {
  if (file_ == nullptr) return false;
  const bool written = !failed_ && std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (written && closed && platform::replaceFile(partial_.c_str(), destination_.c_str())) {
    partial_.clear();
    return true;
  }
  platform::removeFile(partial_.c_str());
  partial_.clear();
  return false;
}

void ReplacingFile::discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!partial_.empty()) platform::removeFile(partial_.c_str());
  partial_.clear();
}

}  // namespace lwp
