// Runs a program as a child process with its standard streams in files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lwtest {

struct ChildStreams {
  std::optional<std::filesystem::path> in;  // none: an empty input
  std::filesystem::path out;
  std::filesystem::path err;
};

// Runs words[0] with the rest as its arguments in directory; the exit code,
// or nothing when the program could not be started or did not exit.
std::optional<int> runChild(const std::vector<std::string> &words, const std::filesystem::path &directory,
                            const ChildStreams &streams);

}  // namespace lwtest
