// An animation envelope: keys ordered by time and the behaviours before the
// first and after the last key. Keys keep their address until destroyed, so
// their pointers serve as the host's key ids; the envelope's own pool tells
// whether a pointer is one of its live keys.
//
// Plug-ins delete and create keys a range at a time: a run of deletions only
// marks the keys, and a run of creations in time order is gathered apart;
// the first other use of the envelope settles either in one pass, so that a
// range costs time in proportion to the envelope, not to its square.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "stable_pool.h"

namespace lwsim {

struct EnvelopeKey {
  double time = 0.0;
  double value = 0.0;
  int shape = 0;  // 0 TCB, 1 Hermite, 2 1-D Bezier, 3 Linear, 4 Stepped, 5 2-D Bezier
  double tension = 0.0;
  double continuity = 0.0;
  double bias = 0.0;
  std::array<double, 4> params{};  // Hermite/Bezier tangents and handles
};

// Pre- and post-behaviour codes.
enum Behavior : int { kReset = 0, kConstant = 1, kRepeat = 2, kOscillate = 3, kOffsetRepeat = 4, kLinear = 5 };

class Envelope {
 public:
  Envelope();
  ~Envelope();
  Envelope(const Envelope &) = delete;
  Envelope &operator=(const Envelope &) = delete;

  // Keys closer than this in time are the same key.
  static constexpr double kTimeTolerance = 1e-9;

  // A key at the time of an existing one replaces that key's value.
  EnvelopeKey *createKey(double time, double value);
  // False when the key does not belong to this envelope.
  bool destroyKey(const EnvelopeKey *key);
  EnvelopeKey *findKey(double time) const;
  // The key after key; the first key for null; null after the last.
  EnvelopeKey *nextKey(const EnvelopeKey *key) const;
  // A live key of this envelope (any pointer may be asked about).
  bool contains(const EnvelopeKey *key) const;
  // Moves a key to a new time, keeping the keys ordered; false (and no move)
  // when another key is at that time.
  bool moveKey(EnvelopeKey *key, double time);
  void clear();

  std::size_t keyCount() const {
    settle();
    return keys_.size();
  }
  const EnvelopeKey &key(std::size_t index) const {
    settle();
    return *keys_[index];
  }

  int preBehavior() const { return pre_; }
  int postBehavior() const { return post_; }
  void setPreBehavior(int code) { pre_ = code; }
  void setPostBehavior(int code) { post_ = code; }

  double evaluate(double time) const;

 private:
  // A key as the envelope keeps it: with its place in keys_, so that the key
  // after a given one is found without a search.
  struct StoredKey : EnvelopeKey {
    std::size_t index = 0;
  };
  using Keys = std::vector<StoredKey *>;

  std::size_t indexOf(const EnvelopeKey *key) const;  // keys_.size() when not contained
  void sort();
  void reindex() const;
  // The key within the tolerance of time among the settled and the gathered
  // keys, with no deletion pending.
  EnvelopeKey *findUnsettled(double time) const;
  void settle() const {
    if (!doomed_.empty()) dropDoomed();
    if (!gathered_.empty()) mergeGathered();
  }
  void dropDoomed() const;
  void mergeGathered() const;

  StablePool<StoredKey> pool_;
  // Settled keys, ordered by time; during a run of deletions also the
  // deleted ones, at the indices in doomed_. Settling is invisible to the
  // host, so it happens in const members too.
  mutable Keys keys_;
  mutable std::vector<std::size_t> doomed_;
  // Keys created in time order after a key of keys_, not yet merged.
  mutable Keys gathered_;
  int pre_ = kConstant;
  int post_ = kConstant;
};

}  // namespace lwsim
