#include "module_loader.h"

#include <cstdio>

#include "../host_error.h"

namespace lwsim {

namespace {

std::string hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

void check(const std::string &path, const char *field, unsigned int value, unsigned int expected) {
  if (value != expected)
    throw HostError("module " + path + " has " + field + " " + hex(value) + ", the host needs " + hex(expected));
}

}  // namespace

Module::Module(const std::string &path) : path_(path), library_(path) {
  descriptor_ = static_cast<const ModuleDescriptor *>(library_.symbol("_mod_descrip"));
  if (descriptor_ == nullptr) throw HostError("module " + path + " exports no _mod_descrip");
  check(path, "sysSync", descriptor_->sysSync, MOD_SYSSYNC);
  check(path, "sysVersion", descriptor_->sysVersion, MOD_SYSVER);
  check(path, "sysMachine", descriptor_->sysMachine, MOD_MACHINE);
  if (descriptor_->startup == nullptr || (startupValue_ = descriptor_->startup()) == nullptr)
    throw HostError("module " + path + " failed to start");
  for (const ServerRecord *record = descriptor_->serverDefs; record != nullptr && record->className != nullptr;
       ++record)
    servers_.push_back({record->className, record->name != nullptr ? record->name : "", record});
}

Module::~Module() {
  if (descriptor_ != nullptr && descriptor_->shutdown != nullptr && startupValue_ != nullptr)
    descriptor_->shutdown(startupValue_);
}

const ServerInfo *Module::find(const std::string &className, const std::string &name) const {
  for (const ServerInfo &server : servers_)
    if (server.className == className && server.name == name) return &server;
  return nullptr;
}

int Module::activate(const std::string &className, const std::string &name, int version, void *local,
                     GlobalFunc *lookup) const {
  const ServerInfo *server = find(className, name);
  if (server == nullptr || server->record->activate == nullptr)
    throw HostError("module " + path_ + " has no " + className + " server " + name);
  return server->record->activate(version, lookup, local, nullptr);
}

}  // namespace lwsim
