// The clip side's fresh looks at the host's snapshots ("LW Interface Info 8",
// "LW Scene Info 12"), which it cannot work without.
#pragma once

#include "../../host/lwinterface.h"
#include "../../host/lwscene.h"

namespace lwp {

// Looks the interface info up again; when the host no longer offers it,
// shows the error line and throws lw::ex::CBaseEx.
LWInterfaceInfo *refetchInterfaceInfoChecked();
LWSceneInfo *refetchSceneInfoChecked();

}  // namespace lwp
