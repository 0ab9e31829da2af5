#include "path_text.h"

namespace lwp {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// First bytes of the double-byte characters of code page 932.
bool isLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::string stripTrailingSeparators(const std::string &path) {
  // The end of the last character that is not a separator, walking whole
  // characters so that a trail byte is never taken for one.
  std::size_t keep = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t width = isLeadByte(path[i]) && i + 1 < path.size() ? 2 : 1;
    if (width == 2 || !isSeparator(path[i])) keep = i + width;
    i += width;
  }
  return keep == 0 ? path : path.substr(0, keep);
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
