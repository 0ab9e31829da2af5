// Activating the module's servers in the simulated host: the version check,
// the two global sets, the master's records and the clip panels' lifecycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "sim/module/server_locals.h"
#include "support/lookup_spy.h"
#include "support/module_host.h"

namespace {

using lwtest::ModuleHost;

constexpr const char *kMasterCommand = "ActivateMasterUnique .QD:ZaraRazEzedud";

// Every server accepts one exact version: neither one below nor above.
TEST(Activation, AnotherVersionReturnsBadVersionAndTouchesNothing) {
  for (const lwtest::ServerCase &server : lwtest::moduleServers()) {
    for (const int delta : {-1, 1, -7, 100}) {
      SCOPED_TRACE(std::string(server.className) + " " + server.name + " " + std::to_string(delta));
      ModuleHost fixture;
      lwsim::GenericLocal generic;
      lwsim::MasterHandlerLocal handler;
      LWInterface ui{nullptr, reinterpret_cast<void *>(0x1), nullptr, nullptr};
      const std::string className = server.className;
      void *local = className == "LayoutGeneric"   ? static_cast<void *>(generic.record())
                    : className == "MasterHandler" ? static_cast<void *>(&handler.handler)
                                                   : static_cast<void *>(&ui);
      EXPECT_EQ(fixture.host().activateWithLocal(server.className, server.name, server.version + delta, local),
                AFUNC_BADVERSION);
      EXPECT_TRUE(fixture.host().globals().lookupLog().empty());
      EXPECT_TRUE(fixture.commandLines().empty());
      EXPECT_EQ(fixture.host().panels().panelsCreated() + generic.evaluations(), 0);
      EXPECT_EQ(handler.instanceFuncs.create, nullptr);
      EXPECT_EQ(handler.handler.event, nullptr);
      EXPECT_EQ(ui.panel, reinterpret_cast<void *>(0x1));
    }
  }
}

// Each run makes sure of the master; the first opening builds the panel,
// which issues one command of its own. The key tools' global set is
// acquired once, with the first lookup function; the clip servers' at
// every activation, and a missing requester stops only them.
TEST(Activation, KeyToolsAcquireTheirGlobalsOnceAndEnsureTheMasterAtEachRun) {
  for (const char *name : {"QD:VaruDudEdodav", "QD:RozaRivAvudivo"}) {
    SCOPED_TRACE(name);
    ModuleHost fixture;
    fixture.host().globals().withhold("LSUniversalRequester");
    EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
    fixture.host().globals().clearLookupLog();
    lwsim::GenericLocal generic;
    EXPECT_EQ(fixture.host().activateWithLocal("LayoutGeneric", name, 7, generic.record()), AFUNC_OK);
    EXPECT_EQ(fixture.host().activateWithLocal("LayoutGeneric", name, 7, generic.record()), AFUNC_OK);
    EXPECT_EQ(generic.evaluations(), 2);
    EXPECT_EQ(fixture.commandLines(),
              (std::vector<std::string>{kMasterCommand, "AddEnvelope Dissolve", kMasterCommand}));
    EXPECT_TRUE(fixture.host().commands().log().at(0).accepted);
    EXPECT_TRUE(fixture.transcript().empty());
  }
  ModuleHost fixture;
  lwsim::GenericLocal resetOnly("init");  // no panel, so no snapshot is looked up
  ASSERT_EQ(fixture.host().activateWithLocal("LayoutGeneric", "QD:VaruDudEdodav", 7, resetOnly.record()), AFUNC_OK);
  std::vector<std::string> expected(lwp::CHostGlobals::kIds.begin(), lwp::CHostGlobals::kIds.end());
  expected.emplace_back("Locale Info");  // the language choice
  expected.emplace_back("System ID");    // the master's creation
  EXPECT_EQ(fixture.host().globals().lookupLog(), expected);
  lwtest::LookupSpy spy;
  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:RozaRivAvudivo", 7, spy.function()), AFUNC_OK);
  ASSERT_EQ(fixture.activate("MasterHandler", ".QD:ZaraRazEzedud", 5, spy.function()), AFUNC_OK);
  EXPECT_EQ(spy.asked(), std::vector<std::string>{"Locale Info"}) << "only the language is asked again";

  fixture.host().globals().clearLookupLog();
  std::vector<std::string> clipIds(lwp::CClipGlobals::kIds.begin(), lwp::CClipGlobals::kIds.end());
  clipIds.insert(clipIds.end(), 2, "Locale Info");  // save and load labels
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVLoad", 7), AFUNC_OK);
    EXPECT_EQ(fixture.host().globals().lookupLog(), clipIds);
    fixture.host().globals().clearLookupLog();
  }
}

TEST(Activation, MasterRecordsAreFilledAndTheInterfaceCleared) {
  ModuleHost fixture;
  lwtest::LookupSpy spy;
  lwsim::MasterHandlerLocal local;
  LWItemFuncs *hostItems = local.handler.item;
  ASSERT_EQ(fixture.host().activateWithLocal("MasterHandler", ".QD:ZaraRazEzedud", 5, &local.handler, spy.function()),
            AFUNC_OK);
  const LWInstanceFuncs &inst = local.instanceFuncs;
  EXPECT_EQ(inst.priv, reinterpret_cast<void *>(spy.function())) << "create looks globals up through it";
  EXPECT_EQ(local.handler.type, 0);
  EXPECT_EQ(local.handler.item, hostItems);
  ASSERT_TRUE(inst.create && inst.destroy && inst.copy && inst.load && inst.save && inst.descln &&
              local.handler.event && local.handler.flags);
  LWError error = nullptr;
  LWInstance master = inst.create(inst.priv, nullptr, &error);
  ASSERT_NE(master, nullptr);
  EXPECT_STREQ(inst.descln(master), ".QD:ZaraRazEzedud(1.20) build 250619");
  EXPECT_STREQ(inst.descln(nullptr), "");
  EXPECT_STREQ(inst.copy(master, master), "Copy not supported !");
  EXPECT_EQ(inst.load(master, nullptr), nullptr);
  EXPECT_EQ(inst.save(master, nullptr), nullptr);
  EXPECT_EQ(local.handler.flags(master), 2u);
  inst.destroy(master);

  int instance = 0;
  LWInterface ui{&instance, reinterpret_cast<void *>(0x10), reinterpret_cast<LWError (*)(LWInstance)>(0x20),
                 reinterpret_cast<LWError (*)(LWInstance, const char *)>(0x30)};
  fixture.host().globals().clearLookupLog();
  EXPECT_EQ(fixture.host().activateWithLocal("MasterInterface", ".QD:ZaraRazEzedud", 5, &ui), AFUNC_OK);
  EXPECT_EQ(ui.panel, nullptr);
  EXPECT_EQ(ui.options, nullptr);
  EXPECT_EQ(ui.command, nullptr);
  EXPECT_EQ(ui.inst, &instance);
  EXPECT_TRUE(fixture.host().globals().lookupLog().empty()) << "the interface needs no globals";
}

// Looked up in order, up to the missing one, with no language lookup after.
TEST(Activation, AMissingClipGlobalStopsTheClipServersBeforeLabelsAndPanels) {
  const auto &ids = lwp::CClipGlobals::kIds;
  for (std::size_t missing = 0; missing < ids.size(); ++missing) {
    for (const char *name : {"QD:ZaduDuzAVSave", "QD:ZaduDuzAVLoad"}) {
      SCOPED_TRACE(std::string(name) + " without " + ids[missing]);
      ModuleHost fixture;
      lwtest::LookupSpy spy;
      fixture.host().globals().withhold(ids[missing]);
      EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7, spy.function()), AFUNC_BADGLOBAL);
      EXPECT_EQ(fixture.host().globals().lookupLog(),
                std::vector<std::string>(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(missing) + 1));
      EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
      EXPECT_TRUE(fixture.commandLines().empty());
      EXPECT_TRUE(std::string(ids[missing]) != "AOV Functions" ||
                  fixture.host().panels().record()->globalFun == spy.function())
          << "the panels learnt the lookup before a later global was missed";
    }
  }
  ModuleHost fixture;  // the locale id is tested on its low 32 bits
  fixture.host().setLocaleId(0x100000000ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  fixture.host().setLocaleId(0x100000411ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
}

TEST(Activation, ClipPanelsOpenWithoutBlockingAndAreReusedAfterAClose) {
  for (const char *server : {"QD:ZaduDuzAVSave", "QD:ZaduDuzAVLoad"}) {
    SCOPED_TRACE(server);
    ModuleHost fixture;
    lwsim::PanelService &panels = fixture.host().panels();
    panels.setRefuseOpen(true);
    EXPECT_EQ(fixture.activate("LayoutGeneric", server, 7), AFUNC_BADGLOBAL);
    ASSERT_EQ(panels.panelsCreated(), 1);
    lwsim::Panel &panel = *panels.panels().front();
    EXPECT_FALSE(panel.isOpen());
    panels.setRefuseOpen(false);
    EXPECT_EQ(fixture.activate("LayoutGeneric", server, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen());
    panel.closeNow();  // the user closes it
    EXPECT_EQ(fixture.activate("LayoutGeneric", server, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen());
    EXPECT_EQ(panel.timesOpened(), 2);
    EXPECT_EQ(panels.panelsCreated(), 1) << "the same host panel again";
  }
}

}  // namespace
