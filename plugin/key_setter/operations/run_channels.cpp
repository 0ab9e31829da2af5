#include "run_channels.h"

#include "../../common/channels/key_channels.h"

namespace lwp::cks {

namespace {

int clipSetSlot(const ClipSetChannel &recorded, LWItemID item) {
  if (recorded.slot < kSlotDissolve) return recorded.slot;
  return isMorphChannel(recorded.channel, item) ? kSlotMorph : kSlotOther;
}

}  // namespace

bool slotEnabled(const RunSettings &settings, int slot, ChannelMask mask) {
  if (slot >= 0 && slot < kSlotDissolve)
    return settings.axes[static_cast<std::size_t>(slot)] && (mask & slotMask(slot)) != 0;
  if (slot == kSlotDissolve) return settings.dissolve;
  if (slot == kSlotMorph) return settings.morph;
  return settings.misc;
}

GatheredChannels gatherChannels(const RunSettings &settings, const TargetItem &target) {
  GatheredChannels gathered;
  auto keepIfEnabled = [&](LWChannelID channel, int slot) {
    if (slotEnabled(settings, slot, target.mask)) gathered.push_back({channel, slot});
  };
  if (settings.poseClip) {
    for (const ClipSetChannel &recorded : target.channels)
      keepIfEnabled(recorded.channel, clipSetSlot(recorded, target.item));
  } else {
    for (LWChannelID channel : itemChannelsKS(target.item)) keepIfEnabled(channel, channelSlot(channel, target.item));
  }
  return gathered;
}

}  // namespace lwp::cks
