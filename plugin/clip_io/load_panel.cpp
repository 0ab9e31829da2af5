#include "load_panel.h"

#include "../common/server_names.h"
#include "clip_panel_host.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 390;
constexpr int kPanelHeight = 350;

// One per process, from the first activation until the module unloads.
ClipPanelHost &loadPanelHost() {
  static ClipPanelHost host(loadDefaults());
  return host;
}

}  // namespace

int activateLoadPanel() { return loadPanelHost().activate(kClipLoadName, kPanelWidth, kPanelHeight); }

}  // namespace lwp::akio
