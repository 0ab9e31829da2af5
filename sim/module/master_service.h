// The scene's master instances: created by "ActivateMasterUnique NAME" through
// the module's handler and its instance operations, told of every host event,
// destroyed before the module goes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../../plugin/host/lwmaster.h"
#include "module_loader.h"
#include "server_locals.h"

namespace lwsim {

struct MasterInstance {
  std::string name;
  std::unique_ptr<MasterHandlerLocal> handler;
  LWInstance instance = nullptr;

  // Events from this code on are notifications.
  static constexpr int kFirstNotification = 0x100;

  std::string description() const;  // the instance's description line
  unsigned int flags() const;
  bool wants(int eventCode) const;
};

class MasterService {
 public:
  MasterService() = default;
  MasterService(const MasterService &) = delete;
  MasterService &operator=(const MasterService &) = delete;
  ~MasterService() { destroyAll(); }

  // True when the master runs afterwards: it already did, or its handler
  // activated and its create gave an instance. A refusal's reason (the
  // module's error text) goes to error.
  bool activateUnique(const Module &module, const std::string &name, GlobalFunc *lookup, std::string &error);
  // Hands an event to every instance that takes it, in creation order;
  // instances created or destroyed meanwhile are not affected by this
  // delivery.
  void dispatch(int eventCode, const void *eventData);
  void destroyAll();

  const std::vector<std::unique_ptr<MasterInstance>> &instances() const { return instances_; }
  const MasterInstance *find(const std::string &name) const;

 private:
  std::vector<std::unique_ptr<MasterInstance>> instances_;
};

}  // namespace lwsim
