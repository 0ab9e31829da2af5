// The channel groups the panels offer, and the key setter's channel slots.
#pragma once

#include <array>

namespace lwp {

// The panels' channel check boxes, in this order.
enum TransformGroup : int {
  kGroupPosition = 0,
  kGroupRotation = 1,
  kGroupScale = 2,
  kGroupMorph = 3,
  kGroupMisc = 4,
};

// Slots 0 to 9 by channel name in the item's own group; slots 0 to 8 are
// the bits of the key setter's channel mask.
inline constexpr std::array<const char *, 10> kSlotChannelNames = {
    "Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
    "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z",    "Dissolve"};
inline constexpr int kSlotDissolve = 9;
inline constexpr int kSlotMorph = 10;
inline constexpr int kSlotOther = 11;

}  // namespace lwp
