#include "host_globals.h"

namespace lwp {

CHostGlobals &CHostGlobals::instance() {
  static CHostGlobals globals;
  return globals;
}

void CHostGlobals::acquire(GlobalFunc *lookupFunction) {
  if (initialised_) return;
  lookup_ = lookupFunction;
  initialised_ = true;
  if (lookupFunction == nullptr) return;
  for (std::size_t i = 0; i < kIds.size(); ++i) entries_[i] = lookupFunction(kIds[i], GFUSE_TRANSIENT);
}

}  // namespace lwp
