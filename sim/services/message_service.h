// "Info Messages 4": the host's message boxes, recorded in the transcript.
#pragma once

#include "../../plugin/host/lwmessage.h"

namespace lwsim {

class MessageService {
 public:
  MessageService();
  LWMessageFuncs *record() { return &record_; }

 private:
  LWMessageFuncs record_;
};

}  // namespace lwsim

// The module's own message box, which it finds by this name among the host
// program's exports (on Windows in place of the system's modal box):
// recorded in the current host's transcript.
extern "C" void lwpShowMessageBox(const char *title, const char *text);
