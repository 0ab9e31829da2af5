#include "peak_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace lwp_bench {

namespace {

// A "Name:   N kB" line of /proc/self/status, in bytes.
std::optional<std::size_t> statusBytes(const std::string &name) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(name + ":", 0) == 0) return std::stoull(line.substr(name.size() + 1)) * 1024;
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> peakResidentGrowth(const std::function<void()> &work) {
  malloc_trim(0);  // what earlier runs freed is not counted as held
  std::ofstream("/proc/self/clear_refs") << "5";
  const std::optional<std::size_t> before = statusBytes("VmRSS");
  work();
  const std::optional<std::size_t> peak = statusBytes("VmHWM");
  if (!before || !peak || *peak < *before) return std::nullopt;
  return *peak - *before;
}

}  // namespace lwp_bench
