#include "pose_probe.h"

#include <optional>
#include <vector>

#include "../../common/commands/key_commands.h"
#include "../../common/globals/host_globals.h"
#include "../../common/text/text_format.h"
#include "../operations/channel_mask.h"

namespace lwp::cks {

namespace {

struct ProbedChannel {
  LWEnvelopeID envelope;
  std::size_t slot;
  std::optional<double> valueBefore;  // of the key that stood at the key time
};

double keyValue(const LWEnvelopeFuncs &funcs, LWEnvelopeID envelope, LWEnvKeyframeID key) {
  double value = 0.0;
  funcs.keyGet(envelope, key, LWKEY_VALUE, &value);
  return value;
}

// Reads what Layout keyed and puts the envelope back as it was.
double takeBackProbeKey(const LWEnvelopeFuncs &funcs, const ProbedChannel &probed, double keyTime) {
  const LWEnvKeyframeID key = funcs.findKey(probed.envelope, keyTime);
  if (key == nullptr) return funcs.evaluate(probed.envelope, keyTime);
  const double posed = keyValue(funcs, probed.envelope, key);
  if (probed.valueBefore) {
    double before = *probed.valueBefore;
    funcs.keySet(probed.envelope, key, LWKEY_VALUE, &before);
  } else {
    funcs.destroyKey(probed.envelope, key);
  }
  return posed;
}

}  // namespace

ProbedPose probePose(LWItemID item, const GatheredChannels &channels, double keyTime, double now) {
  ProbedPose pose;
  const CHostGlobals &globals = CHostGlobals::instance();
  const LWEnvelopeFuncs *funcs = globals.envelopes();
  const LWChannelInfo *info = globals.channelInfo();
  if (funcs == nullptr || info == nullptr) return pose;
  std::vector<ProbedChannel> probed;
  ChannelMask commandMask = 0;
  for (const GatheredChannel &gathered : channels) {
    if (gathered.slot < 0 || gathered.slot >= kSlotDissolve) continue;
    const LWEnvelopeID envelope = info->channelEnvelope(gathered.channel);
    if (envelope == nullptr) continue;
    const auto slot = static_cast<std::size_t>(gathered.slot);
    pose.current[slot] = funcs->evaluate(envelope, now);
    std::optional<double> before;
    if (const LWEnvKeyframeID key = funcs->findKey(envelope, keyTime)) before = keyValue(*funcs, envelope, key);
    probed.push_back({envelope, slot, before});
    commandMask |= slotMask(gathered.slot);
  }
  // Issued even with an empty mask, as Layout's own keying would be.
  issueCommand(formatGrowing("SelectItem 0x%x", idArg(item)));
  issueCommand(formatGrowing("CreateKey %.15f 0 0x%03x", keyTime, static_cast<unsigned int>(commandMask)));
  for (const ProbedChannel &channel : probed) pose.posed[channel.slot] = takeBackProbeKey(*funcs, channel, keyTime);
  return pose;
}

}  // namespace lwp::cks
