#include "create_key.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "../../common/globals/host_globals.h"
#include "../history/cmd_hist_set_item_key.h"
#include "../history/cmd_hist_set_key.h"
#include "../history/undo_history.h"
#include "../master/master_ring.h"
#include "../master/pose_probe.h"
#include "key_time.h"
#include "run_behavior.h"
#include "run_channels.h"
#include "run_shape.h"
#include "shape_override.h"

namespace lwp::cks {

namespace {

// What every key of one Create Key shares.
struct CreateKeyRun {
  double keyTime;
  TimeRange window;
  double now;
  double dissolveValue;
  bool keepShape;
  KeyRecord shape;  // the override, when the keys do not keep their shapes
};

std::optional<KeyRecord> keyAt(LWEnvelopeID envelope, double time) {
  const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes();
  if (funcs == nullptr || envelope == nullptr) return std::nullopt;
  const LWEnvKeyframeID key = funcs->findKey(envelope, time);
  if (key == nullptr) return std::nullopt;
  return readKey(envelope, key);
}

// Keeping shapes: that of the key at the key time, else of the key at the
// current time, else TCB with zeros.
KeyRecord shapeSource(const CreateKeyRun &run, LWEnvelopeID envelope) {
  if (!run.keepShape) return run.shape;
  if (auto atKey = keyAt(envelope, run.keyTime)) return *atKey;
  if (auto atNow = keyAt(envelope, run.now)) return *atNow;
  return KeyRecord{};
}

double valueNow(LWEnvelopeID envelope, double now) {
  const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes();
  return funcs != nullptr && envelope != nullptr ? funcs->evaluate(envelope, now) : 0.0;
}

LWEnvelopeID envelopeOf(LWChannelID channel) {
  const LWChannelInfo *info = CHostGlobals::instance().channelInfo();
  return info != nullptr ? info->channelEnvelope(channel) : nullptr;
}

// Every key the new one replaces, so that an undo brings them all back: the
// keys of the window, and a key at the key time itself when it lies just
// past the window's end (the new key is written over it).
KeyRecords replacedKeys(LWEnvelopeID envelope, const CreateKeyRun &run) {
  const KeyList inWindow = keysInRange(envelope, run.window);
  KeyRecords replaced = snapshotKeys(envelope, inWindow);
  const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes();
  const LWEnvKeyframeID atKey = funcs != nullptr ? funcs->findKey(envelope, run.keyTime) : nullptr;
  if (atKey != nullptr && std::find(inWindow.begin(), inWindow.end(), atKey) == inWindow.end())
    replaced.push_back(readKey(envelope, atKey));
  return replaced;
}

void keyMotionChannel(const CreateKeyRun &run, const GatheredChannel &gathered, double value) {
  const LWEnvelopeID envelope = envelopeOf(gathered.channel);
  if (envelope == nullptr) return;
  const KeyRecord key = withShapeOf({.time = run.keyTime, .value = value}, shapeSource(run, envelope));
  KeyRecords oldKeys = replacedKeys(envelope, run);
  deleteKeysInRange(envelope, run.window);
  writeKey(envelope, key);
  undoHistory().add(std::make_unique<CmdHistSetItemKey>(gathered.channel, run.window, key, std::move(oldKeys)));
}

void keyOtherChannel(const CreateKeyRun &run, const GatheredChannel &gathered) {
  const LWEnvelopeID envelope = envelopeOf(gathered.channel);
  const double value = gathered.slot == kSlotDissolve ? run.dissolveValue : valueNow(envelope, run.now);
  const KeyRecord key = withShapeOf({.time = run.keyTime, .value = value}, shapeSource(run, envelope));
  undoHistory().add(std::make_unique<CmdHistSetKey>(gathered.channel, run.window, key));
}

void keyTarget(const RunSettings &settings, const CreateKeyRun &run, const TargetItem &target, ChannelMask valueMask) {
  const GatheredChannels channels = gatherChannels(settings, target);
  const ProbedPose pose = probePose(target.item, channels, run.keyTime, run.now);
  for (const GatheredChannel &gathered : channels) {
    if (gathered.slot >= kSlotDissolve) {
      keyOtherChannel(run, gathered);
      continue;
    }
    const auto slot = static_cast<std::size_t>(gathered.slot);
    const bool posed = (valueMask & slotMask(gathered.slot)) != 0;
    keyMotionChannel(run, gathered, posed ? pose.posed[slot] : pose.current[slot]);
  }
  addBehaviorEntries(settings, channels);
}

}  // namespace

void createKeys(const RunSettings &settings, const TargetItems &targets, double spf, double now) {
  const double frame = settings.frame.value();
  const CreateKeyRun run{frame * spf,
                         keyWindow(frame, spf),
                         now,
                         settings.dissolveFull ? 1.0 : 0.0,
                         !(settings.extraOpen && settings.keyShape),
                         shapeOverrideOf(settings)};
  const MarkReply marks = askMasterMarks();
  for (const TargetItem &target : targets)
    keyTarget(settings, run, target, settings.poseClip ? ChannelMask{0} : marks.maskOf(target.item));
}

}  // namespace lwp::cks
