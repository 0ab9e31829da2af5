#include "module_host.h"

namespace lwtest {

ModuleHost::ModuleHost() { host_.loadModule(LWP_MODULE_PATH); }

std::vector<std::string> ModuleHost::commandLines() const {
  std::vector<std::string> lines;
  for (const lwsim::CommandRecord &record : host_.commands().log()) lines.push_back(record.line);
  return lines;
}

const std::vector<ServerCase> &moduleServers() {
  static const std::vector<ServerCase> servers = {
      {"LayoutGeneric", "QD:VaruDudEdodav", 7},  {"LayoutGeneric", "QD:RozaRivAvudivo", 7},
      {"MasterHandler", ".QD:ZaraRazEzedud", 5}, {"MasterInterface", ".QD:ZaraRazEzedud", 5},
      {"LayoutGeneric", "QD:ZaduDuzAVSave", 7},  {"LayoutGeneric", "QD:ZaduDuzAVLoad", 7},
  };
  return servers;
}

}  // namespace lwtest
