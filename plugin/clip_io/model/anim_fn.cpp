#include "anim_fn.h"

#include <cmath>
#include <vector>

#include "../../common/channels/clip_channels.h"
#include "../../common/globals/clip_globals.h"

namespace lwp::akio {

namespace {

LWEnvelopeID envelopeOf(LWChannelID channel) {
  LWChannelInfo *channels = CClipGlobals::instance().channelInfo();
  return channels != nullptr && channel != nullptr ? channels->channelEnvelope(channel) : nullptr;
}

bool keyTime(const LWEnvelopeFuncs &envelopes, LWEnvelopeID envelope, LWEnvKeyframeID key, double &time) {
  return envelopes.keyGet(envelope, key, LWKEY_TIME, &time) != 0;
}

double keyNumber(const LWEnvelopeFuncs &envelopes, LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag) {
  double number = 0.0;
  envelopes.keyGet(envelope, key, tag, &number);
  return number;
}

void fillKey(const LWEnvelopeFuncs &envelopes, LWEnvelopeID envelope, LWEnvKeyframeID key, AnimClipKey &out) {
  out.value = keyNumber(envelopes, envelope, key, LWKEY_VALUE);
  int shape = 0;
  envelopes.keyGet(envelope, key, LWKEY_SHAPE, &shape);
  out.shape = shape;
  out.tension = keyNumber(envelopes, envelope, key, LWKEY_TENSION);
  out.continuity = keyNumber(envelopes, envelope, key, LWKEY_CONTINUITY);
  out.bias = keyNumber(envelopes, envelope, key, LWKEY_BIAS);
  out.param0 = keyNumber(envelopes, envelope, key, LWKEY_PARAM_0);
  out.param1 = keyNumber(envelopes, envelope, key, LWKEY_PARAM_1);
  out.param2 = keyNumber(envelopes, envelope, key, LWKEY_PARAM_2);
  out.param3 = keyNumber(envelopes, envelope, key, LWKEY_PARAM_3);
}

void setNumber(const LWEnvelopeFuncs &envelopes, LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag,
               double number) {
  envelopes.keySet(envelope, key, tag, &number);
}

void setKeyFields(const LWEnvelopeFuncs &envelopes, LWEnvelopeID envelope, LWEnvKeyframeID key,
                  const AnimClipKey &from) {
  int shape = from.shape;
  envelopes.keySet(envelope, key, LWKEY_SHAPE, &shape);
  setNumber(envelopes, envelope, key, LWKEY_TENSION, from.tension);
  setNumber(envelopes, envelope, key, LWKEY_CONTINUITY, from.continuity);
  setNumber(envelopes, envelope, key, LWKEY_BIAS, from.bias);
  setNumber(envelopes, envelope, key, LWKEY_PARAM_0, from.param0);
  setNumber(envelopes, envelope, key, LWKEY_PARAM_1, from.param1);
  setNumber(envelopes, envelope, key, LWKEY_PARAM_2, from.param2);
  setNumber(envelopes, envelope, key, LWKEY_PARAM_3, from.param3);
}

}  // namespace

AnimClipChannel CLWAnimFn::readKeys(LWItemID item, LWChannelID channel) const {
  AnimClipChannel out{channelPath(channel, item), {}};
  const LWEnvelopeFuncs *envelopes = CClipGlobals::instance().envelopes();
  const LWEnvelopeID envelope = envelopeOf(channel);
  if (envelopes == nullptr || envelope == nullptr) return out;
  for (LWEnvKeyframeID key = envelopes->nextKey(envelope, nullptr); key != nullptr;
       key = envelopes->nextKey(envelope, key)) {
    double time = 0.0;
    // A key whose time the host cannot tell is passed over.
    if (!keyTime(*envelopes, envelope, key, time) || !inWindow(time)) continue;
    AnimClipKey &captured = out.keys.emplace_back();
    captured.time = time + timeOffset;
    fillKey(*envelopes, envelope, key, captured);
  }
  return out;
}

void CLWAnimFn::deleteKeys(LWEnvelopeID envelope) const {
  const LWEnvelopeFuncs &envelopes = *CClipGlobals::instance().envelopes();
  LWEnvKeyframeID key = envelopes.nextKey(envelope, nullptr);
  while (key != nullptr) {
    double time = 0.0;
    const bool timed = keyTime(envelopes, envelope, key, time);
    const LWEnvKeyframeID next = envelopes.nextKey(envelope, key);
    const bool doomed = deleteMode >= 2 || (timed && deleteStart <= time && time < deleteEnd);
    if (doomed) envelopes.destroyKey(envelope, key);
    key = next;
  }
}

KeyWriteCount CLWAnimFn::writeKeys(LWChannelID channel, const AnimClipChannel &clipChannel, double valueOffset,
                                   double valueScale) const {
  const LWEnvelopeFuncs *envelopes = CClipGlobals::instance().envelopes();
  const LWEnvelopeID envelope = envelopeOf(channel);
  if (envelopes == nullptr || envelope == nullptr) return {};
  struct Placed {
    double time;
    double value;
    const AnimClipKey *from;
  };
  std::vector<Placed> taken;
  KeyWriteCount count;
  for (const AnimClipKey &from : clipChannel.keys) {
    // A key at an infinite or undefined time or of such a value would make
    // the whole channel evaluate to NaN.
    if (!std::isfinite(from.time)) {
      ++count.skipped;
      continue;
    }
    if (!inWindow(from.time)) continue;
    const Placed placed{from.time + timeOffset, (valueOffset + from.value) * valueScale, &from};
    if (std::isfinite(placed.time) && std::isfinite(placed.value))
      taken.push_back(placed);
    else
      ++count.skipped;
  }
  // A channel the clip brings no key to keeps its own: deleting them would
  // leave it empty.
  if (taken.empty()) return count;
  if (deleteMode > 0) deleteKeys(envelope);
  for (const Placed &placed : taken) {
    const LWEnvKeyframeID key = envelopes->createKey(envelope, placed.time, placed.value);
    if (key != nullptr)
      setKeyFields(*envelopes, envelope, key, *placed.from);
    else
      ++count.refused;
  }
  return count;
}

}  // namespace lwp::akio
