// The host's C entries: nothing thrown may reach the module, and a call made
// when no host is running answers the fallback.
#pragma once

#include <utility>

namespace lwsim {

template <typename Result, typename Body>
Result hostEntry(Result fallback, Body &&body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

template <typename Body>
void hostEntry(Body &&body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace lwsim
