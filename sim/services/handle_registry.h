// The host's handles of groups, channels and envelopes are addresses of its
// own records. Every live record is registered with its kind, so that a
// handle from the module is checked in constant time before use. Keys are
// checked by their envelope (see Envelope::contains).
#pragma once

#include <cstddef>

namespace lwsim {

enum class HandleKind { Group, Channel, Envelope };
inline constexpr std::size_t kHandleKinds = 3;

void registerHandle(const void *handle, HandleKind kind);
void unregisterHandle(const void *handle);
bool isLiveHandle(const void *handle, HandleKind kind);
// Tells that a registered handle is live, as when the host hands out the
// envelope of a live channel, so that its next check needs no look-up.
void noteLiveHandle(const void *handle, HandleKind kind);

// The record behind a handle of that kind, or null.
template <typename Record>
Record *liveHandle(const void *handle, HandleKind kind) {
  return isLiveHandle(handle, kind) ? static_cast<Record *>(const_cast<void *>(handle)) : nullptr;
}

}  // namespace lwsim
