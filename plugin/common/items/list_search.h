// Linear membership tests of the tools' id lists, which suit lists of a few
// thousand entries.
#pragma once

#include <algorithm>
#include <vector>

namespace lwp {

template <class T>
bool contains(const std::vector<T> &list, const T &entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

}  // namespace lwp
