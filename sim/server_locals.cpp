#include "server_locals.h"

#include "host.h"

namespace lwsim {

GenericLocal::GenericLocal(std::string arguments)
    : record_{this, evaluate, commandArguments}, arguments_(std::move(arguments)) {}

int GenericLocal::evaluate(void *data, const char *command) {
  try {
    auto *local = static_cast<GenericLocal *>(data);
    Host *host = Host::currentOrNull();
    if (local == nullptr || host == nullptr || command == nullptr) return 0;
    ++local->evaluations_;
    return host->commands().run(command);
  } catch (...) {
    return 0;
  }
}

const char *GenericLocal::commandArguments(void *data) {
  auto *local = static_cast<GenericLocal *>(data);
  return local != nullptr ? local->arguments_.c_str() : "";
}

MasterHandlerLocal::MasterHandlerLocal() {
  handler.inst = &instanceFuncs;
  handler.item = &itemFuncs;
}

}  // namespace lwsim
