// The activation functions of the module's six servers: the version check,
// the global set, the labels, then the tool's own work.
#pragma once

#include "../host/lwmodule.h"

namespace lwp {

int activateKeySetter(int version, GlobalFunc *global, void *local, void *serverData) noexcept;
int activateKeyDeleter(int version, GlobalFunc *global, void *local, void *serverData) noexcept;
int activateMasterHandler(int version, GlobalFunc *global, void *local, void *serverData) noexcept;
int activateMasterInterface(int version, GlobalFunc *global, void *local, void *serverData) noexcept;
int activateClipSave(int version, GlobalFunc *global, void *local, void *serverData) noexcept;
int activateClipLoad(int version, GlobalFunc *global, void *local, void *serverData) noexcept;

}  // namespace lwp
