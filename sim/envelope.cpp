#include "envelope.h"

#include <algorithm>
#include <cmath>

#include "envelope_evaluation.h"
#include "handle_registry.h"

namespace lwsim {

Envelope::Envelope() { registerHandle(this, HandleKind::Envelope, nullptr); }

Envelope::~Envelope() {
  clear();
  unregisterHandle(this);
}

void Envelope::clear() {
  for (const auto &key : keys_) unregisterHandle(key.get());
  keys_.clear();
}

EnvelopeKey *Envelope::createKey(double time, double value) {
  if (EnvelopeKey *existing = findKey(time)) {
    existing->value = value;
    return existing;
  }
  auto key = std::make_unique<EnvelopeKey>();
  key->time = time;
  key->value = value;
  EnvelopeKey *created = key.get();
  registerHandle(created, HandleKind::Key, this);
  auto at = std::upper_bound(keys_.begin(), keys_.end(), time,
                             [](double t, const std::unique_ptr<EnvelopeKey> &k) { return t < k->time; });
  keys_.insert(at, std::move(key));
  return created;
}

bool Envelope::destroyKey(const EnvelopeKey *key) {
  const std::size_t index = indexOf(key);
  if (index == keys_.size()) return false;
  unregisterHandle(key);
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

EnvelopeKey *Envelope::findKey(double time) const {
  auto at = std::lower_bound(keys_.begin(), keys_.end(), time - kTimeTolerance,
                             [](const std::unique_ptr<EnvelopeKey> &k, double t) { return k->time <= t; });
  return at != keys_.end() && std::fabs((*at)->time - time) < kTimeTolerance ? at->get() : nullptr;
}

EnvelopeKey *Envelope::nextKey(const EnvelopeKey *key) const {
  if (key == nullptr) return keys_.empty() ? nullptr : keys_.front().get();
  const std::size_t index = indexOf(key);
  return index + 1 < keys_.size() ? keys_[index + 1].get() : nullptr;
}

bool Envelope::contains(const EnvelopeKey *key) const {
  return isLiveHandle(key, HandleKind::Key) && handleOwner(key) == this;
}

bool Envelope::moveKey(EnvelopeKey *key, double time) {
  const EnvelopeKey *occupant = findKey(time);
  if (occupant != nullptr && occupant != key) return false;
  key->time = time;
  sort();
  return true;
}

double Envelope::evaluate(double time) const { return evaluateEnvelope(*this, time); }

// Keys are ordered by time: search from the first key at the key's time.
std::size_t Envelope::indexOf(const EnvelopeKey *key) const {
  if (!contains(key)) return keys_.size();
  auto at = std::lower_bound(keys_.begin(), keys_.end(), key->time,
                             [](const std::unique_ptr<EnvelopeKey> &k, double t) { return k->time < t; });
  for (; at != keys_.end(); ++at)
    if (at->get() == key) return static_cast<std::size_t>(at - keys_.begin());
  return keys_.size();
}

void Envelope::sort() {
  std::stable_sort(
      keys_.begin(), keys_.end(),
      [](const std::unique_ptr<EnvelopeKey> &a, const std::unique_ptr<EnvelopeKey> &b) { return a->time < b->time; });
}

}  // namespace lwsim
