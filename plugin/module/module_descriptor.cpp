// The module's one exported symbol: the descriptor the host reads at load.
#include "../common/commands/server_names.h"
#include "../host/lwmodule.h"
#include "server_activations.h"

namespace {

void *startupModule() { return reinterpret_cast<void *>(4); }

void shutdownModule(void *) {}

// The master is registered twice, both records pointing at one name string.
ServerRecord gServers[] = {
    {LWLAYOUTGENERIC_CLASS, lwp::kKeySetterName, lwp::activateKeySetter, nullptr},
    {LWLAYOUTGENERIC_CLASS, lwp::kKeyDeleterName, lwp::activateKeyDeleter, nullptr},
    {LWMASTER_HCLASS, lwp::kMasterName, lwp::activateMasterHandler, nullptr},
    {LWMASTER_ICLASS, lwp::kMasterName, lwp::activateMasterInterface, nullptr},
    {LWLAYOUTGENERIC_CLASS, lwp::kClipSaveName, lwp::activateClipSave, nullptr},
    {LWLAYOUTGENERIC_CLASS, lwp::kClipLoadName, lwp::activateClipLoad, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

#if defined(_WIN32)
#define LWP_EXPORT __declspec(dllexport)
#else
#define LWP_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LWP_EXPORT ModuleDescriptor _mod_descrip;

ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, startupModule, shutdownModule, gServers};
