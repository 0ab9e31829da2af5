#include "module_path.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#endif

#ifndef LWSIM_MODULE_FILE
#error "LWSIM_MODULE_FILE names the module file built beside lwsim"
#endif
#ifndef LWSIM_INSTALLED_MODULE_DIR
#error "LWSIM_INSTALLED_MODULE_DIR names the installed module's folder relative to lwsim's"
#endif

namespace lwsim {

namespace {

namespace fs = std::filesystem;

// The running program's own file; argv0 made absolute where the system does
// not tell.
fs::path programFile(const char *argv0) {
  std::error_code error;
#if defined(_WIN32)
  wchar_t name[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, name, sizeof name / sizeof name[0]);
  if (length > 0 && length < sizeof name / sizeof name[0]) return fs::path(std::wstring(name, length));
#else
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) return self;
#endif
  return fs::absolute(argv0, error);
}

}  // namespace

std::string defaultModulePath(const char *argv0) {
  const fs::path folder = programFile(argv0).parent_path();
  const fs::path beside = folder / LWSIM_MODULE_FILE;
  const fs::path installed = folder / LWSIM_INSTALLED_MODULE_DIR / LWSIM_MODULE_FILE;
  std::error_code error;
  if (!fs::exists(beside, error) && fs::exists(installed, error)) return installed.lexically_normal().string();
  return beside.string();
}

}  // namespace lwsim
