#include "handle_registry.h"

#include <unordered_map>

namespace lwsim {

namespace {

std::unordered_map<const void *, HandleKind> &handles() {
  static std::unordered_map<const void *, HandleKind> live;
  return live;
}

}  // namespace

void registerHandle(const void *handle, HandleKind kind) { handles()[handle] = kind; }

void unregisterHandle(const void *handle) { handles().erase(handle); }

bool isLiveHandle(const void *handle, HandleKind kind) {
  const auto found = handles().find(handle);
  return handle != nullptr && found != handles().end() && found->second == kind;
}

}  // namespace lwsim
