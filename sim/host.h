// The simulated Layout host: its services, its command interface and the
// module it has loaded. One host is current at a time; the C entries the
// module calls reach it through current().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "commands/command_interpreter.h"
#include "module/master_service.h"
#include "module/module_loader.h"
#include "panels/panel_service.h"
#include "scene/scene.h"
#include "scene/viewport_pose.h"
#include "services/comm_ring.h"
#include "services/file_requester.h"
#include "services/global_registry.h"
#include "services/message_service.h"
#include "services/snapshot_services.h"
#include "services/transcript.h"

namespace lwsim {

class Host {
 public:
  static constexpr std::uint64_t kEnglish = 0x0409;
  static constexpr std::uint64_t kJapanese = 0x0411;

  Host();
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  static Host *currentOrNull();
  static Host &current();  // throws HostError when no host exists

  Transcript &transcript() { return transcript_; }
  const Transcript &transcript() const { return transcript_; }
  GlobalRegistry &globals() { return globals_; }
  CommandInterpreter &commands() { return commands_; }
  const CommandInterpreter &commands() const { return commands_; }
  PanelService &panels() { return panels_; }
  MessageService &messages() { return messages_; }
  Scene &scene() { return scene_; }
  const Scene &scene() const { return scene_; }
  ViewportPose &pose() { return pose_; }
  SnapshotService &snapshots() { return snapshots_; }
  MasterService &masters() { return masters_; }
  CommRing &ring() { return ring_; }
  FileRequester &fileRequester() { return fileRequester_; }

  // Scene changes the masters are told of: a new current time (the shown
  // pose is dropped), a changed selection, a scene file loaded into the
  // scene (the notification that a scene has finished loading, with the
  // file's name).
  void goToTime(double seconds);
  void selectionChanged();
  void loadScene(const std::string &path);

  // "Locale Info" answers the language id in place of a pointer, all 64 bits
  // of it; "System ID" a 32-bit product and serial number.
  void setLocaleId(std::uint64_t id) { localeId_ = id; }
  std::uint64_t localeId() const { return localeId_; }
  void setSystemId(std::uint32_t id) { systemId_ = id; }
  std::uint32_t systemId() const { return systemId_; }

  Module &loadModule(const std::string &path);
  // Unloading destroys the module's masters and drops the panels and the C
  // ring listeners first: they are the module's code.
  void unloadModule();
  Module *module() const { return module_.get(); }

  // Activates a server of the loaded module with the local record its class
  // takes; the lookup defaults to the host's own.
  int activate(const std::string &className, const std::string &name, int version, GlobalFunc *lookup = nullptr);
  int activateWithLocal(const std::string &className, const std::string &name, int version, void *local,
                        GlobalFunc *lookup = nullptr);
  // Runs a generic server at the host's version, as "Generic_NAME ARGS" does.
  int runGeneric(const std::string &name, const std::string &arguments);

  // Ids of every global this host answers.
  static const std::array<const char *, 59> &offeredGlobals();

 private:
  void provideGlobals();
  void defineCoreCommands();
  Module &requireModule() const;

  Transcript transcript_;
  GlobalRegistry globals_;
  CommandInterpreter commands_{transcript_};
  PanelService panels_;
  MessageService messages_;
  Scene scene_;
  ViewportPose pose_{scene_};
  SnapshotService snapshots_{scene_};
  MasterService masters_;
  CommRing ring_;
  FileRequester fileRequester_;
  std::uint64_t localeId_ = kEnglish;
  std::uint32_t systemId_ = 0x10001234;
  // Services the module looks up but never calls here answer this block of
  // zeros, so a lookup of them succeeds as in Layout.
  alignas(std::max_align_t) std::array<unsigned char, 4096> unusedService_{};
  std::unique_ptr<Module> module_;
};

}  // namespace lwsim
