#include "handle_registry.h"

#include <unordered_map>
#include <utility>

namespace lwsim {

namespace {

using Entry = std::pair<HandleKind, const void *>;

std::unordered_map<const void *, Entry> &handles() {
  static std::unordered_map<const void *, Entry> live;
  return live;
}

}  // namespace

void registerHandle(const void *handle, HandleKind kind, const void *owner) { handles()[handle] = {kind, owner}; }

void unregisterHandle(const void *handle) { handles().erase(handle); }

bool isLiveHandle(const void *handle, HandleKind kind) {
  const auto found = handles().find(handle);
  return handle != nullptr && found != handles().end() && found->second.first == kind;
}

const void *handleOwner(const void *handle) {
  const auto found = handles().find(handle);
  return found != handles().end() ? found->second.second : nullptr;
}

bool isLiveHandleOf(const void *handle, HandleKind kind, const void *owner) {
  const auto found = handles().find(handle);
  return handle != nullptr && found != handles().end() && found->second == Entry{kind, owner};
}

}  // namespace lwsim
