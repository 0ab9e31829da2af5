// Runs a program as a child process with its standard streams in files.
#pragma once

#include <cstddef>
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

// What a child may take and took (POSIX): an address-space limit in bytes,
// 0 for none, and the peak of its resident memory.
struct ChildResources {
  std::size_t addressSpaceLimit = 0;
  std::size_t peakResidentBytes = 0;
};

// Runs words[0] with the rest as its arguments in directory; the exit code,
// or nothing when the program could not be started or did not exit.
std::optional<int> runChild(const std::vector<std::string> &words, const std::filesystem::path &directory,
                            const ChildStreams &streams, ChildResources *resources = nullptr);

}  // namespace lwtest
