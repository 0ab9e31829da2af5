// Activating the module's servers in the simulated host: the version check,
// the two global sets, the master records and the clip panels' lifecycle.
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

std::vector<std::string> idsUpTo(const auto &ids, std::size_t last) {
  return std::vector<std::string>(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(last) + 1);
}

// ---- version check ----

class VersionMismatch : public ::testing::TestWithParam<int> {};

TEST_P(VersionMismatch, ReturnsBadVersionAndTouchesNothing) {
  for (const lwtest::ServerCase &server : lwtest::moduleServers()) {
    SCOPED_TRACE(std::string(server.className) + " " + server.name);
    ModuleHost fixture;
    const int version = server.version + GetParam();
    lwsim::GenericLocal generic;
    lwsim::MasterHandlerLocal handler;
    LWInterface ui{nullptr, reinterpret_cast<void *>(0x1), nullptr, nullptr};
    const std::string className = server.className;
    void *local = className == "LayoutGeneric"   ? static_cast<void *>(generic.record())
                  : className == "MasterHandler" ? static_cast<void *>(&handler.handler)
                                                 : static_cast<void *>(&ui);
    EXPECT_EQ(fixture.host().activateWithLocal(server.className, server.name, version, local), AFUNC_BADVERSION);
    EXPECT_TRUE(fixture.host().globals().lookupLog().empty());
    EXPECT_TRUE(fixture.commandLines().empty());
    EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
    EXPECT_EQ(generic.evaluations(), 0);
    EXPECT_EQ(handler.instanceFuncs.create, nullptr);
    EXPECT_EQ(handler.handler.event, nullptr);
    EXPECT_EQ(ui.panel, reinterpret_cast<void *>(0x1));
  }
}

// Every server accepts one exact version: neither the one below nor above.
INSTANTIATE_TEST_SUITE_P(AroundTheAcceptedVersion, VersionMismatch, ::testing::Values(-1, 1, -7, 100));

// ---- key setter and key deleter ----

TEST(KeyTools, EachRunMakesSureOfTheMasterThroughTheGenericsEvaluate) {
  for (const char *name : {"QD:VaruDudEdodav", "QD:RozaRivAvudivo"}) {
    SCOPED_TRACE(name);
    ModuleHost fixture;
    lwsim::GenericLocal generic;
    EXPECT_EQ(fixture.host().activateWithLocal("LayoutGeneric", name, 7, generic.record()), AFUNC_OK);
    EXPECT_EQ(fixture.host().activateWithLocal("LayoutGeneric", name, 7, generic.record()), AFUNC_OK);
    EXPECT_EQ(generic.evaluations(), 2);
    // The first opening builds the panel, which issues one command of its own.
    EXPECT_EQ(fixture.commandLines(),
              (std::vector<std::string>{kMasterCommand, "AddEnvelope Dissolve", kMasterCommand}));
    EXPECT_TRUE(fixture.host().commands().log().at(0).accepted);
    EXPECT_TRUE(fixture.transcript().empty());
  }
}

TEST(KeyTools, GlobalSetIsAcquiredOnceWithTheFirstLookupFunction) {
  ModuleHost fixture;
  lwsim::GenericLocal resetOnly("init");  // no panel, so no snapshot is looked up
  ASSERT_EQ(fixture.host().activateWithLocal("LayoutGeneric", "QD:VaruDudEdodav", 7, resetOnly.record()), AFUNC_OK);
  const auto &ids = lwp::CHostGlobals::kIds;
  std::vector<std::string> expected(ids.begin(), ids.end());
  expected.emplace_back("Locale Info");  // the language choice
  expected.emplace_back("System ID");    // the master's creation
  EXPECT_EQ(fixture.host().globals().lookupLog(), expected);

  lwtest::LookupSpy spy;
  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:RozaRivAvudivo", 7, spy.function()), AFUNC_OK);
  ASSERT_EQ(fixture.activate("MasterHandler", ".QD:ZaraRazEzedud", 5, spy.function()), AFUNC_OK);
  EXPECT_EQ(spy.asked(), std::vector<std::string>{"Locale Info"}) << "only the language is asked again";
}

TEST(KeyTools, StartWhenTheClipServersLackTheirRequester) {
  ModuleHost fixture;
  fixture.host().globals().withhold("LSUniversalRequester");
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVLoad", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), AFUNC_OK);
  EXPECT_EQ(fixture.commandLines(), (std::vector<std::string>{kMasterCommand, "AddEnvelope Dissolve"}));
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 1);
}

// ---- the master ----

TEST(Master, HandlerActivationFillsTheRecordAndKeepsTheItemEntry) {
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
  ASSERT_NE(inst.create, nullptr);
  ASSERT_NE(inst.destroy, nullptr);
  ASSERT_NE(inst.copy, nullptr);
  ASSERT_NE(inst.load, nullptr);
  ASSERT_NE(inst.save, nullptr);
  ASSERT_NE(inst.descln, nullptr);
  ASSERT_NE(local.handler.event, nullptr);
  ASSERT_NE(local.handler.flags, nullptr);

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
}

TEST(Master, InterfaceActivationClearsItsThreeEntries) {
  ModuleHost fixture;
  int instance = 0;
  LWInterface ui{&instance, reinterpret_cast<void *>(0x10), reinterpret_cast<LWError (*)(LWInstance)>(0x20),
                 reinterpret_cast<LWError (*)(LWInstance, const char *)>(0x30)};
  EXPECT_EQ(fixture.host().activateWithLocal("MasterInterface", ".QD:ZaraRazEzedud", 5, &ui), AFUNC_OK);
  EXPECT_EQ(ui.panel, nullptr);
  EXPECT_EQ(ui.options, nullptr);
  EXPECT_EQ(ui.command, nullptr);
  EXPECT_EQ(ui.inst, &instance);
  EXPECT_TRUE(fixture.host().globals().lookupLog().empty()) << "the interface needs no globals";
}

// ---- the clip servers ----

class MissingClipGlobal : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MissingClipGlobal, StopsTheActivationBeforeLabelsAndPanels) {
  const auto &ids = lwp::CClipGlobals::kIds;
  const std::size_t missing = GetParam();
  for (const char *name : {"QD:ZaduDuzAVSave", "QD:ZaduDuzAVLoad"}) {
    SCOPED_TRACE(std::string(name) + " without " + ids[missing]);
    ModuleHost fixture;
    fixture.host().globals().withhold(ids[missing]);
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_BADGLOBAL);
    EXPECT_EQ(fixture.host().globals().lookupLog(), idsUpTo(ids, missing))
        << "looked up in order, up to the missing one, and no language lookup after it";
    EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
    EXPECT_TRUE(fixture.commandLines().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(EachGlobal, MissingClipGlobal, ::testing::Range<std::size_t>(0, 35));

TEST(ClipServers, LocaleIdIsTestedOnItsLow32Bits) {
  ModuleHost fixture;
  fixture.host().setLocaleId(0x100000000ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  fixture.host().setLocaleId(0x100000411ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
}

TEST(ClipServers, GlobalSetIsAcquiredAgainAtEveryActivation) {
  ModuleHost fixture;
  const auto &ids = lwp::CClipGlobals::kIds;
  std::vector<std::string> once(ids.begin(), ids.end());
  once.emplace_back("Locale Info");  // save labels
  once.emplace_back("Locale Info");  // load labels
  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVLoad", 7), AFUNC_OK);
  EXPECT_EQ(fixture.host().globals().lookupLog(), once);
  fixture.host().globals().clearLookupLog();
  ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVLoad", 7), AFUNC_OK);
  EXPECT_EQ(fixture.host().globals().lookupLog(), once);
}

TEST(ClipServers, PanelServicesLearnTheLookupFunctionEvenWhenALaterGlobalIsMissing) {
  ModuleHost fixture;
  lwtest::LookupSpy spy;
  fixture.host().globals().withhold("AOV Functions");
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7, spy.function()), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().record()->globalFun, spy.function());
}

struct ClipPanelCase {
  const char *server;
  const char *title;
  int width;
  int height;
};

class ClipPanel : public ::testing::TestWithParam<ClipPanelCase> {};

TEST_P(ClipPanel, IsBuiltOnceOpenedWithoutBlockingAndReused) {
  const ClipPanelCase &panelCase = GetParam();
  ModuleHost fixture;
  lwsim::PanelService &panels = fixture.host().panels();
  ASSERT_EQ(fixture.activate("LayoutGeneric", panelCase.server, 7), AFUNC_OK);
  ASSERT_EQ(panels.panelsCreated(), 1);
  lwsim::Panel &panel = *panels.panels().front();
  EXPECT_EQ(panel.title(), panelCase.title);
  EXPECT_EQ(panel.width(), panelCase.width);
  EXPECT_EQ(panel.height(), panelCase.height);
  EXPECT_TRUE(panel.isOpen());
  EXPECT_EQ(panel.openFlags(), 64);

  panel.closeNow();  // the user closes it
  ASSERT_EQ(fixture.activate("LayoutGeneric", panelCase.server, 7), AFUNC_OK);
  EXPECT_EQ(panels.panelsCreated(), 1) << "the same host panel again";
  EXPECT_TRUE(panel.isOpen());
  EXPECT_EQ(panel.timesOpened(), 2);
}

TEST_P(ClipPanel, RefusedOpenGivesBadGlobalAndTheNextActivationOpensTheSamePanel) {
  const ClipPanelCase &panelCase = GetParam();
  ModuleHost fixture;
  lwsim::PanelService &panels = fixture.host().panels();
  panels.setRefuseOpen(true);
  EXPECT_EQ(fixture.activate("LayoutGeneric", panelCase.server, 7), AFUNC_BADGLOBAL);
  ASSERT_EQ(panels.panelsCreated(), 1);
  EXPECT_FALSE(panels.panels().front()->isOpen());
  panels.setRefuseOpen(false);
  EXPECT_EQ(fixture.activate("LayoutGeneric", panelCase.server, 7), AFUNC_OK);
  EXPECT_EQ(panels.panelsCreated(), 1);
  EXPECT_TRUE(panels.panels().front()->isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    SaveAndLoad, ClipPanel,
    ::testing::Values(ClipPanelCase{"QD:ZaduDuzAVSave", "QD:ZaduDuzAVSave(1.50) build 250619", 340, 170},
                      ClipPanelCase{"QD:ZaduDuzAVLoad", "QD:ZaduDuzAVLoad(1.50) build 250619", 390, 350}),
    [](const auto &param) { return std::string(param.index == 0 ? "Save" : "Load"); });

TEST(ClipServers, SaveAndLoadKeepOnePanelEach) {
  ModuleHost fixture;
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
    ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVLoad", 7), AFUNC_OK);
  }
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 2);
}

}  // namespace
