// lwsim scripts run in-process against a test's host: what lwsim would
// print, line by line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/host.h"

namespace lwtest {

// Runs script against host; a bad script line fails the test with its
// message and returns what was printed up to it.
std::vector<std::string> runScript(lwsim::Host &host, const std::string &script);

// A directory of its own for one test, removed with everything in it when
// the test ends.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory &) = delete;
  ScratchDirectory &operator=(const ScratchDirectory &) = delete;

  const std::filesystem::path &path() const { return path_; }
  std::filesystem::path operator/(const std::string &name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A file's bytes; empty when it cannot be read.
std::string readBytes(const std::filesystem::path &file);

}  // namespace lwtest
