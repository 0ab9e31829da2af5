#include "envelope.h"

#include <algorithm>
#include <cmath>

#include "../services/handle_registry.h"
#include "envelope_evaluation.h"

namespace lwsim {

Envelope::Envelope() { registerHandle(this, HandleKind::Envelope); }

Envelope::~Envelope() {
  clear();
  unregisterHandle(this);
}

void Envelope::clear() {
  keys_.clear();
  doomed_.clear();
  gathered_.clear();
  pool_.clear();
}

namespace {

constexpr auto earlier = [](const auto &a, const auto &b) { return a->time < b->time; };

// The first key later than the tolerance before time.
EnvelopeKey *firstNear(const auto &keys, double time) {
  auto at = std::lower_bound(keys.begin(), keys.end(), time - Envelope::kTimeTolerance,
                             [](const auto &k, double t) { return k->time <= t; });
  return at != keys.end() ? *at : nullptr;
}

}  // namespace

EnvelopeKey *Envelope::createKey(double time, double value) {
  if (!doomed_.empty()) dropDoomed();
  if (EnvelopeKey *existing = findUnsettled(time)) {
    existing->value = value;
    return existing;
  }
  StoredKey *key = pool_.make();
  key->time = time;
  key->value = value;
  // Keys after the last one are appended; others are gathered in time order.
  if (!gathered_.empty() && gathered_.back()->time > time) mergeGathered();
  Keys &into = gathered_.empty() && (keys_.empty() || keys_.back()->time < time) ? keys_ : gathered_;
  key->index = into.size();  // a gathered key gets its own when merged
  into.push_back(key);
  return key;
}

bool Envelope::destroyKey(const EnvelopeKey *key) {
  if (!gathered_.empty()) mergeGathered();
  const std::size_t index = indexOf(key);
  if (index == keys_.size()) return false;
  pool_.release(keys_[index]);  // reused only after the run settles
  doomed_.push_back(index);
  return true;
}

EnvelopeKey *Envelope::findKey(double time) const {
  settle();
  return findUnsettled(time);
}

EnvelopeKey *Envelope::findUnsettled(double time) const {
  EnvelopeKey *settled = firstNear(keys_, time);
  EnvelopeKey *gathered = firstNear(gathered_, time);
  EnvelopeKey *first =
      settled == nullptr || (gathered != nullptr && gathered->time < settled->time) ? gathered : settled;
  return first != nullptr && std::fabs(first->time - time) < kTimeTolerance ? first : nullptr;
}

void Envelope::dropDoomed() const {
  std::sort(doomed_.begin(), doomed_.end());
  std::size_t kept = 0;
  auto doomed = doomed_.begin();
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (doomed != doomed_.end() && *doomed == i) {
      ++doomed;
      continue;
    }
    if (kept != i) {
      keys_[kept] = keys_[i];
      keys_[kept]->index = kept;
    }
    ++kept;
  }
  keys_.resize(kept);
  doomed_.clear();
}

void Envelope::mergeGathered() const {
  const auto middle = static_cast<std::ptrdiff_t>(keys_.size());
  keys_.insert(keys_.end(), gathered_.begin(), gathered_.end());
  gathered_.clear();
  std::inplace_merge(keys_.begin(), keys_.begin() + middle, keys_.end(), earlier);
  reindex();
}

void Envelope::reindex() const {
  for (std::size_t i = 0; i < keys_.size(); ++i) keys_[i]->index = i;
}

EnvelopeKey *Envelope::nextKey(const EnvelopeKey *key) const {
  settle();
  if (key == nullptr) return keys_.empty() ? nullptr : keys_.front();
  const std::size_t index = indexOf(key);
  return index + 1 < keys_.size() ? keys_[index + 1] : nullptr;
}

bool Envelope::contains(const EnvelopeKey *key) const { return pool_.isLive(key); }

bool Envelope::moveKey(EnvelopeKey *key, double time) {
  const EnvelopeKey *occupant = findKey(time);
  if (occupant != nullptr && occupant != key) return false;
  key->time = time;  // findKey settled the keys
  sort();
  return true;
}

double Envelope::evaluate(double time) const { return evaluateEnvelope(*this, time); }

// Every key of this envelope is a StoredKey; callers settle the gathered
// keys first, so a live key's index is its place in keys_.
std::size_t Envelope::indexOf(const EnvelopeKey *key) const {
  if (!contains(key)) return keys_.size();
  const std::size_t index = static_cast<const StoredKey *>(key)->index;
  return index < keys_.size() && keys_[index] == key ? index : keys_.size();
}

void Envelope::sort() {
  std::stable_sort(keys_.begin(), keys_.end(), earlier);
  reindex();
}

}  // namespace lwsim
