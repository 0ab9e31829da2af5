#include "clip_file_name.h"

#include <regex>

namespace lwp::akio {

bool hasClipEnding(const std::string &name) {
  static const std::regex ending("^.*\\.xml$", std::regex::ECMAScript | std::regex::icase);
  return std::regex_match(name, ending);
}

}  // namespace lwp::akio
