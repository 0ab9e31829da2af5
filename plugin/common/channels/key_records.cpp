#include "key_records.h"

#include "../globals/host_globals.h"

namespace lwp {

namespace {

constexpr double kKeyTimeShift = 0.000001;

const LWEnvelopeFuncs *envelopes() { return CHostGlobals::instance().envelopes(); }

double keyNumber(const LWEnvelopeFuncs &funcs, LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag) {
  double number = 0.0;
  funcs.keyGet(envelope, key, tag, &number);
  return number;
}

void setKeyNumber(const LWEnvelopeFuncs &funcs, LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag,
                  double number) {
  funcs.keySet(envelope, key, tag, &number);
}

}  // namespace

bool TimeRange::isFull() const {
  const TimeRange full = fullRange();
  return start == full.start && end == full.end;
}

TimeRange fullRange() { return {std::numeric_limits<double>::min(), std::numeric_limits<double>::max()}; }

KeyRecord readKey(LWEnvelopeID envelope, LWEnvKeyframeID key) {
  KeyRecord record;
  const LWEnvelopeFuncs *funcs = envelopes();
  if (funcs == nullptr) return record;
  funcs->keyGet(envelope, key, LWKEY_SHAPE, &record.shape);
  if (record.shape != SHAPE_TCB) {
    for (int i = 0; i < 4; ++i)
      record.param[static_cast<std::size_t>(i)] = keyNumber(*funcs, envelope, key, LWKEY_PARAM_0 + i);
  } else {
    record.tension = keyNumber(*funcs, envelope, key, LWKEY_TENSION);
    record.continuity = keyNumber(*funcs, envelope, key, LWKEY_CONTINUITY);
    record.bias = keyNumber(*funcs, envelope, key, LWKEY_BIAS);
  }
  record.time = keyNumber(*funcs, envelope, key, LWKEY_TIME);
  record.value = keyNumber(*funcs, envelope, key, LWKEY_VALUE);
  return record;
}

void writeKey(LWEnvelopeID envelope, const KeyRecord &record) {
  const LWEnvelopeFuncs *funcs = envelopes();
  if (funcs == nullptr) return;
  const LWEnvKeyframeID key = funcs->createKey(envelope, record.time, record.value);
  if (key == nullptr) return;
  int shape = record.shape;
  funcs->keySet(envelope, key, LWKEY_SHAPE, &shape);
  if (record.shape != SHAPE_TCB) {
    for (int i = 0; i < 4; ++i)
      setKeyNumber(*funcs, envelope, key, LWKEY_PARAM_0 + i, record.param[static_cast<std::size_t>(i)]);
  } else {
    setKeyNumber(*funcs, envelope, key, LWKEY_TENSION, record.tension);
    setKeyNumber(*funcs, envelope, key, LWKEY_CONTINUITY, record.continuity);
    setKeyNumber(*funcs, envelope, key, LWKEY_BIAS, record.bias);
  }
}

KeyList keysInRange(LWEnvelopeID envelope, const TimeRange &range) {
  KeyList keys;
  const LWEnvelopeFuncs *funcs = envelopes();
  if (funcs == nullptr) return keys;
  const bool everyKey = range.isFull();
  for (LWEnvKeyframeID key = funcs->nextKey(envelope, nullptr); key != nullptr; key = funcs->nextKey(envelope, key)) {
    if (everyKey) {
      keys.push_back(key);
      continue;
    }
    const double shifted = keyNumber(*funcs, envelope, key, LWKEY_TIME) + kKeyTimeShift;
    if (shifted < range.start) continue;
    if (shifted >= range.end) break;
    keys.push_back(key);
  }
  return keys;
}

KeyRecords snapshotKeys(LWEnvelopeID envelope, const KeyList &keys) {
  KeyRecords records;
  records.reserve(keys.size());
  for (LWEnvKeyframeID key : keys) records.push_back(readKey(envelope, key));
  return records;
}

void restoreKeys(LWEnvelopeID envelope, const KeyRecords &records) {
  for (const KeyRecord &record : records) writeKey(envelope, record);
}

void deleteKeysInRange(LWEnvelopeID envelope, const TimeRange &range) {
  const LWEnvelopeFuncs *funcs = envelopes();
  if (funcs == nullptr) return;
  for (LWEnvKeyframeID key : keysInRange(envelope, range)) funcs->destroyKey(envelope, key);
}

}  // namespace lwp
