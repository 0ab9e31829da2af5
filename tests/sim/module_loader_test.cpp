// Loading modules: what the host refuses to load, the real module's servers,
// activation, and a fresh module state for every host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/host.h"
#include "sim/host_error.h"
#include "support/module_host.h"

namespace {

using ::testing::HasSubstr;

// The message of the HostError that loading path throws, or "" when none.
std::string loadError(lwsim::Host &host, const std::string &path) {
  try {
    host.loadModule(path);
  } catch (const lwsim::HostError &error) {
    return error.what();
  }
  return "";
}

TEST(ModuleLoader, MissingFileOrNotALibraryIsRefusedNamingThePath) {
  lwsim::Host host;
  const std::string missing = testing::TempDir() + "no_such_module.p";
  EXPECT_THAT(loadError(host, missing), HasSubstr(missing));

  const std::string text = testing::TempDir() + "text_module.p";
  std::ofstream(text) << "not a library\n";
  EXPECT_THAT(loadError(host, text), HasSubstr(text));
  std::filesystem::remove(text);
  EXPECT_EQ(host.module(), nullptr);
}

TEST(ModuleLoader, BadDescriptorsAreRefused) {
  struct Case {
    const char *path;
    const char *reason;
  };
  const Case cases[] = {
      {LWSIM_FIXTURE_NO_DESCRIPTOR, "_mod_descrip"},   {LWSIM_FIXTURE_WRONG_SYNC, "sysSync 0x4121995"},
      {LWSIM_FIXTURE_WRONG_VERSION, "sysVersion 0x2"}, {LWSIM_FIXTURE_WRONG_MACHINE, "sysMachine 0x200"},
      {LWSIM_FIXTURE_NULL_STARTUP, "failed to start"},
  };
  lwsim::Host host;
  host.loadModule(LWSIM_FIXTURE_PROBE);
  for (const Case &c : cases) {
    const std::string message = loadError(host, c.path);
    EXPECT_THAT(message, HasSubstr(c.path));
    EXPECT_THAT(message, HasSubstr(c.reason)) << c.path;
    EXPECT_EQ(host.module(), nullptr) << "a refused module replaces the loaded one with none";
    host.loadModule(LWSIM_FIXTURE_PROBE);
  }
  ASSERT_NE(host.module(), nullptr);
  EXPECT_EQ(host.module()->servers().size(), 1u);
}

TEST(ModuleLoader, RealModuleListsItsSixServers) {
  lwtest::ModuleHost fixture;
  const auto &servers = fixture.module().servers();
  const auto &expected = lwtest::moduleServers();
  ASSERT_EQ(servers.size(), expected.size());
  for (std::size_t i = 0; i < servers.size(); ++i) {
    EXPECT_EQ(servers[i].className, expected[i].className) << i;
    EXPECT_EQ(servers[i].name, expected[i].name) << i;
    EXPECT_EQ(fixture.module().find(expected[i].className, expected[i].name), &servers[i]);
  }
}

TEST(ModuleLoader, ActivatingAnUnknownServerThrows) {
  lwtest::ModuleHost fixture;
  EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:NoSuchServer", 7), lwsim::HostError);
  EXPECT_THROW(fixture.activate("MasterHandler", "QD:VaruDudEdodav", 5), lwsim::HostError);
  EXPECT_THROW(fixture.activate("ImageFilterHandler", "QD:VaruDudEdodav", 7), lwsim::HostError);
  fixture.host().unloadModule();
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

namespace {

TEST(ModuleLoader, UnloadingDropsTheModulesPanels) {
  lwtest::ModuleHost fixture;
  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
  ASSERT_EQ(fixture.host().panels().panelsCreated(), 1);
  fixture.host().unloadModule();
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  EXPECT_EQ(fixture.host().panels().openPanel(), nullptr);
}

}  // namespace
