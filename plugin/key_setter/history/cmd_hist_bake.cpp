#include "cmd_hist_bake.h"

#include <algorithm>

#include "../../common/globals/host_globals.h"
#include "../operations/shape_override.h"
#include "history_keys.h"

namespace lwp::cks {

namespace {

double envelopeValue(LWEnvelopeID envelope, double time) {
  const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes();
  return funcs != nullptr ? funcs->evaluate(envelope, time) : 0.0;
}

}  // namespace

CmdHistBake::CmdHistBake(LWChannelID channel, const TimeRange &range, double step, std::int64_t samples,
                         const KeyRecord &shapeOverride)
    : CmdHistBase(channel), range_(range), step_(step), samples_(samples), shapeOverride_(shapeOverride) {}

bool CmdHistBake::check() { return channelHasEnvelope() && step_ > kMinimumSpan; }

void CmdHistBake::doIt() {
  const LWEnvelopeID target = envelope();
  // Sampled before anything is deleted, so that the keys follow the curve
  // as it was.
  newKeys_ = sampledKeys(target);
  saved_ = takeKeys(target, range_);
  restoreKeys(target, newKeys_);
}

void CmdHistBake::redoIt() { replaceKeys(envelope(), range_, newKeys_); }

void CmdHistBake::undoIt() { replaceKeys(envelope(), range_, saved_); }

KeyRecords CmdHistBake::sampledKeys(LWEnvelopeID envelope) const {
  const KeyRecord shape = keepsOwnShape(shapeOverride_) ? KeyRecord{} : shapeOverride_;
  KeyRecords keys;
  keys.reserve(static_cast<std::size_t>(std::max<std::int64_t>(samples_, 0)));
  for (std::int64_t i = 0; i < samples_; ++i) {
    KeyRecord key = withShapeOf(KeyRecord{}, shape);
    key.time = range_.start + step_ * static_cast<double>(i);
    key.value = envelopeValue(envelope, key.time);
    keys.push_back(key);
  }
  return keys;
}

}  // namespace lwp::cks
