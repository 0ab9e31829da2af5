// The host side of a clip panel, which the save and load panels share: the
// title, the host panel made once per process, and the open state.
#pragma once

#include <string>

#include "../host/lwpanel.h"

namespace lwp::akio {

// Panel open flag of both clip panels: non-blocking, no host OK/Cancel.
inline constexpr int kClipPanelOpenFlags = PANF_NOBUTT;

struct ClipPanelHost {
  std::string title;
  LWPanelID panel = nullptr;
  int opened = 0;  // the host's answer to the last open; 0 once closed

  // Makes the host panel unless it exists, then opens it non-blocking; the
  // activation's result (2 when the host cannot make or open it).
  int activate(const char *serverName, int width, int height);

 private:
  bool build(const char *serverName, int width, int height);
  static void onClose(LWPanelID panel, void *userData) noexcept;
};

}  // namespace lwp::akio
