// A global-lookup function other than the host's own: it records what it is
// asked for and answers as the current host does.
#pragma once

#include <string>
#include <vector>

#include "plugin/host/lwmodule.h"

namespace lwtest {

class LookupSpy {
 public:
  LookupSpy();
  ~LookupSpy();
  LookupSpy(const LookupSpy &) = delete;
  LookupSpy &operator=(const LookupSpy &) = delete;

  GlobalFunc *function() const;
  const std::vector<std::string> &asked() const { return asked_; }

 private:
  static void *lookup(const char *id, int useMode);

  std::vector<std::string> asked_;
};

}  // namespace lwtest
