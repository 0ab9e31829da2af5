// The clip side's checked command route and its status and error lines.
// A refused command shows an error line and the work goes on.
#pragma once

#include <string>

#include "../text/text_format.h"

namespace lwp {

// Runs a command line; an empty line shows an error line and throws
// lw::ex::CEvalEx, a refused one shows an error line and returns.
void eval(const std::string &command);
void evalFormat(const char *format, ...) LWP_PRINTF(1, 2);

void statusMsg(const std::string &text);
void statusMsgFormat(const char *format, ...) LWP_PRINTF(1, 2);

// "StatusMsg {0.50}TEXT": the fraction with two decimals, then the text.
void progressMsg(float fraction, const char *format, ...) LWP_PRINTF(2, 3);

// "StatusMsg *** ERROR: TEXT ***", straight to the host, never through eval.
void errorMsg(const std::string &text);
void reportError(const char *format, ...) LWP_PRINTF(1, 2);

}  // namespace lwp
