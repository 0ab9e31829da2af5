#include "host_globals.h"

namespace lwp {

CHostGlobals &CHostGlobals::instance() {
  static CHostGlobals globals;
  return globals;
}

void CHostGlobals::acquire(GlobalFunc *lookupFunction) {
  if (!initialised_) {
    lookup_ = lookupFunction;
    initialised_ = true;
  }
  if (lookup_ == nullptr) return;
  for (std::size_t i = 0; i < kIds.size(); ++i)
    if (entries_[i] == nullptr) entries_[i] = lookup_(kIds[i], GFUSE_TRANSIENT);
}

const char *CHostGlobals::missingToolService() const {
  for (const std::size_t slot : {kEnvelopes, kItemInfo, kObjectInfo, kSceneObjects, kChannelInfo})
    if (entries_[slot] == nullptr) return kIds[slot];
  return nullptr;
}

}  // namespace lwp
