// The hidden scene master that watches the posing commands for the key
// setter.
#pragma once

#include "../host/lwmaster.h"
#include "../host/lwmodule.h"

namespace lwp::cks {

// Fills the handler's instance operations and event functions; the item
// operations stay as the host gave them.
void fillMasterHandler(LWMasterHandler *handler, GlobalFunc *global);

}  // namespace lwp::cks
