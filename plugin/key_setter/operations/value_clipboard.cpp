#include "value_clipboard.h"

#include <memory>
#include <utility>

#include "../../common/globals/host_globals.h"
#include "../history/cmd_hist_set_key.h"
#include "../history/undo_history.h"
#include "key_time.h"
#include "run_channels.h"
#include "run_shape.h"
#include "run_targets.h"
#include "shape_override.h"

namespace lwp::cks {

namespace {

double currentValueOf(const GatheredChannel &gathered, double now) {
  const CHostGlobals &globals = CHostGlobals::instance();
  const LWChannelInfo *info = globals.channelInfo();
  if (info == nullptr) return 0.0;
  if (gathered.slot >= kSlotDissolve) return info->channelEvaluate(gathered.channel, now);
  const LWEnvelopeID envelope = info->channelEnvelope(gathered.channel);
  const LWEnvelopeFuncs *funcs = globals.envelopes();
  return envelope != nullptr && funcs != nullptr ? funcs->evaluate(envelope, now) : 0.0;
}

}  // namespace

CopiedValues &valueClipboard() {
  static CopiedValues values;
  return values;
}

void copyCurrentValues(const RunSettings &settings) {
  // Filled aside, so that a copy that fails leaves the clipboard empty
  // rather than half filled.
  valueClipboard().clear();
  CopiedValues copied;
  const double now = currentTime();
  for (const TargetItem &target : gatherTargets(settings))
    for (const GatheredChannel &gathered : gatherChannels(settings, target))
      copied.emplace_back(gathered.channel, currentValueOf(gathered, now));
  valueClipboard() = std::move(copied);
}

void addPasteEntries(const RunSettings &settings) {
  const double now = currentTime();
  const double spf = secondsPerFrame();
  const KeyRecord shape = shapeOverrideOf(settings);
  const TimeRange frame{now, now + spf};
  for (const auto &[channel, value] : valueClipboard()) {
    KeyRecord key;
    key.time = now;
    key.value = value;
    undoHistory().add(std::make_unique<CmdHistSetKey>(channel, frame, withShapeOf(key, shape)));
  }
}

}  // namespace lwp::cks
