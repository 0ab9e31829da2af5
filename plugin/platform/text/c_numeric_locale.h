// Keeps formatted numbers independent of the host process's locale: while
// a CNumericLocale lives, this thread formats and parses numbers as the "C"
// locale does (a decimal point, never a comma).
#pragma once

namespace lwp::platform {

class CNumericLocale {
 public:
  CNumericLocale();
  ~CNumericLocale();
  CNumericLocale(const CNumericLocale &) = delete;
  CNumericLocale &operator=(const CNumericLocale &) = delete;

 private:
  void *previous_ = nullptr;
};

}  // namespace lwp::platform
