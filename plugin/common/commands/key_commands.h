// The key-setter side's unchecked command route: results are ignored and
// nothing is reported.
#pragma once

#include <string>

namespace lwp {

// A command with a character the host's command function cannot take is not
// issued; an error line names it.
void issueCommand(const std::string &command);

// "StatusMsg {1.0} TEXT".
void keyStatusMsg(const std::string &text);

// "Error! TEXT" on the status line: how the key setter shows an error.
void keyErrorMsg(const std::string &text);

}  // namespace lwp
