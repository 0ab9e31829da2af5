#include "wine_host.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace lwtest {

bool runningUnderWine() {
#if defined(_WIN32)
  // Wine's own system library has an entry Windows does not.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace lwtest
