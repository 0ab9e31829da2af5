#include "dynamic_library.h"

#include "../host_error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace lwsim {

#if defined(_WIN32)

DynamicLibrary::DynamicLibrary(const std::string &path)
    : handle_(reinterpret_cast<void *>(LoadLibraryA(path.c_str()))) {
  if (handle_ == nullptr) throw HostError("cannot load module " + path + ": error " + std::to_string(GetLastError()));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void *DynamicLibrary::symbol(const char *name) const {
  return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

DynamicLibrary::DynamicLibrary(const std::string &path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) {
    const char *reason = dlerror();
    throw HostError("cannot load module " + path + ": " + (reason != nullptr ? reason : "unknown reason"));
  }
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

void *DynamicLibrary::symbol(const char *name) const { return dlsym(handle_, name); }

#endif

}  // namespace lwsim
