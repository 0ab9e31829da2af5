#include "clip_commands.h"

#include "../../platform/text/ansi_text.h"
#include "../globals/clip_globals.h"
#include "exceptions.h"

namespace lwp {

namespace {

// The host's command function takes the system's ANSI code page; a line
// that has no form there, like a missing function, runs nothing (0).
int runLine(const std::optional<std::string> &line) {
  LWCommandFunc *run = CClipGlobals::instance().command();
  return run != nullptr && line ? run(line->c_str()) : 0;
}

// Built by concatenation, so the command's own text is shown unchanged
// whatever its length or the '%' it holds.
void reportRefused(const std::string &command, int result) {
  errorMsg("eval( \"" + command + "\" ) !(" + std::to_string(result) + ")");
}

// Runs a command line; a status line (shownOnly) is only shown, so a
// character it cannot carry becomes "?" instead of refusing the line.
void evalLine(const std::string &command, bool shownOnly) {
  if (command.empty()) {
    const std::string text = "eval( \"\" )";
    errorMsg(text);
    throw lw::ex::CEvalEx(text);
  }
  const int result = runLine(shownOnly ? platform::ansiForDisplay(command) : platform::ansiFromUtf8(command));
  if (result == 0) reportRefused(command, result);
}

}  // namespace

void eval(const std::string &command) { evalLine(command, false); }

void evalFormat(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string command = vformatBounded(format, args);
  va_end(args);
  eval(command);
}

void statusMsg(const std::string &text) { evalLine("StatusMsg " + text, true); }

void statusMsgFormat(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatBounded(format, args);
  va_end(args);
  statusMsg(text);
}

void progressMsg(float fraction, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatBounded(format, args);
  va_end(args);
  evalLine(formatBounded("StatusMsg {%.2f}%s", static_cast<double>(fraction), text.c_str()), true);
}

void errorMsg(const std::string &text) { runLine(platform::ansiForDisplay("StatusMsg *** ERROR: " + text + " ***")); }

void reportError(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatBounded(format, args);
  va_end(args);
  errorMsg(text);
}

}  // namespace lwp
