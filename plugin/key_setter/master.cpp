#include "master.h"

#include <new>

#include "../common/server_names.h"
#include "../common/text_format.h"

namespace lwp::cks {

namespace {

constexpr unsigned int kMasterFlags = 2;

struct MasterState {
  char title[256];
};

LWInstance createMaster(void * /*priv*/, void * /*context*/, LWError * /*error*/) noexcept {
  auto *state = new (std::nothrow) MasterState{};
  if (state == nullptr) return nullptr;
  formatInto(state->title, sizeof state->title, kTitleFormat, kMasterName, 1, 20, kBuildSuffix);
  return state;
}

void destroyMaster(LWInstance instance) noexcept { delete static_cast<MasterState *>(instance); }

LWError copyMaster(LWInstance, LWInstance) noexcept { return "Copy not supported !"; }

// The master keeps nothing in the scene file.
LWError loadMaster(LWInstance, const LWLoadState *) noexcept { return nullptr; }
LWError saveMaster(LWInstance, const LWSaveState *) noexcept { return nullptr; }

const char *describeMaster(LWInstance instance) noexcept {
  return instance != nullptr ? static_cast<MasterState *>(instance)->title : "";
}

double masterEvent(LWInstance, const LWMasterAccess *) noexcept { return 0.0; }

unsigned int masterFlags(LWInstance) noexcept { return kMasterFlags; }

}  // namespace

void fillMasterHandler(LWMasterHandler *handler, GlobalFunc *global) {
  if (handler == nullptr) return;
  LWInstanceFuncs *inst = handler->inst;
  if (inst != nullptr) {
    inst->priv = reinterpret_cast<void *>(global);
    inst->create = createMaster;
    inst->destroy = destroyMaster;
    inst->copy = copyMaster;
    inst->load = loadMaster;
    inst->save = saveMaster;
    inst->descln = describeMaster;
  }
  handler->type = LWMAST_SCENE;
  handler->event = masterEvent;
  handler->flags = masterFlags;
}

}  // namespace lwp::cks
