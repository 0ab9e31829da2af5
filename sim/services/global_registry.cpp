#include "global_registry.h"

#include "../host.h"

namespace lwsim {

namespace {

void *hostGlobalLookup(const char *id, int /*useMode*/) {
  try {
    Host *host = Host::currentOrNull();
    return host != nullptr && id != nullptr ? host->globals().lookup(id) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void GlobalRegistry::provide(const std::string &id, Provider provider) { providers_[id] = std::move(provider); }

void GlobalRegistry::provideRecord(const std::string &id, void *record) {
  provide(id, [record] { return record; });
}

void *GlobalRegistry::lookup(const char *id) {
  log_.emplace_back(id);
  if (withheld_.count(id) != 0) return nullptr;
  const auto found = providers_.find(id);
  return found != providers_.end() ? found->second() : nullptr;
}

GlobalFunc *GlobalRegistry::function() { return hostGlobalLookup; }

}  // namespace lwsim
