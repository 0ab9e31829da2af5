#include "key_setter_server.h"

#include "../master/master_ring.h"
#include "key_setter_panel.h"

namespace lwp::cks {

namespace {

bool hasArguments(LWLayoutGeneric *generic) {
  if (generic == nullptr || generic->commandArguments == nullptr) return false;
  const char *arguments = generic->commandArguments(generic->data);
  return arguments != nullptr && arguments[0] != '\0';
}

}  // namespace

// Run with arguments ("init" from the master), the key setter only resets
// the master's marks.
void runKeySetter(LWLayoutGeneric *generic) {
  if (hasArguments(generic)) {
    sendMasterReset();
    return;
  }
  keySetterPanel().openOn(kCreateKeyOperation);
}

// The deleter's arguments are not looked at.
void runKeyDeleter(LWLayoutGeneric *) { keySetterPanel().openOn(kDeleteKeyOperation); }

}  // namespace lwp::cks
