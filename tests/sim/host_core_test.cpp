// The host's core: one host at a time, its globals as a module looks them up
// (through the lookup function handed to activations), its command interface
// as the module calls it, and loading modules: what the host refuses to load,
// the real module's servers, activation, a fresh module state for every host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

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
// The command log as "+LINE" (accepted) and "-LINE" (refused).
std::vector<std::string> commandLog(lwsim::Host &host) {
  std::vector<std::string> lines;
  for (const auto &record : host.commands().log()) lines.push_back((record.accepted ? "+" : "-") + record.line);
  return lines;
}

TEST(Host, OnlyOneExistsAtATime) {
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_THROW(lwsim::Host::current(), lwsim::HostError);
  EXPECT_EQ(command("StatusMsg nobody"), 0);
  {
    lwsim::Host first;
    EXPECT_THROW(lwsim::Host second, lwsim::HostError);
    EXPECT_EQ(&lwsim::Host::current(), &first) << "a refused second host leaves the first current";
    EXPECT_NE(lookup(LWPANELFUNCS_GLOBAL), nullptr);
  }
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), nullptr) << "no host, no globals";
  lwsim::Host again;
  EXPECT_EQ(lwsim::Host::currentOrNull(), &again);
}

// Records, providers run at every lookup, withheld ids until restored, and
// the log of every id asked for.
TEST(GlobalRegistry, LookupsAnswerRecordsProvidersAndIds) {
  lwsim::Host host;
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), host.panels().record());
  EXPECT_EQ(lookup(LWMESSAGEFUNCS_GLOBAL), host.messages().record());
  EXPECT_EQ(lookup(LWCOMMANDFUNC_GLOBAL), reinterpret_cast<void *>(lwsim::CommandInterpreter::function()));
  for (const char *id : lwsim::Host::offeredGlobals()) EXPECT_NE(lookup(id), nullptr) << id;

  int record = 0, snapshots[2] = {}, made = 0;
  host.globals().provideRecord("Test Record", &record);
  host.globals().provide("Snapshot", [&] { return &snapshots[made++]; });
  host.globals().withhold(LWPANELFUNCS_GLOBAL);
  host.globals().clearLookupLog();
  EXPECT_THAT(
      (std::vector<void *>{lookup("Test Record"), lookup("Snapshot"), lookup("Snapshot"), lookup(LWPANELFUNCS_GLOBAL),
                           lookup("No Such Global"), lookup(LWMESSAGEFUNCS_GLOBAL)}),
      ElementsAre(&record, &snapshots[0], &snapshots[1], nullptr, nullptr, host.messages().record()));
  EXPECT_THAT(host.globals().lookupLog(), ElementsAre("Test Record", "Snapshot", "Snapshot", LWPANELFUNCS_GLOBAL,
                                                      "No Such Global", LWMESSAGEFUNCS_GLOBAL));
  host.globals().clearLookupLog();
  EXPECT_TRUE(host.globals().lookupLog().empty());
  host.globals().restore(LWPANELFUNCS_GLOBAL);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), host.panels().record());
  EXPECT_EQ(lwsim::GlobalRegistry::function()(nullptr, GFUSE_TRANSIENT), nullptr);

  // The whole locale id and the 32-bit system id, as integers.
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), static_cast<std::uint64_t>(LANGID_USENGLISH));
  host.setLocaleId(lwsim::Host::kJapanese);
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), static_cast<std::uint64_t>(LANGID_JAPANESE));
  host.setLocaleId(0x7A5C'0000'0001'0411ull);
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), 0x7A5C'0000'0001'0411ull);
  host.setSystemId(0xF2345678u);
  EXPECT_EQ(integerAnswer(LWSYSTEMID_GLOBAL), 0xF2345678u);
  host.setSystemId(LWSYS_SCREAMERNET | 0x42u);
  EXPECT_EQ(integerAnswer(LWSYSTEMID_GLOBAL), LWSYS_SCREAMERNET | 0x42u);
}

// A record of functions alone has one in every slot.
template <class Record>
void expectEveryFunctionSet(const char *id) {
  const auto *record = static_cast<const unsigned char *>(lookup(id));
  ASSERT_NE(record, nullptr) << id;
  for (std::size_t offset = 0; offset < sizeof(Record); offset += sizeof(void *)) {
    void *slot = nullptr;
    std::memcpy(&slot, record + offset, sizeof slot);
    EXPECT_NE(slot, nullptr) << id << " at " << offset;
  }
}

// Members the host does not simulate answer a neutral value and show up in
// the transcript.
TEST(GlobalRegistry, EveryFunctionOfTheRecordsIsSetAndAnUnsupportedOneIsRecorded) {
  lwsim::Host host;
  expectEveryFunctionSet<LWItemInfo>(LWITEMINFO_GLOBAL);
  expectEveryFunctionSet<LWObjectInfo>(LWOBJECTINFO_GLOBAL);
  expectEveryFunctionSet<LWBoneInfo>(LWBONEINFO_GLOBAL);
  expectEveryFunctionSet<LWCameraInfo>(LWCAMERAINFO_GLOBAL);
  expectEveryFunctionSet<LWObjectFuncs>(LWOBJECTFUNCS_GLOBAL);
  expectEveryFunctionSet<LWChannelInfo>(LWCHANNELINFO_GLOBAL);
  expectEveryFunctionSet<LWEnvelopeFuncs>(LWENVELOPEFUNCS_GLOBAL);
  expectEveryFunctionSet<LWMessageFuncs>(LWMESSAGEFUNCS_GLOBAL);
  expectEveryFunctionSet<LWComRing>(LWCOMRING_GLOBAL);
  const auto *interface = static_cast<const LWInterfaceInfo *>(lookup(LWINTERFACEINFO_GLOBAL));
  for (const void *function :
       {reinterpret_cast<const void *>(interface->itemFlags), reinterpret_cast<const void *>(interface->itemVis),
        reinterpret_cast<const void *>(interface->setItemColorCustom)})
    EXPECT_NE(function, nullptr);

  EXPECT_EQ(static_cast<LWItemInfo *>(lookup(LWITEMINFO_GLOBAL))->target(nullptr), nullptr);
  EXPECT_EQ(static_cast<LWCameraInfo *>(lookup(LWCAMERAINFO_GLOBAL))->focalLength(nullptr, 1.0), 0.0);
  static_cast<LWPanelFuncs *>(lookup(LWPANELFUNCS_GLOBAL))->setParent(nullptr, nullptr);
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("unsupported: LWItemInfo.target", "unsupported: LWCameraInfo.focalLength",
                          "unsupported: LWPanelFuncs.setParent"));
}

// Results and the log follow the handlers (a handler that throws refuses);
// nested commands are logged after theirs and observed when accepted, after
// they ran; StatusMsg shows the text after the first blank unchanged; a
// refused word stays refused until allowed.
TEST(CommandInterpreter, ResultsLogObserversAndTranscript) {
  lwsim::Host host;
  lwsim::CommandInterpreter &commands = host.commands();
  std::vector<std::string> observed;
  commands.observe([&](const std::string &line) { observed.push_back(line); });
  commands.define("Check", [](const std::string &argument) { return argument == "good"; });
  commands.define("Fails", [](const std::string &) -> bool { throw std::runtime_error("no such item"); });
  commands.define("Outer",
                  [](const std::string &) { return command("StatusMsg inner") + command("Unknown inner") == 1; });
  const std::pair<const char *, int> lines[] = {{"Check good", 1},
                                                {"Check bad", 0},
                                                {"NoSuchCommand 1 2", 0},
                                                {"", 0},
                                                {"Fails now", 0},
                                                {"Outer", 1},
                                                {"StatusMsg  two  blanks ", 1},
                                                {"StatusMsg", 1},
                                                {"StatusMsg \"quoted\" 100%", 1}};
  for (auto [line, result] : lines) EXPECT_EQ(command(line), result) << line;
  commands.refuse("StatusMsg");
  EXPECT_EQ(command("StatusMsg hidden"), 0);
  commands.allow("StatusMsg");
  EXPECT_EQ(command("StatusMsg shown"), 1);

  EXPECT_THAT(commandLog(host),
              ElementsAre("+Check good", "-Check bad", "-NoSuchCommand 1 2", "-", "-Fails now", "+Outer",
                          "+StatusMsg inner", "-Unknown inner", "+StatusMsg  two  blanks ", "+StatusMsg",
                          "+StatusMsg \"quoted\" 100%", "-StatusMsg hidden", "+StatusMsg shown"));
  EXPECT_THAT(observed, ElementsAre("Check good", "StatusMsg inner", "Outer", "StatusMsg  two  blanks ", "StatusMsg",
                                    "StatusMsg \"quoted\" 100%", "StatusMsg shown"));
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("refused: Check bad", "refused: NoSuchCommand 1 2", "refused: ", "refused: Fails now",
                          "status: inner", "refused: Unknown inner", "status:  two  blanks ",
                          "status: ", "status: \"quoted\" 100%", "refused: StatusMsg hidden", "status: shown"));
}

// Generic_NAME runs the module's generic server with its arguments;
// ActivateMasterUnique takes only a master. Both need a loaded module.
TEST(CommandInterpreter, ModuleCommandsRunTheModulesServers) {
  {
    lwsim::Host host;
    EXPECT_EQ(command("Generic_Probe"), 0);
    EXPECT_EQ(command("ActivateMasterUnique .QD:ZaraRazEzedud"), 0);
    host.loadModule(LWSIM_FIXTURE_PROBE);
    const std::pair<const char *, int> lines[] = {
        {"Generic_Probe first second", 1}, {"Generic_Probe", 1}, {"Generic_Absent x", 0}, {"Generic_", 0}};
    for (auto [line, result] : lines) EXPECT_EQ(command(line), result) << line;
    EXPECT_THAT(host.transcript().formatted(),
                ElementsAre("refused: Generic_Probe", "refused: ActivateMasterUnique .QD:ZaraRazEzedud",
                            "status: probe locale=0x409 args=first second",
                            "status: probe locale=0x409 args=", "refused: Generic_Absent x", "refused: Generic_"));
  }
  {
    lwtest::ModuleHost fixture;
    EXPECT_EQ(command("Generic_QD:VaruDudEdodav"), 1);
    EXPECT_THAT(
        commandLog(fixture.host()),
        ElementsAre("+Generic_QD:VaruDudEdodav", "+ActivateMasterUnique .QD:ZaraRazEzedud", "+AddEnvelope Dissolve"))
        << "the commands the server issues are logged inside it";
    EXPECT_EQ(command("Generic_.QD:ZaraRazEzedud"), 0) << "a master is no generic server";
  }
  lwtest::ModuleHost fixture;
  EXPECT_EQ(command("ActivateMasterUnique .QD:ZaraRazEzedud"), 1);
  EXPECT_EQ(command("ActivateMasterUnique QD:VaruDudEdodav"), 0);
  EXPECT_EQ(command("ActivateMasterUnique"), 0);
  EXPECT_THAT(fixture.transcript(),
              ElementsAre("refused: ActivateMasterUnique QD:VaruDudEdodav", "refused: ActivateMasterUnique"));
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

TEST(ModuleLoader, RealModuleFindsItsServersAndDropsItsPanels) {
  lwtest::ModuleHost fixture;
  for (const lwtest::ServerCase &server : lwtest::moduleServers())
    EXPECT_NE(fixture.module().find(server.className, server.name), nullptr) << server.name;
  EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:NoSuchServer", 7), lwsim::HostError);
  EXPECT_THROW(fixture.activate("MasterHandler", "QD:VaruDudEdodav", 5), lwsim::HostError);
  EXPECT_THROW(fixture.activate("ImageFilterHandler", "QD:VaruDudEdodav", 7), lwsim::HostError);

  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
  ASSERT_EQ(fixture.host().panels().panelsCreated(), 1);
  fixture.host().unloadModule();
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0) << "unloading drops the module's panels";
  EXPECT_EQ(fixture.host().panels().openPanel(), nullptr);
  EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), lwsim::HostError);
}

// The key setter looks its globals up once per loaded module; a new host
// loads the module anew, so its first activation looks them all up again.
TEST(ModuleLoader, EveryHostStartsFromAFreshModule) {
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
  }
  ASSERT_GT(first.size(), repeated.size()) << "the first activation looks up more than later ones";
  lwtest::ModuleHost again;
  EXPECT_EQ(activationLookups(again.host()), first);
}

}  // namespace
