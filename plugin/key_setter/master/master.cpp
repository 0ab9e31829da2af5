#include "master.h"

#include <new>
#include <string>
#include <vector>

#include "../../common/commands/entry_guard.h"
#include "../../common/commands/key_commands.h"
#include "../../common/commands/server_names.h"
#include "../../common/globals/host_globals.h"
#include "../../common/text/text_format.h"
#include "../../host/lwcomring.h"
#include "../../host/lwglobals.h"
#include "../../host/lwinterface.h"
#include "master_marks.h"
#include "posing_commands.h"
#include "ring_records.h"

namespace lwp::cks {

namespace {

// The master asks for Layout's notifications: it waits for a scene load.
constexpr unsigned int kMasterFlags = LWMASTF_RECEIVE_NOTIFICATIONS;

struct MasterState {
  char title[256];
  MasterMarks marks;
};

// The one master of the process; a second create is refused while it lives.
MasterState *gLiveMaster = nullptr;

// No master runs on the host's render-node product.
bool onRenderNode(GlobalFunc *lookup) {
  if (lookup == nullptr) return false;
  const auto systemId = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(lookup(LWSYSTEMID_GLOBAL, 0)));
  return (systemId & LWSYS_TYPEBITS) == LWSYS_SCREAMERNET;
}

void masterRingEvent(void *clientData, void * /*portData*/, int eventCode, void *eventData) noexcept {
  guardEntry(
      0,
      [&] {
        auto *state = static_cast<MasterState *>(clientData);
        if (state == nullptr) return 0;
        if (eventCode == kMasterResetEvent) state->marks.reset();
        if (eventCode == kMarkQueryEvent && eventData != nullptr)
          state->marks.answer(*static_cast<MarkReply *>(eventData));
        return 0;
      },
      keyErrorMsg);
}

LWInstance createMaster(void *priv, void * /*context*/, LWError * /*error*/) noexcept {
  if (gLiveMaster != nullptr || onRenderNode(reinterpret_cast<GlobalFunc *>(priv))) return nullptr;
  auto *state = new (std::nothrow) MasterState{};
  if (state == nullptr) return nullptr;
  formatInto(state->title, sizeof state->title, kTitleFormat, kMasterName, 1, 20, kBuildSuffix);
  gLiveMaster = state;
  if (LWComRing *ring = CHostGlobals::instance().comRing()) ring->ringAttach(kMasterTopic, state, masterRingEvent);
  return state;
}

// The listener goes before the record it answers from. Only the living
// master clears the one-instance flag.
void destroyMaster(LWInstance instance) noexcept {
  auto *state = static_cast<MasterState *>(instance);
  if (state == nullptr) return;
  if (LWComRing *ring = CHostGlobals::instance().comRing()) ring->ringDetach(kMasterTopic, state);
  if (state == gLiveMaster) gLiveMaster = nullptr;
  delete state;
}

LWError copyMaster(LWInstance, LWInstance) noexcept { return "Copy not supported !"; }

// The master keeps nothing in the scene file.
LWError loadMaster(LWInstance, const LWLoadState *) noexcept { return nullptr; }
LWError saveMaster(LWInstance, const LWSaveState *) noexcept { return nullptr; }

const char *describeMaster(LWInstance instance) noexcept {
  return instance != nullptr ? static_cast<MasterState *>(instance)->title : "";
}

std::vector<LWItemID> selectionOf(const LWInterfaceInfo &info) {
  std::vector<LWItemID> selection;
  if (info.selItems == nullptr) return selection;
  for (const LWItemID *item = info.selItems; *item != nullptr; ++item) selection.push_back(*item);
  return selection;
}

// While Layout's Auto Key Create is on, Layout keys what the user poses by
// itself, and the master marks nothing.
void commandIssued(MasterMarks &marks, const char *line) {
  if (line == nullptr) return;
  const PosingCommand command = posingCommandOf(line);
  if (command == PosingCommand::kNone) return;
  const LWInterfaceInfo *info = CHostGlobals::instance().refetchInterfaceInfo();
  if (info == nullptr || info->autoKeyCreate != LWAKC_OFF) return;
  const std::vector<LWItemID> selection = selectionOf(*info);
  switch (command) {
    case PosingCommand::kReset:
      marks.markAllGroups(selection);
      break;
    case PosingCommand::kPosition:
      marks.markGroup(kGroupPosition, selection);
      break;
    case PosingCommand::kRotation:
      marks.markGroup(kGroupRotation, selection);
      break;
    case PosingCommand::kScale:
      marks.markGroup(kGroupScale, selection);
      break;
    case PosingCommand::kNone:
      break;
  }
}

// A scene that has finished loading runs the key setter with "init", which
// sends the reset back to the master.
void sceneLoaded() { issueCommand(std::string("Generic_") + kKeySetterName + " init"); }

double masterEvent(LWInstance instance, const LWMasterAccess *access) noexcept {
  return guardEntry(
      0.0,
      [&] {
        auto *state = static_cast<MasterState *>(instance);
        if (state == nullptr || access == nullptr) return 0.0;
        switch (access->eventCode) {
          case LWEVNT_COMMAND:
            commandIssued(state->marks, static_cast<const char *>(access->eventData));
            break;
          case LWEVNT_TIME:
            state->marks.timeChanged();
            break;
          case LWEVNT_SELECT:
            state->marks.selectionChanged();
            break;
          case LWEVNT_NOTIFY_SCENE_LOAD_COMPLETE:
            sceneLoaded();
            break;
          default:
            break;
        }
        return 0.0;
      },
      keyErrorMsg);
}

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
