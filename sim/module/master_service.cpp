#include "master_service.h"

#include "../../plugin/host/lwmodule.h"
#include "../commands/command_interpreter.h"
#include "../services/unsupported_call.h"

namespace lwsim {

std::string MasterInstance::description() const {
  const LWInstanceFuncs *funcs = handler->handler.inst;
  const char *line = funcs != nullptr && funcs->descln != nullptr ? funcs->descln(instance) : nullptr;
  return line != nullptr ? line : "";
}

unsigned int MasterInstance::flags() const {
  return handler->handler.flags != nullptr ? handler->handler.flags(instance) : 0;
}

const MasterInstance *MasterService::find(const std::string &name) const {
  for (const auto &master : instances_)
    if (master->name == name) return master.get();
  return nullptr;
}

bool MasterService::activateUnique(const Module &module, const std::string &name, GlobalFunc *lookup,
                                   std::string &error) {
  if (find(name) != nullptr) return true;
  if (module.find(LWMASTER_HCLASS, name) == nullptr) {
    error = "no master " + name;
    return false;
  }
  auto master = std::make_unique<MasterInstance>();
  master->name = name;
  master->handler = std::make_unique<MasterHandlerLocal>();
  if (module.activate(LWMASTER_HCLASS, name, LWMASTER_VERSION, &master->handler->handler, lookup) != AFUNC_OK) {
    error = "the master's activation failed";
    return false;
  }
  const LWInstanceFuncs *funcs = master->handler->handler.inst;
  if (funcs == nullptr || funcs->create == nullptr) {
    error = "the master has no create operation";
    return false;
  }
  LWError createError = nullptr;
  master->instance = funcs->create(funcs->priv, nullptr, &createError);
  if (master->instance == nullptr) {
    error = createError != nullptr ? createError : "the master gave no instance";
    return false;
  }
  instances_.push_back(std::move(master));
  return true;
}

// Notifications reach only the masters whose flags ask for them.
bool MasterInstance::wants(int eventCode) const {
  return eventCode < kFirstNotification || (flags() & LWMASTF_RECEIVE_NOTIFICATIONS) != 0;
}

void MasterService::dispatch(int eventCode, const void *eventData) {
  std::vector<MasterInstance *> delivery;
  for (const auto &master : instances_) delivery.push_back(master.get());
  for (MasterInstance *master : delivery) {
    if (find(master->name) != master || master->handler->handler.event == nullptr || !master->wants(eventCode))
      continue;
    const LWMasterAccess access{.eventCode = eventCode,
                                .eventData = const_cast<void *>(eventData),
                                .data = nullptr,
                                .lookup = LWSIM_UNSUPPORTED(LWMasterAccess, lookup),
                                .execute = LWSIM_UNSUPPORTED(LWMasterAccess, execute),
                                .evaluate = CommandInterpreter::evaluateFunction()};
    master->handler->handler.event(master->instance, &access);
  }
}

void MasterService::destroyAll() {
  while (!instances_.empty()) {
    std::unique_ptr<MasterInstance> master = std::move(instances_.back());
    instances_.pop_back();
    const LWInstanceFuncs *funcs = master->handler->handler.inst;
    if (funcs != nullptr && funcs->destroy != nullptr) funcs->destroy(master->instance);
  }
}

}  // namespace lwsim
