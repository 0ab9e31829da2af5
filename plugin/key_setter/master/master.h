// The hidden scene master that watches the posing commands for the key
// setter and answers the panel's reset and mark query on the master topic.
#pragma once

#include "../../host/lwmaster.h"
#include "../../host/lwmodule.h"

namespace lwp::cks {

// Fills the handler's instance operations and event functions; the item
// operations stay as the host gave them. The instance operations' private
// data is the lookup function, through which create asks for "System ID".
void fillMasterHandler(LWMasterHandler *handler, GlobalFunc *global);

}  // namespace lwp::cks
