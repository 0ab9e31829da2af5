// "Info Messages 4": the host's message boxes, recorded in the transcript.
#pragma once

#include "../plugin/host/lwmessage.h"

namespace lwsim {

class MessageService {
 public:
  MessageService();
  LWMessageFuncs *record() { return &record_; }

 private:
  LWMessageFuncs record_{};
};

}  // namespace lwsim

// The module's own message box on POSIX, which it finds by this name among
// the host process's exports: recorded in the current host's transcript.
extern "C" void lwpShowMessageBox(const char *title, const char *text);
