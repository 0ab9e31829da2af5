// A simulated host with the built module freshly loaded, for one test.
#pragma once

#include <string>
#include <vector>

#include "sim/host.h"

namespace lwtest {

// Host plus module; the module is unloaded when the test ends, so every
// test starts from the module's first activation.
class ModuleHost {
 public:
  ModuleHost();

  lwsim::Host &host() { return host_; }
  lwsim::Module &module() { return *host_.module(); }

  // The transcript's lines as lwsim prints them.
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  // Every command line the host was given, in order.
  std::vector<std::string> commandLines() const;

  int activate(const std::string &className, const std::string &name, int version, GlobalFunc *lookup = nullptr) {
    return host_.activate(className, name, version, lookup);
  }

 private:
  lwsim::Host host_;
};

// Server names and versions of the module, for tests that walk all six.
struct ServerCase {
  const char *className;
  const char *name;
  int version;
};
const std::vector<ServerCase> &moduleServers();

}  // namespace lwtest
