#include "run_error.h"

#include "../common/key_commands.h"

namespace lwp::cks {

void showRunError(const std::string &text) { keyStatusMsg("Error! " + text); }

}  // namespace lwp::cks
