#include "host.h"

#include "../plugin/host/lwglobals.h"
#include "../plugin/host/lwmodule.h"
#include "commands/scene_commands.h"
#include "host_error.h"
#include "module/server_locals.h"
#include "scene_file/scene_file.h"
#include "services/c_entry.h"
#include "services/channel_services.h"
#include "services/item_services.h"
#include "services/unsupported_call.h"

namespace lwsim {

namespace {

Host *gCurrent = nullptr;

void *integerAnswer(std::uint64_t value) { return reinterpret_cast<void *>(static_cast<std::uintptr_t>(value)); }

}  // namespace

void recordUnsupportedCall(const char *member) noexcept {
  hostEntry([&] {
    if (Host *host = Host::currentOrNull()) host->transcript().unsupported(member);
  });
}

const std::array<const char *, 59> &Host::offeredGlobals() {
  static const std::array<const char *, 59> ids = {
      "AOV Functions",
      "Animation Envelopes 4",
      "BSDF Functions 2",
      "Buffer List Global 2",
      "Channel Info 3",
      "Color Picker",
      "ContextMenuServices 2",
      "Directory Info 2",
      "Dopetrack Proxy 2",
      "Fiber Info 2",
      "File IO 5",
      "File Request",
      "File Request 3",
      "File Type Pattern",
      "Image Utility 6",
      "Info Messages 4",
      "Instance Update",
      "ItemInstanceInfo",
      "ItemInstancerFuncs 2",
      "LSUniversalRequester",
      "LW Backdrop Info 3",
      "LW Base Funcs 2",
      "LW Bone Info 7",
      "LW Camera Evaluation Funcs 4",
      "LW Camera Info 10",
      "LW Command Interface",
      "LW Communication Ring",
      "LW Compositing Info",
      "LW Fog Info",
      "LW Image List 9",
      "LW Interface Info 8",
      "LW Item Info 9",
      "LW Light Info 6",
      "LW List Info",
      "LW Object Info 14",
      "LW Scene Info 12",
      "LW Time Info",
      "LW Timer",
      "LW Viewport Info 9",
      "LWColorSpace",
      "LWM: Dynamic Monitor",
      "LWPanelServices 3",
      "LWShelfFuncs 3",
      "LWVParmFuncs 4",
      "LWXPanel 3",
      "Locale Info",
      "Mesh Functions 2",
      "NodeEditorFuncs 7",
      "NodeFuncs 3",
      "NodeInputFuncs 5",
      "NodeOutputFuncs 4",
      "Particle Services 3",
      "RasterServices 4",
      "Scene Objects 9",
      "SurfaceEditor Functions 2",
      "Surface Functions 6",
      "System ID",
      "Texture Editor 3",
      "Texture Functions 6",
  };
  return ids;
}

Host::Host() {
  if (gCurrent != nullptr) throw HostError("another simulated host is still running");
  gCurrent = this;
  provideGlobals();
  defineCoreCommands();
}

Host::~Host() {
  unloadModule();
  gCurrent = nullptr;
}

Host *Host::currentOrNull() { return gCurrent; }

Host &Host::current() {
  if (gCurrent == nullptr) throw HostError("no simulated host is running");
  return *gCurrent;
}

void Host::provideGlobals() {
  for (const char *id : offeredGlobals()) globals_.provideRecord(id, unusedService_.data());
  globals_.provide(LWLOCALEINFO_GLOBAL, [this] { return integerAnswer(localeId_); });
  globals_.provide(LWSYSTEMID_GLOBAL, [this] { return integerAnswer(systemId_); });
  globals_.provideRecord(LWCOMMANDFUNC_GLOBAL, reinterpret_cast<void *>(CommandInterpreter::function()));
  globals_.provideRecord(LWPANELFUNCS_GLOBAL, panels_.record());
  globals_.provideRecord(LWMESSAGEFUNCS_GLOBAL, messages_.record());
  globals_.provideRecord(LWITEMINFO_GLOBAL, itemInfoRecord());
  globals_.provideRecord(LWOBJECTINFO_GLOBAL, objectInfoRecord());
  globals_.provideRecord(LWBONEINFO_GLOBAL, boneInfoRecord());
  globals_.provideRecord(LWCAMERAINFO_GLOBAL, cameraInfoRecord());
  globals_.provideRecord(LWOBJECTFUNCS_GLOBAL, sceneObjectsRecord());
  globals_.provideRecord(LWCHANNELINFO_GLOBAL, channelInfoRecord());
  globals_.provideRecord(LWENVELOPEFUNCS_GLOBAL, envelopeFuncsRecord());
  globals_.provideRecord(LWCOMRING_GLOBAL, CommRing::record());
  globals_.provideRecord(LWFILEACTIVATEFUNC_GLOBAL, reinterpret_cast<void *>(FileRequester::function()));
  globals_.provide(LWINTERFACEINFO_GLOBAL, [this] { return snapshots_.interfaceInfo(); });
  globals_.provide(LWSCENEINFO_GLOBAL, [this] { return snapshots_.sceneInfo(); });
  globals_.provide(LWTIMEINFO_GLOBAL, [this] { return snapshots_.timeInfo(); });
}

void Host::defineCoreCommands() {
  commands_.define("StatusMsg", [this](const std::string &text) {
    transcript_.status(text);
    return true;
  });
  // Creates the module's master once; accepted while it runs.
  commands_.define("ActivateMasterUnique", [this](const std::string &name) {
    std::string error;
    return module_ != nullptr && masters_.activateUnique(*module_, name, GlobalRegistry::function(), error);
  });
  commands_.observe([this](const std::string &line) { masters_.dispatch(LWEVNT_COMMAND, line.c_str()); });
  defineSceneCommands(*this);
  commands_.definePrefix("Generic_", [this](const std::string &name, const std::string &arguments) {
    return module_ != nullptr && module_->find(LWLAYOUTGENERIC_CLASS, name) != nullptr &&
           runGeneric(name, arguments) == AFUNC_OK;
  });
}

Module &Host::loadModule(const std::string &path) {
  unloadModule();
  module_ = std::make_unique<Module>(path);
  return *module_;
}

void Host::unloadModule() {
  masters_.destroyAll();
  panels_.clear();
  ring_.dropCallbacks();
  module_.reset();
}

void Host::goToTime(double seconds) {
  scene_.setTime(seconds);
  pose_.drop();
  masters_.dispatch(LWEVNT_TIME, nullptr);
}

void Host::selectionChanged() { masters_.dispatch(LWEVNT_SELECT, nullptr); }

void Host::loadScene(const std::string &path) {
  loadSceneFile(scene_, path);
  masters_.dispatch(LWEVNT_NOTIFY_SCENE_LOAD_COMPLETE, path.c_str());
}

Module &Host::requireModule() const {
  if (module_ == nullptr) throw HostError("no module is loaded");
  return *module_;
}

int Host::activate(const std::string &className, const std::string &name, int version, GlobalFunc *lookup) {
  if (className == LWLAYOUTGENERIC_CLASS) {
    GenericLocal local;
    return activateWithLocal(className, name, version, local.record(), lookup);
  }
  if (className == LWMASTER_HCLASS) {
    MasterHandlerLocal local;
    return activateWithLocal(className, name, version, &local.handler, lookup);
  }
  if (className == LWMASTER_ICLASS) {
    LWInterface local{};
    return activateWithLocal(className, name, version, &local, lookup);
  }
  throw HostError("the host has no server class " + className);
}

int Host::activateWithLocal(const std::string &className, const std::string &name, int version, void *local,
                            GlobalFunc *lookup) {
  return requireModule().activate(className, name, version, local,
                                  lookup != nullptr ? lookup : GlobalRegistry::function());
}

int Host::runGeneric(const std::string &name, const std::string &arguments) {
  GenericLocal local(arguments);
  return activateWithLocal(LWLAYOUTGENERIC_CLASS, name, LWLAYOUTGENERIC_VERSION, local.record());
}

}  // namespace lwsim
