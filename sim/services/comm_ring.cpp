#include "comm_ring.h"

#include <algorithm>
#include <memory>

#include "../host.h"
#include "c_entry.h"

namespace lwsim {

int CommRing::attach(const std::string &topic, void *clientData, LWRingEvent *callback) {
  if (callback == nullptr) return 0;
  listeners_.push_back(std::make_shared<Entry>(Entry{topic, clientData, callback, nullptr}));
  return 1;
}

void CommRing::attach(const std::string &topic, void *clientData, Listener listener) {
  listeners_.push_back(std::make_shared<Entry>(Entry{topic, clientData, nullptr, std::move(listener)}));
}

void CommRing::detach(const std::string &topic, void *clientData) {
  auto gone = [&](const std::shared_ptr<Entry> &entry) {
    if (entry->topic != topic || entry->clientData != clientData) return false;
    entry->attached = false;  // a delivery under way skips it
    return true;
  };
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), gone), listeners_.end());
}

// Listeners may attach or detach while a message is delivered.
void CommRing::message(const std::string &topic, int eventCode, void *eventData) {
  const std::vector<std::shared_ptr<Entry>> delivery = listeners_;
  for (const auto &entry : delivery) {
    if (!entry->attached || entry->topic != topic) continue;
    if (entry->callback != nullptr)
      entry->callback(entry->clientData, nullptr, eventCode, eventData);
    else
      entry->listener(eventCode, eventData);
  }
}

void CommRing::dropCallbacks() {
  auto isCallback = [](const std::shared_ptr<Entry> &entry) {
    if (entry->callback == nullptr) return false;
    entry->attached = false;
    return true;
  };
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), isCallback), listeners_.end());
}

std::size_t CommRing::listenerCount(const std::string &topic) const {
  return static_cast<std::size_t>(
      std::count_if(listeners_.begin(), listeners_.end(), [&](const auto &entry) { return entry->topic == topic; }));
}

namespace {

int ringAttach(const char *topic, void *clientData, LWRingEvent *callback) {
  return hostEntry(0,
                   [&] { return topic != nullptr ? Host::current().ring().attach(topic, clientData, callback) : 0; });
}

void ringDetach(const char *topic, void *clientData) {
  hostEntry([&] {
    if (topic != nullptr) Host::current().ring().detach(topic, clientData);
  });
}

void ringMessage(const char *topic, int eventCode, void *eventData) {
  hostEntry([&] {
    if (topic != nullptr) Host::current().ring().message(topic, eventCode, eventData);
  });
}

}  // namespace

LWComRing *CommRing::record() {
  static LWComRing ring{.ringAttach = ringAttach, .ringDetach = ringDetach, .ringMessage = ringMessage};
  return &ring;
}

}  // namespace lwsim
