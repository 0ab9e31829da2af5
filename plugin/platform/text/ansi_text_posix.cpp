#include "ansi_text.h"

namespace lwp::platform {

std::optional<std::string> ansiFromUtf8(std::string_view utf8) { return std::string(utf8); }

std::string ansiForDisplay(std::string_view utf8) { return std::string(utf8); }

}  // namespace lwp::platform
