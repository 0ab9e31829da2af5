#include "interface_refetch.h"

#include "clip_commands.h"
#include "clip_globals.h"
#include "exceptions.h"

namespace lwp {

LWInterfaceInfo *refetchInterfaceInfoChecked() {
  if (LWInterfaceInfo *info = CClipGlobals::instance().refetchInterfaceInfo()) return info;
  const std::string text = "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )";
  errorMsg(text);
  throw lw::ex::CBaseEx(text);
}

}  // namespace lwp
