#include "com_startup.h"

namespace lwp::platform {

// The POSIX parser needs no start-up.
void startComOnce() noexcept {}

}  // namespace lwp::platform
