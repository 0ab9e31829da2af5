// The key-setter side's unchecked command route: results are ignored and
// nothing is reported.
#pragma once

#include <string>

namespace lwp {

void issueCommand(const std::string &command);

// "StatusMsg {1.0} TEXT".
void keyStatusMsg(const std::string &text);

}  // namespace lwp
