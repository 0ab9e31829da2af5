#include "cmd_hist_bake.h"

#include "../common/host_globals.h"
#include "history_keys.h"
#include "shape_override.h"

namespace lwp::cks {

namespace {

double envelopeValue(LWEnvelopeID envelope, double time) {
  const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes();
  return funcs != nullptr ? funcs->evaluate(envelope, time) : 0.0;
}

}  // namespace

CmdHistBake::CmdHistBake(LWChannelID channel, const TimeRange &range, double step, const KeyRecord &shapeOverride)
    : CmdHistBase(channel), range_(range), step_(step), shapeOverride_(shapeOverride) {}

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
  // A time so large that the step no longer moves it ends the sampling too.
  for (double time = range_.start; time < range_.end; time = time + step_) {
    KeyRecord key = withShapeOf(KeyRecord{}, shape);
    key.time = time;
    key.value = envelopeValue(envelope, time);
    keys.push_back(key);
    if (time + step_ <= time) break;
  }
  return keys;
}

}  // namespace lwp::cks
