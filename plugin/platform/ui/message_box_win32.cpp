#include <windows.h>

#include "../text/wide_text_win32.h"
#include "message_box.h"

namespace lwp::platform {

namespace {

// The entry a host program exports in place of the system's box.
MessageBoxEntry hostEntry() {
  const FARPROC entry = GetProcAddress(GetModuleHandleW(nullptr), kMessageBoxEntryName);
  return reinterpret_cast<MessageBoxEntry>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

void showMessageBox(const std::string &title, const std::string &text) noexcept {
  if (const MessageBoxEntry entry = hostEntry()) {
    entry(title.c_str(), text.c_str());
    return;
  }
  try {
    MessageBoxW(nullptr, wideForDisplay(text, CP_UTF8).c_str(), wideForDisplay(title, CP_UTF8).c_str(), MB_OK);
  } catch (...) {
    // Without memory for the texts there is no box to show.
  }
}

}  // namespace lwp::platform
