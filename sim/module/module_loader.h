// A loaded plug-in module: its descriptor checked, started, its servers
// listed and activated; shut down and unloaded when destroyed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../../plugin/host/lwmodule.h"
#include "dynamic_library.h"

namespace lwsim {

struct ServerInfo {
  std::string className;
  std::string name;
  const ServerRecord *record;
};

class Module {
 public:
  // Throws HostError when the file cannot be loaded, has no descriptor, its
  // sync, version or machine values are not the host's, or it fails to start.
  explicit Module(const std::string &path);
  ~Module();
  Module(const Module &) = delete;
  Module &operator=(const Module &) = delete;

  const std::string &path() const { return path_; }
  const ModuleDescriptor &descriptor() const { return *descriptor_; }
  void *startupValue() const { return startupValue_; }
  const std::vector<ServerInfo> &servers() const { return servers_; }
  const ServerInfo *find(const std::string &className, const std::string &name) const;

  // Calls the server's activation; throws HostError for an unknown server.
  int activate(const std::string &className, const std::string &name, int version, void *local,
               GlobalFunc *lookup) const;

 private:
  std::string path_;
  DynamicLibrary library_;
  const ModuleDescriptor *descriptor_ = nullptr;
  void *startupValue_ = nullptr;
  std::vector<ServerInfo> servers_;
};

}  // namespace lwsim
