#include "interface_refetch.h"

#include "../commands/clip_commands.h"
#include "../commands/exceptions.h"
#include "clip_globals.h"

namespace lwp {

namespace {

[[noreturn]] void refetchFailed(const char *globalName) {
  const std::string text = std::string("g_global( ") + globalName + ", GFUSE_TRANSIENT )";
  errorMsg(text);
  throw lw::ex::CBaseEx(text);
}

}  // namespace

LWInterfaceInfo *refetchInterfaceInfoChecked() {
  if (LWInterfaceInfo *info = CClipGlobals::instance().refetchInterfaceInfo()) return info;
  refetchFailed("LWINTERFACEINFO_GLOBAL");
}

LWSceneInfo *refetchSceneInfoChecked() {
  if (LWSceneInfo *info = CClipGlobals::instance().refetchSceneInfo()) return info;
  refetchFailed("LWSCENEINFO_GLOBAL");
}

}  // namespace lwp
