// Key transfer between a host envelope and a clip channel, within a time
// window, with an offset and an optional deletion of destination keys.
#pragma once

#include <cstddef>

#include "../../host/lwchannel.h"
#include "../../host/lwitem.h"
#include "anim_clip.h"

namespace lwp::akio {

// Keys of a clip that did not become keys of the scene.
struct KeyWriteCount {
  std::size_t skipped = 0;  // of a time or value that is not finite
  std::size_t refused = 0;  // by the host
  KeyWriteCount &operator+=(const KeyWriteCount &other) {
    skipped += other.skipped;
    refused += other.refused;
    return *this;
  }
};

class CLWAnimFn {
 public:
  virtual ~CLWAnimFn() = default;

  // A key takes part when timeStart <= time < timeEnd.
  double timeStart = 0.0;
  double timeEnd = 0.0;
  double timeOffset = 0.0;  // seconds added to every transferred key
  int deleteMode = 0;       // 0 keep, 1 the deletion window, 2 or more all
  double deleteStart = 0.0;
  double deleteEnd = 0.0;

  // The channel named by its path relative to item, with the keys of its
  // envelope in the window; no keys when it has no envelope.
  AnimClipChannel readKeys(LWItemID item, LWChannelID channel) const;

  // Deletes destination keys as deleteMode says, then creates the clip's
  // keys of the window at time + timeOffset with the value
  // (valueOffset + value) * valueScale. Nothing without an envelope, and
  // nothing when the clip channel has no key in the window. A key whose time
  // or written value is not finite is passed over, and the host may refuse
  // one; the number of each.
  KeyWriteCount writeKeys(LWChannelID channel, const AnimClipChannel &clipChannel, double valueOffset,
                          double valueScale) const;

 private:
  bool inWindow(double time) const { return timeStart <= time && time < timeEnd; }
  void deleteKeys(LWEnvelopeID envelope) const;
};

}  // namespace lwp::akio
