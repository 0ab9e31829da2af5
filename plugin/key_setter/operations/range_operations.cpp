#include "range_operations.h"

#include <memory>
#include <stdexcept>

#include "../../common/globals/host_globals.h"
#include "../../common/text/text_format.h"
#include "../history/cmd_hist_bake.h"
#include "../history/cmd_hist_copy_keys.h"
#include "../history/cmd_hist_del_keys.h"
#include "../history/cmd_hist_move_keys.h"
#include "../history/undo_history.h"
#include "key_time.h"
#include "run_behavior.h"
#include "run_channels.h"
#include "run_shape.h"

namespace lwp::cks {

namespace {

std::unique_ptr<CmdHistBase> entryFor(const RunSettings &settings, LWChannelID channel, const RangeTimes &times,
                                      const KeyRecord &shape, double spf) {
  switch (settings.operation) {
    case kOpMove:
    case kOpScale:
      return std::make_unique<CmdHistMoveKeys>(channel, times.source, times.destination, shape);
    case kOpCopy:
      return std::make_unique<CmdHistCopyKeys>(channel, times.source, times.destination, shape, settings.count);
    case kOpBake:
      return std::make_unique<CmdHistBake>(channel, times.source, settings.step * spf, bakeSampleCount(settings),
                                           shape);
    default:
      return std::make_unique<CmdHistDelKeys>(channel, times.source);
  }
}

}  // namespace

std::int64_t bakeSampleCount(const RunSettings &settings) {
  if (settings.step < 1 || settings.to < settings.from) return 0;
  return (std::int64_t{settings.to} - settings.from) / settings.step + 1;
}

void checkBakedKeyCount(const RunSettings &settings) {
  const std::int64_t samples = bakeSampleCount(settings);
  if (samples > kMaxKeysPerChannel)
    throw std::length_error(formatGrowing("Bake would make %lld keys on each channel, more than %lld.",
                                          static_cast<long long>(samples), static_cast<long long>(kMaxKeysPerChannel)));
}

void checkCopiedKeyCounts(const RunSettings &settings, const TargetItems &targets, double spf) {
  if (settings.count < 1) return;
  const TimeRange source = frameRange(settings.from, settings.to, spf);
  const LWChannelInfo *info = CHostGlobals::instance().channelInfo();
  if (info == nullptr) return;
  for (const TargetItem &target : targets) {
    for (const GatheredChannel &gathered : gatherChannels(settings, target)) {
      const LWEnvelopeID envelope = info->channelEnvelope(gathered.channel);
      if (envelope == nullptr) continue;
      const auto keys = static_cast<std::int64_t>(keysInRange(envelope, source).size()) * settings.count;
      if (keys > kMaxKeysPerChannel)
        throw std::length_error(formatGrowing("Copy would make %lld keys on one channel, more than %lld.",
                                              static_cast<long long>(keys),
                                              static_cast<long long>(kMaxKeysPerChannel)));
    }
  }
}

RangeTimes rangeTimesOf(const RunSettings &settings, double spf) {
  if (settings.operation == kOpDeleteKey) return {keyWindow(settings.frame.value(), spf), {}};
  const TimeRange source = frameRange(settings.from, settings.to, spf);
  const double width = source.end - source.start;
  switch (settings.operation) {
    case kOpMove:
      return {source, {source.start + settings.offset * spf, source.end + settings.offset * spf}};
    case kOpScale:
      // Scaled about the start of the range.
      return {source, {source.start, source.start + width * settings.factor}};
    case kOpCopy: {
      const double first = settings.destination * spf;
      return {source, {first, first + width}};
    }
    default:
      return {source, {}};
  }
}

void addRangeEntries(const RunSettings &settings, const TargetItems &targets, double spf) {
  const RangeTimes times = rangeTimesOf(settings, spf);
  const KeyRecord shape = shapeOverrideOf(settings);
  for (const TargetItem &target : targets) {
    const GatheredChannels channels = gatherChannels(settings, target);
    for (const GatheredChannel &gathered : channels)
      undoHistory().add(entryFor(settings, gathered.channel, times, shape, spf));
    addBehaviorEntries(settings, channels);
  }
}

}  // namespace lwp::cks
