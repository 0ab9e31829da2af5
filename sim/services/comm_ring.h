// "LW Communication Ring": listeners attached by topic; a message runs every
// listener of its topic before it returns, in the order they attached.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../plugin/host/lwcomring.h"

namespace lwsim {

class CommRing {
 public:
  // A listener written in C++ (tests answering the module's questions).
  using Listener = std::function<void(int eventCode, void *eventData)>;

  int attach(const std::string &topic, void *clientData, LWRingEvent *callback);
  void attach(const std::string &topic, void *clientData, Listener listener);
  void detach(const std::string &topic, void *clientData);
  void message(const std::string &topic, int eventCode, void *eventData);

  std::size_t listenerCount(const std::string &topic) const;
  // Drops the listeners attached through the C record: a module's code,
  // gone with the module.
  void dropCallbacks();

  static LWComRing *record();

 private:
  struct Entry {
    std::string topic;
    void *clientData;
    LWRingEvent *callback;
    Listener listener;
    bool attached = true;
  };
  std::vector<std::shared_ptr<Entry>> listeners_;
};

}  // namespace lwsim
