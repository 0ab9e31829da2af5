// The local records the host hands to activations, one kind per class.
#pragma once

#include <string>

#include "../../plugin/host/lwgeneric.h"
#include "../../plugin/host/lwmaster.h"

namespace lwsim {

// "LayoutGeneric": runs commands through the host and knows its arguments.
class GenericLocal {
 public:
  explicit GenericLocal(std::string arguments = {});
  GenericLocal(const GenericLocal &) = delete;
  GenericLocal &operator=(const GenericLocal &) = delete;

  LWLayoutGeneric *record() { return &record_; }
  int evaluations() const { return evaluations_; }

 private:
  static int evaluate(void *data, const char *command);
  static const char *commandArguments(void *data);

  LWLayoutGeneric record_;
  std::string arguments_;
  int evaluations_ = 0;
};

// "MasterHandler": the handler record with the host's instance and item
// records for the module to fill.
struct MasterHandlerLocal {
  MasterHandlerLocal();
  MasterHandlerLocal(const MasterHandlerLocal &) = delete;
  MasterHandlerLocal &operator=(const MasterHandlerLocal &) = delete;

  LWMasterHandler handler{};
  LWInstanceFuncs instanceFuncs{};
  LWItemFuncs itemFuncs{};
};

}  // namespace lwsim
