#include "path_text.h"

namespace lwp {

// UTF-8 never uses the byte of an ASCII character inside another character,
// so separators are found byte by byte.
std::string stripTrailingSeparators(const std::string &path) {
  const std::size_t last = path.find_last_not_of(kSeparators);
  return last == std::string::npos ? path : path.substr(0, last + 1);
}

std::string replaceAll(const std::string &text, const std::string &search, const std::string &replacement) {
  if (search.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t found = text.find(search); found != std::string::npos; found = text.find(search, from)) {
    result.append(text, from, found - from).append(replacement);
    from = found + search.size();
  }
  return result.append(text, from, std::string::npos);
}

}  // namespace lwp
