// The host's handles (groups, channels, envelopes, keys) are addresses of its
// own records. Every live record is registered with its kind and owner, so
// that a handle from the module is checked in constant time before use.
#pragma once

namespace lwsim {

enum class HandleKind { Group, Channel, Envelope, Key };

void registerHandle(const void *handle, HandleKind kind, const void *owner);
void unregisterHandle(const void *handle);
bool isLiveHandle(const void *handle, HandleKind kind);
// The owner a live handle was registered with; null for none or dead.
const void *handleOwner(const void *handle);
// A live handle of that kind registered with that owner: one look-up.
bool isLiveHandleOf(const void *handle, HandleKind kind, const void *owner);

// The record behind a handle of that kind, or null.
template <typename Record>
Record *liveHandle(const void *handle, HandleKind kind) {
  return isLiveHandle(handle, kind) ? static_cast<Record *>(const_cast<void *>(handle)) : nullptr;
}

}  // namespace lwsim
