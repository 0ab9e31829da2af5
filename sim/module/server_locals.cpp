#include "server_locals.h"

#include "../host.h"
#include "../services/unsupported_call.h"

namespace lwsim {

GenericLocal::GenericLocal(std::string arguments)
    : record_{.saveScene = LWSIM_UNSUPPORTED(LWLayoutGeneric, saveScene),
              .loadScene = LWSIM_UNSUPPORTED(LWLayoutGeneric, loadScene),
              .data = this,
              .lookup = LWSIM_UNSUPPORTED(LWLayoutGeneric, lookup),
              .execute = LWSIM_UNSUPPORTED(LWLayoutGeneric, execute),
              .evaluate = evaluate,
              .commandArguments = commandArguments,
              .parsedArguments = LWSIM_UNSUPPORTED(LWLayoutGeneric, parsedArguments)},
      arguments_(std::move(arguments)) {}

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
