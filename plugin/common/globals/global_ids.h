// Compile-time lookup of a global's slot in an ordered list of ids.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace lwp {

template <std::size_t N>
constexpr std::size_t globalSlot(const std::array<const char *, N> &ids, std::string_view id) {
  for (std::size_t i = 0; i < N; ++i)
    if (std::string_view(ids[i]) == id) return i;
  throw "global id not in the list";  // a compile error where used in a constant
}

}  // namespace lwp
