#include "save_panel.h"

#include "../common/server_names.h"
#include "clip_panel_host.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 340;
constexpr int kPanelHeight = 170;

// One per process, from the first activation until the module unloads.
ClipPanelHost &savePanelHost() {
  static ClipPanelHost host;
  return host;
}

}  // namespace

int activateSavePanel() { return savePanelHost().activate(kClipSaveName, kPanelWidth, kPanelHeight); }

}  // namespace lwp::akio
