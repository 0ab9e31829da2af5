#include "history_keys.h"

namespace lwp::cks {

double spanOf(const TimeRange &range) { return range.end - range.start; }

bool hasSpan(const TimeRange &range) { return spanOf(range) > kMinimumSpan; }

KeyRecords takeKeys(LWEnvelopeID envelope, const TimeRange &range) {
  KeyRecords taken = snapshotKeys(envelope, keysInRange(envelope, range));
  deleteKeysInRange(envelope, range);
  return taken;
}

void replaceKeys(LWEnvelopeID envelope, const TimeRange &range, const KeyRecords &records) {
  deleteKeysInRange(envelope, range);
  restoreKeys(envelope, records);
}

}  // namespace lwp::cks
