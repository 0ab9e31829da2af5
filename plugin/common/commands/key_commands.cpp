#include "key_commands.h"

#include "../../platform/text/ansi_text.h"
#include "../globals/host_globals.h"

namespace lwp {

namespace {

// The host's command function takes the system's ANSI code page.
void runLine(const std::string &line) {
  if (LWCommandFunc *run = CHostGlobals::instance().command()) run(line.c_str());
}

}  // namespace

void issueCommand(const std::string &command) {
  if (const std::optional<std::string> line = platform::ansiFromUtf8(command))
    runLine(*line);
  else
    keyErrorMsg("cannot issue " + command);
}

// A status line is only shown: a character it cannot carry becomes "?".
void keyStatusMsg(const std::string &text) { runLine(platform::ansiForDisplay("StatusMsg {1.0} " + text)); }

void keyErrorMsg(const std::string &text) { keyStatusMsg("Error! " + text); }

}  // namespace lwp
