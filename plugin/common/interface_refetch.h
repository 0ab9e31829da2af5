// The clip side's fresh look at "LW Interface Info 8", which it cannot work
// without.
#pragma once

#include "../host/lwinterface.h"

namespace lwp {

// Looks the interface info up again; when the host no longer offers it,
// shows the error line and throws lw::ex::CBaseEx.
LWInterfaceInfo *refetchInterfaceInfoChecked();

}  // namespace lwp
