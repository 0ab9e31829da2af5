// A modal message box with an OK button and no owner window, for problems
// the module can only tell the user about outside the host's own services.
#pragma once

#include <string>

namespace lwp::platform {

// title and text are UTF-8. Never throws.
void showMessageBox(const std::string &title, const std::string &text) noexcept;

// A host program that shows the module's message boxes itself (the
// simulated host) exports a C function of this name and type. Without one
// the box is the system's own on Windows (MessageBoxW, modal, no owner) and
// standard error on POSIX.
inline constexpr const char *kMessageBoxEntryName = "lwpShowMessageBox";
using MessageBoxEntry = void (*)(const char *title, const char *text);

}  // namespace lwp::platform
