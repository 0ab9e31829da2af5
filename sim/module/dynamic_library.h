// A module file opened as the host opens it (dlopen / LoadLibrary).
#pragma once

#include <string>

namespace lwsim {

class DynamicLibrary {
 public:
  // Throws HostError naming the file and the system's reason.
  explicit DynamicLibrary(const std::string &path);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary &) = delete;
  DynamicLibrary &operator=(const DynamicLibrary &) = delete;

  // The exported data or function of that name, or null.
  void *symbol(const char *name) const;

 private:
  void *handle_;
};

}  // namespace lwsim
