// The host's core: one host at a time, its globals as a module looks them up
// (through the lookup function handed to activations), the refusals of its
// command interface, and loading modules: what the host refuses to load, the
// real module's servers and a fresh module state for every host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/host/lwcomring.h"
#include "plugin/host/lwhost.h"
#include "sim/host.h"
#include "sim/host_error.h"
#include "support/module_host.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

void *lookup(const char *id) { return lwsim::GlobalRegistry::function()(id, GFUSE_TRANSIENT); }
std::uint64_t integerAnswer(const char *id) { return reinterpret_cast<std::uintptr_t>(lookup(id)); }
int command(const std::string &line) { return lwsim::CommandInterpreter::function()(line.c_str()); }
// One host at a time (a refused second leaves the first current; no host, no
// globals, commands or ring); every offered global answers; the locale and system ids are
// whole integers; every slot of the records of functions alone is set, and a
// member the host does not simulate answers a neutral value and is recorded.
TEST(Host, OneAtATimeWithItsGlobals) {
  EXPECT_THROW(lwsim::Host::current(), lwsim::HostError);
  EXPECT_EQ(command("StatusMsg nobody"), 0);
  EXPECT_EQ(lwsim::CommRing::record()->ringAttach(
                "topic", nullptr, +[](void *, void *, int, void *) {}),
            0);
  {
    lwsim::Host first;
    EXPECT_THROW(lwsim::Host second, lwsim::HostError);
    EXPECT_EQ(&lwsim::Host::current(), &first);
  }
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), nullptr);
  lwsim::Host host;
  EXPECT_EQ(lookup(LWCOMMANDFUNC_GLOBAL), reinterpret_cast<void *>(lwsim::CommandInterpreter::function()));
  for (const char *id : lwsim::Host::offeredGlobals()) EXPECT_NE(lookup(id), nullptr) << id;
  EXPECT_EQ(lookup("No Such Global"), nullptr);
  host.setLocaleId(0x7A5C'0000'0001'0411ull);
  host.setSystemId(LWSYS_SCREAMERNET | 0x42u);
  EXPECT_EQ(std::vector<std::uint64_t>({integerAnswer(LWLOCALEINFO_GLOBAL), integerAnswer(LWSYSTEMID_GLOBAL)}),
            std::vector<std::uint64_t>({0x7A5C'0000'0001'0411ull, LWSYS_SCREAMERNET | 0x42u}));

  const std::pair<const char *, std::size_t> functionsOnly[] = {{LWITEMINFO_GLOBAL, sizeof(LWItemInfo)},
                                                                {LWOBJECTINFO_GLOBAL, sizeof(LWObjectInfo)},
                                                                {LWBONEINFO_GLOBAL, sizeof(LWBoneInfo)},
                                                                {LWCAMERAINFO_GLOBAL, sizeof(LWCameraInfo)},
                                                                {LWOBJECTFUNCS_GLOBAL, sizeof(LWObjectFuncs)},
                                                                {LWCHANNELINFO_GLOBAL, sizeof(LWChannelInfo)},
                                                                {LWENVELOPEFUNCS_GLOBAL, sizeof(LWEnvelopeFuncs)},
                                                                {LWMESSAGEFUNCS_GLOBAL, sizeof(LWMessageFuncs)},
                                                                {LWCOMRING_GLOBAL, sizeof(LWComRing)}};
  for (auto [id, size] : functionsOnly) {
    const auto *bytes = static_cast<const unsigned char *>(lookup(id));
    for (std::size_t offset = 0; offset < size; offset += sizeof(void *)) {
      void *slot = nullptr;
      std::memcpy(&slot, bytes + offset, sizeof slot);
      EXPECT_NE(slot, nullptr) << id << " at " << offset;
    }
  }
  EXPECT_EQ(static_cast<LWItemInfo *>(lookup(LWITEMINFO_GLOBAL))->target(nullptr), nullptr);
  EXPECT_EQ(static_cast<LWCameraInfo *>(lookup(LWCAMERAINFO_GLOBAL))->focalLength(nullptr, 1.0), 0.0);
  static_cast<LWPanelFuncs *>(lookup(LWPANELFUNCS_GLOBAL))->setParent(nullptr, nullptr);
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("unsupported: LWItemInfo.target", "unsupported: LWCameraInfo.focalLength",
                          "unsupported: LWPanelFuncs.setParent"));
}

// A handler's result is the command's (one that throws refuses); a refused
// word stays refused until allowed; a generic server needs a loaded module
// and runs with its arguments. (The module's tests read the command log.)
TEST(CommandInterpreter, RefusalsAndModuleServers) {
  lwsim::Host host;
  lwsim::CommandInterpreter &commands = host.commands();
  commands.define("Check", [](const std::string &argument) { return argument == "good"; });
  commands.define("Fails", [](const std::string &) -> bool { throw std::runtime_error("no such item"); });
  EXPECT_EQ(command("Generic_Probe"), 0);
  host.loadModule(LWSIM_FIXTURE_PROBE);
  const std::pair<const char *, int> lines[] = {{"Check good", 1},        {"Check bad", 0},
                                                {"NoSuchCommand 1 2", 0}, {"", 0},
                                                {"Fails now", 0},         {"Generic_Probe first second", 1},
                                                {"Generic_Absent x", 0},  {"Generic_", 0}};
  for (auto [line, result] : lines) EXPECT_EQ(command(line), result) << line;
  commands.refuse("StatusMsg");
  EXPECT_EQ(command("StatusMsg hidden"), 0);
  commands.allow("StatusMsg");
  EXPECT_EQ(command("StatusMsg  shown "), 1);
  EXPECT_THAT(
      host.transcript().formatted(),
      ElementsAre("refused: Generic_Probe", "refused: Check bad", "refused: NoSuchCommand 1 2",
                  "refused: ", "refused: Fails now", "status: probe locale=0x409 args=first second",
                  "refused: Generic_Absent x", "refused: Generic_", "refused: StatusMsg hidden", "status:  shown "));
}

// The message of the HostError that loading path throws, or "" when none.
std::string loadError(lwsim::Host &host, const std::string &path) {
  try {
    host.loadModule(path);
  } catch (const lwsim::HostError &error) {
    return error.what();
  }
  return "";
}

// A missing file, no library, or a bad descriptor: refused naming the path
// and the reason; a refused module replaces the loaded one with none.
TEST(ModuleLoader, BadModulesAreRefused) {
  const std::string missing = testing::TempDir() + "no_such_module.p", text = testing::TempDir() + "text_module.p";
  std::ofstream(text) << "not a library\n";
  const std::pair<std::string, const char *> cases[] = {{missing, ""},
                                                        {text, ""},
                                                        {LWSIM_FIXTURE_NO_DESCRIPTOR, "_mod_descrip"},
                                                        {LWSIM_FIXTURE_WRONG_SYNC, "sysSync 0x4121995"},
                                                        {LWSIM_FIXTURE_WRONG_VERSION, "sysVersion 0x2"},
                                                        {LWSIM_FIXTURE_WRONG_MACHINE, "sysMachine 0x200"},
                                                        {LWSIM_FIXTURE_NULL_STARTUP, "failed to start"}};
  lwsim::Host host;
  for (const auto &[path, reason] : cases) {
    host.loadModule(LWSIM_FIXTURE_PROBE);
    const std::string message = loadError(host, path);
    EXPECT_THAT(message, HasSubstr(path));
    EXPECT_THAT(message, HasSubstr(reason)) << path;
    EXPECT_EQ(host.module(), nullptr) << path;
  }
  std::filesystem::remove(text);
  host.loadModule(LWSIM_FIXTURE_PROBE);
  ASSERT_NE(host.module(), nullptr);
  EXPECT_EQ(host.module()->servers().size(), 1u);
}

// A server of another class or name is refused, a master is no generic
// server nor the reverse; unloading drops the module's panels. The key setter
// looks its globals up once per loaded module, and every new host loads the
// module anew, so its first activation looks them all up again.
TEST(ModuleLoader, RealModuleServersPanelsAndAFreshModuleForEveryHost) {
  const auto activationLookups = [](lwsim::Host &host) {
    host.globals().clearLookupLog();
    EXPECT_EQ(host.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), AFUNC_OK);
    return host.globals().lookupLog();
  };
  std::vector<std::string> first, repeated;
  {
    lwtest::ModuleHost fixture;
    first = activationLookups(fixture.host());
    repeated = activationLookups(fixture.host());
    EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:NoSuchServer", 7), lwsim::HostError);
    EXPECT_THROW(fixture.activate("MasterHandler", "QD:VaruDudEdodav", 5), lwsim::HostError);
    EXPECT_EQ(command("Generic_.QD:ZaraRazEzedud") + command("ActivateMasterUnique QD:VaruDudEdodav"), 0);
    ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
    ASSERT_GT(fixture.host().panels().panelsCreated(), 0);
    fixture.host().unloadModule();
    EXPECT_EQ(fixture.host().panels().panelsCreated(), 0) << "unloading drops the module's panels";
    EXPECT_EQ(fixture.host().panels().openPanel(), nullptr);
    EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), lwsim::HostError);
  }
  ASSERT_GT(first.size(), repeated.size()) << "the first activation looks up more than later ones";
  lwtest::ModuleHost again;
  EXPECT_EQ(activationLookups(again.host()), first);
}

}  // namespace
