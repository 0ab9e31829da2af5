// How the key setter shows an error that stopped part of its work.
#pragma once

#include <string>

namespace lwp::cks {

// "Error! TEXT" on the status line.
void showRunError(const std::string &text);

}  // namespace lwp::cks
