#include "handle_registry.h"

#include <unordered_map>

namespace lwsim {

namespace {

struct Registry {
  std::unordered_map<const void *, HandleKind> live;
  // The handle last found live: a plug-in passes the same envelope or channel
  // many times in a row, and this spares those calls the hash.
  const void *lastFound = nullptr;
  HandleKind lastKind{};
};

Registry &registry() {
  static Registry handles;
  return handles;
}

}  // namespace

void registerHandle(const void *handle, HandleKind kind) {
  Registry &r = registry();
  r.live[handle] = kind;
  if (handle == r.lastFound) r.lastFound = nullptr;
}

void unregisterHandle(const void *handle) {
  Registry &r = registry();
  r.live.erase(handle);
  if (handle == r.lastFound) r.lastFound = nullptr;
}

bool isLiveHandle(const void *handle, HandleKind kind) {
  Registry &r = registry();
  if (handle == nullptr) return false;
  if (handle == r.lastFound) return kind == r.lastKind;
  const auto found = r.live.find(handle);
  if (found == r.live.end()) return false;
  r.lastFound = handle;
  r.lastKind = found->second;
  return found->second == kind;
}

}  // namespace lwsim
