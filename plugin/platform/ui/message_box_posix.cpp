#include <dlfcn.h>

#include <cstdio>

#include "message_box.h"

namespace lwp::platform {

void showMessageBox(const std::string &title, const std::string &text) noexcept {
  // Looked up at every call: the process's exports do not change, and a
  // box is rare.
  if (void *entry = dlsym(RTLD_DEFAULT, kMessageBoxEntryName)) {
    reinterpret_cast<MessageBoxEntry>(entry)(title.c_str(), text.c_str());
    return;
  }
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

}  // namespace lwp::platform
