#include "handle_registry.h"

#include <array>
#include <memory_resource>
#include <unordered_map>

namespace lwsim {

namespace {

struct Registry {
  // Entries are made as records are, in the order a plug-in later walks
  // them; pooled, they lie together instead of among the records.
  std::pmr::unsynchronized_pool_resource nodes;
  std::pmr::unordered_map<const void *, HandleKind> live{&nodes};
  // The handle of each kind last known live: a plug-in passes the same
  // envelope or channel many times in a row, and this spares those calls the
  // hash.
  std::array<const void *, kHandleKinds> recent{};
};

Registry &registry() {
  static Registry handles;
  return handles;
}

const void *&recentOf(Registry &r, HandleKind kind) { return r.recent[static_cast<std::size_t>(kind)]; }

void forget(Registry &r, const void *handle) {
  for (const void *&each : r.recent)
    if (each == handle) each = nullptr;
}

}  // namespace

void registerHandle(const void *handle, HandleKind kind) {
  Registry &r = registry();
  r.live[handle] = kind;
  forget(r, handle);
}

void unregisterHandle(const void *handle) {
  Registry &r = registry();
  r.live.erase(handle);
  forget(r, handle);
}

bool isLiveHandle(const void *handle, HandleKind kind) {
  Registry &r = registry();
  if (handle == nullptr) return false;
  if (handle == recentOf(r, kind)) return true;
  const auto found = r.live.find(handle);
  if (found == r.live.end() || found->second != kind) return false;
  recentOf(r, kind) = handle;
  return true;
}

void noteLiveHandle(const void *handle, HandleKind kind) { recentOf(registry(), kind) = handle; }

}  // namespace lwsim
