#include "module_path.h"

#include <filesystem>

#ifndef LWSIM_MODULE_FILE
#error "LWSIM_MODULE_FILE names the module file built beside lwsim"
#endif

namespace lwsim {

std::string defaultModulePath(const char *argv0) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) self = fs::absolute(argv0, error);
  return (self.parent_path() / LWSIM_MODULE_FILE).string();
}

}  // namespace lwsim
