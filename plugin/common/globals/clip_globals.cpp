#include "clip_globals.h"

namespace lwp {

namespace {

// "Locale Info" answers a language id; a zero id counts as missing.
bool isPresent(std::size_t slot, std::size_t localeSlot, void *answer) {
  const auto value = reinterpret_cast<std::uintptr_t>(answer);
  if (slot == localeSlot) return (value & 0xFFFFFFFFu) != 0;
  return value != 0;
}

}  // namespace

CClipGlobals &CClipGlobals::instance() {
  static CClipGlobals globals;
  return globals;
}

bool CClipGlobals::acquire(GlobalFunc *lookupFunction) {
  lookup_ = lookupFunction;
  if (lookupFunction == nullptr) return false;
  for (std::size_t slot = 0; slot < kIds.size(); ++slot) {
    void *answer = lookupFunction(kIds[slot], GFUSE_TRANSIENT);
    entries_[slot] = answer;
    if (!isPresent(slot, kLocale, answer)) return false;
    // The panel services need the lookup function before any panel is made.
    if (slot == kPanels) static_cast<LWPanelFuncs *>(answer)->globalFun = lookupFunction;
  }
  return true;
}

bool acquireClipGlobals(GlobalFunc *lookup) { return CClipGlobals::instance().acquire(lookup); }

}  // namespace lwp
