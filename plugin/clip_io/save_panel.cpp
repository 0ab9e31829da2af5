#include "save_panel.h"

#include "../common/server_names.h"
#include "clip_panel_host.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 340;
constexpr int kPanelHeight = 170;

// One per process, from the first activation until the module unloads.
struct SavePanelState {
  ClipPanelHost host;
};

SavePanelState &savePanelState() {
  static SavePanelState state;
  return state;
}

void onSavePanelClose(LWPanelID, void *userData) noexcept { static_cast<SavePanelState *>(userData)->host.opened = 0; }

}  // namespace

int activateSavePanel() {
  SavePanelState &state = savePanelState();
  if (!state.host.build(kClipSaveName, kPanelWidth, kPanelHeight, &state, onSavePanelClose)) return AFUNC_BADGLOBAL;
  return state.host.open();
}

}  // namespace lwp::akio
