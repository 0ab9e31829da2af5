// The host's command function takes its line in the system's ANSI code page
// (the same bytes as UTF-8 on POSIX systems); the simulated host keeps its
// text in UTF-8.
#pragma once

#include <string>

namespace lwsim {

// line, in the ANSI code page, as UTF-8; on Windows a byte sequence that is
// not valid there becomes U+FFFD.
std::string utf8FromAnsi(const std::string &line);

}  // namespace lwsim
