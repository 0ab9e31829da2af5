#include "replacing_file.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "../../platform/files/file_replace.h"

namespace lwp {

namespace {

constexpr const char *kPartialInfix = ".saving-";
constexpr std::size_t kStreamBuffer = 1 << 16;
// Names taken by other files are passed over; this many in a row means
// something else is wrong.
constexpr int kNameAttempts = 16;

// Eight hexadecimal digits no earlier save is likely to have left behind.
std::string randomSuffix() {
  static std::mt19937 generator = [] {
    std::seed_seq seed{static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()),
                       static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count())};
    return std::mt19937(seed);
  }();
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(generator()));
  return digits;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string destination) : destination_(std::move(destination)) {
  if (!platform::isReplaceable(destination_.c_str())) return;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string candidate = destination_ + kPartialInfix + randomSuffix();
    bool nameTaken = false;
    file_ = platform::createNewFile(candidate.c_str(), destination_.c_str(), nameTaken);
    if (file_ != nullptr) {
      partial_ = candidate;
      std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
      return;
    }
    if (!nameTaken) return;
  }
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
