#include "key_commands.h"

#include "host_globals.h"

namespace lwp {

void issueCommand(const std::string &command) {
  if (LWCommandFunc *run = CHostGlobals::instance().command()) run(command.c_str());
}

void keyStatusMsg(const std::string &text) { issueCommand("StatusMsg {1.0} " + text); }

}  // namespace lwp
