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
