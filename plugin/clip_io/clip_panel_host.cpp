#include "clip_panel_host.h"

#include "../common/clip_globals.h"
#include "../common/server_names.h"
#include "../common/text_format.h"

namespace lwp::akio {

bool ClipPanelHost::build(const char *serverName, int width, int height, void *userData, LWPanHookFunc *onClose) {
  if (panel != nullptr) return true;
  LWPanelFuncs *panels = CClipGlobals::instance().panels();
  if (title.empty()) title = formatBounded(kTitleFormat, serverName, 1, 50, kBuildSuffix);
  panel = panels->create(title.c_str(), nullptr);
  if (panel == nullptr) return false;
  panels->set(panel, PAN_USERDATA, userData);
  panels->set(panel, PAN_USERCLOSE, reinterpret_cast<void *>(onClose));
  panels->set(panel, PAN_W, &width);
  panels->set(panel, PAN_H, &height);
  return true;
}

int ClipPanelHost::open() {
  opened = CClipGlobals::instance().panels()->open(panel, kClipPanelOpenFlags);
  return opened != 0 ? AFUNC_OK : AFUNC_BADGLOBAL;
}

}  // namespace lwp::akio
