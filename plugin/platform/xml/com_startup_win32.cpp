#include <objbase.h>

#include "com_startup.h"

namespace lwp::platform {

void startComOnce() noexcept {
  // The host calls the module on its interface thread only. A host that
  // started COM itself answers S_FALSE, which counts as started.
  static bool started = false;
  if (!started && SUCCEEDED(CoInitialize(nullptr))) started = true;
}

}  // namespace lwp::platform
