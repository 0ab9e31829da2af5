#include "clip_commands.h"

#include "clip_globals.h"
#include "exceptions.h"

namespace lwp {

void eval(const std::string &command) {
  if (command.empty()) {
    const std::string text = "eval( \"\" )";
    errorMsg(text);
    throw lw::ex::CEvalEx(text);
  }
  LWCommandFunc *run = CClipGlobals::instance().command();
  const int result = run != nullptr ? run(command.c_str()) : 0;
  if (result != 0) return;
  // Built by concatenation, so the command's own text is shown unchanged
  // whatever its length or the '%' it holds.
  errorMsg("eval( \"" + command + "\" ) !(" + std::to_string(result) + ")");
}

void evalFormat(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string command = vformatBounded(format, args);
  va_end(args);
  eval(command);
}

void statusMsg(const std::string &text) { eval("StatusMsg " + text); }

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
  evalFormat("StatusMsg {%.2f}%s", static_cast<double>(fraction), text.c_str());
}

void errorMsg(const std::string &text) {
  LWCommandFunc *run = CClipGlobals::instance().command();
  if (run == nullptr) return;
  const std::string line = "StatusMsg *** ERROR: " + text + " ***";
  run(line.c_str());
}

void reportError(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatBounded(format, args);
  va_end(args);
  errorMsg(text);
}

}  // namespace lwp
