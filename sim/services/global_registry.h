// The host's globals by id. Each id has a provider, so that snapshot
// records can be made afresh at every lookup; any id can be withheld.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../plugin/host/lwmodule.h"

namespace lwsim {

class GlobalRegistry {
 public:
  using Provider = std::function<void *()>;

  void provide(const std::string &id, Provider provider);
  void provideRecord(const std::string &id, void *record);
  // Withheld ids answer null until restored.
  void withhold(const std::string &id) { withheld_.insert(id); }
  void restore(const std::string &id) { withheld_.erase(id); }

  // Answers one lookup and records the id asked for.
  void *lookup(const char *id);

  const std::vector<std::string> &lookupLog() const { return log_; }
  void clearLookupLog() { log_.clear(); }

  // The host's lookup function, as handed to activations.
  static GlobalFunc *function();

 private:
  std::map<std::string, Provider> providers_;
  std::set<std::string> withheld_;
  std::vector<std::string> log_;
};

}  // namespace lwsim
