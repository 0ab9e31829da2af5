#include "load_panel.h"

#include "../common/server_names.h"
#include "clip_panel_host.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 390;
constexpr int kPanelHeight = 350;

// One per process, from the first activation until the module unloads.
struct LoadPanelState {
  ClipPanelHost host;
};

LoadPanelState &loadPanelState() {
  static LoadPanelState state;
  return state;
}

void onLoadPanelClose(LWPanelID, void *userData) noexcept { static_cast<LoadPanelState *>(userData)->host.opened = 0; }

}  // namespace

int activateLoadPanel() {
  LoadPanelState &state = loadPanelState();
  if (!state.host.build(kClipLoadName, kPanelWidth, kPanelHeight, &state, onLoadPanelClose)) return AFUNC_BADGLOBAL;
  return state.host.open();
}

}  // namespace lwp::akio
