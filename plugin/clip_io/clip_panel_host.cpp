#include "clip_panel_host.h"

#include "../common/clip_globals.h"
#include "../common/server_names.h"
#include "../common/text_format.h"

namespace lwp::akio {

int ClipPanelHost::activate(const char *serverName, int width, int height) {
  if (!build(serverName, width, height)) return AFUNC_BADGLOBAL;
  opened = CClipGlobals::instance().panels()->open(panel, kClipPanelOpenFlags);
  return opened != 0 ? AFUNC_OK : AFUNC_BADGLOBAL;
}

bool ClipPanelHost::build(const char *serverName, int width, int height) {
  if (panel != nullptr) return true;
  LWPanelFuncs *panels = CClipGlobals::instance().panels();
  if (title.empty()) title = formatBounded(kTitleFormat, serverName, 1, 50, kBuildSuffix);
  panel = panels->create(title.c_str(), nullptr);
  if (panel == nullptr) return false;
  panels->set(panel, PAN_USERDATA, this);
  panels->set(panel, PAN_USERCLOSE, reinterpret_cast<void *>(onClose));
  panels->set(panel, PAN_W, &width);
  panels->set(panel, PAN_H, &height);
  return true;
}

void ClipPanelHost::onClose(LWPanelID, void *userData) noexcept { static_cast<ClipPanelHost *>(userData)->opened = 0; }

}  // namespace lwp::akio
