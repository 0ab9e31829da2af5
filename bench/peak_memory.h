// The memory a call takes at its peak, for the benchmarks that report it
// beside their time.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace lwp_bench {

// The resident bytes work adds at its peak over what the process held
// before it: Linux's high-water mark, reset first. Nothing where the system
// cannot tell.
std::optional<std::size_t> peakResidentGrowth(const std::function<void()> &work);

}  // namespace lwp_bench
