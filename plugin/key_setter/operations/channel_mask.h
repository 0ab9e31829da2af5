// The key setter's channel mask: one bit per motion channel, bit 0
// Position.X to bit 8 Scale.Z (the channel slots 0 to 8).
#pragma once

#include <cstdint>

#include "../../common/channels/transform_channels.h"

namespace lwp::cks {

using ChannelMask = std::uint32_t;

inline constexpr ChannelMask kPositionMask = 0x007;
inline constexpr ChannelMask kRotationMask = 0x038;
inline constexpr ChannelMask kScaleMask = 0x1C0;
inline constexpr ChannelMask kAllChannelsMask = 0x1FF;

// The three channels of a motion group (position, rotation or scale).
constexpr ChannelMask groupMask(int group) { return ChannelMask{7} << (3 * group); }

// A channel slot's bit; slots from 9 on (dissolve, morph, other) have none.
constexpr ChannelMask slotMask(int slot) { return slot >= 0 && slot < kSlotDissolve ? ChannelMask{1} << slot : 0; }

static_assert(groupMask(kGroupPosition) == kPositionMask && groupMask(kGroupRotation) == kRotationMask &&
                  groupMask(kGroupScale) == kScaleMask,
              "one mask per motion group");

}  // namespace lwp::cks
