// The key-setter master in the simulated host: marks from the posing
// commands, their clearing and re-arming, the panel's reset and mark query
// on the master topic, the scene-loaded notification, and the one instance.
// Activating the module's servers: the version check, the two global sets,
// the master's records and the clip panels' lifecycle.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "common/text/text_format.h"
#include "key_setter/master/master_ring.h"
#include "key_setter/master/ring_records.h"
#include "sim/module/server_locals.h"
#include "support/lookup_spy.h"
#include "support/module_host.h"

namespace {

using lwp::cks::askMasterMarks;
using lwp::cks::kMasterTopic;
using lwp::cks::MarkReply;
using lwtest::ModuleHost;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

constexpr const char *kActivateMaster = "ActivateMasterUnique .QD:ZaraRazEzedud";

class MasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    ASSERT_EQ(host().commands().run(kActivateMaster), 1);
  }

  lwsim::Host &host() { return fixture_.host(); }
  // Runs each line as a command the host accepts.
  void run(const std::vector<std::string> &lines) {
    for (const std::string &line : lines) ASSERT_EQ(host().commands().run(line), 1) << line;
  }
  // A command event as the host sends it for a line it accepted.
  void tell(const std::string &line) { host().masters().dispatch(LWEVNT_COMMAND, line.c_str()); }
  // Adds a null, which becomes the only selected item.
  LWItemID addNull(const std::string &name) {
    run({"AddNull " + name});
    return reinterpret_cast<LWItemID>(host().scene().findByName(name)->id);
  }
  // Changes the selection without telling the masters.
  void selectQuietly(const std::string &name) { host().scene().select(*host().scene().findByName(name)); }
  std::map<LWItemID, lwp::cks::ChannelMask> marks() { return askMasterMarks().masks; }

  lwtest::ModuleHost fixture_;
};

TEST_F(MasterTest, APosingCommandOfTheLastGroupMarksNothingUntilTheSelectionOrTimeChanges) {
  const LWItemID a = addNull("A");
  const LWItemID b = addNull("B");
  run({"SelectByName A", "Position 1 0 0"});
  selectQuietly("B");
  run({"Position 2 0 0", "AddPosition 2 0 0"});
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "the second position command marks nothing";
  host().selectionChanged();
  run({"AddPosition 0 1 0"});
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(a, 7u), Pair(b, 7u))) << "a selection change re-arms";
  run({"Scale 2 2 2"});
  selectQuietly("A");
  run({"Scale 3 3 3", "AddScale 1 1 1"});
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(a, 7u), Pair(b, 7u | 448u))) << "scale after scale changes nothing";
  run({"GoToFrame 5"});
  EXPECT_THAT(marks(), IsEmpty()) << "a time change clears the marks";
  run({"Position 2 0 0"});
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "and re-arms";
}

TEST_F(MasterTest, MasksAddUpPerGroupAndResetMarksAllThree) {
  const LWItemID moved = addNull("Moved");
  run({"Position 1 2 3", "Rotation 10 0 0"});
  const LWItemID quiet = addNull("Quiet");
  const LWItemID all = addNull("All");
  const LWItemID other = addNull("Other");
  run({"SelectByName All", lwp::formatGrowing("AddToSelection 0x%x", lwp::idArg(other)), "Reset"});
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(moved, 63u), Pair(all, 511u), Pair(other, 511u)));
  // "Reset" re-arms: the group of the command before it marks again.
  const LWItemID late = addNull("Late");
  run({"Rotation 0 5 0", "Reset"});
  selectQuietly("Quiet");
  run({"AddRotation 0 5 0"});
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(moved, 63u), Pair(all, 511u), Pair(other, 511u), Pair(late, 511u),
                                            Pair(quiet, 56u)));
}

// Nothing is marked while Layout keys posed items itself, nor for a first
// word that is not exactly a posing command's.
TEST_F(MasterTest, AutoKeyingAndWordsThatAreNotExactlyAPosingCommandMarkNothing) {
  const LWItemID a = addNull("A");
  for (const int mode : {LWAKC_MODIFIED, LWAKC_ALL, LWAKC_EXISTING}) {
    host().snapshots().setAutoKeyCreate(mode);
    run({"Position 1 0 0", "Rotation 1 0 0", "Scale 2 2 2", "Reset"});
    EXPECT_THAT(marks(), IsEmpty()) << "auto key mode " << mode;
  }
  host().snapshots().setAutoKeyCreate(LWAKC_OFF);
  run({"Position 1 0 0"});
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "the auto-keyed commands left the group filter alone";
  run({"GoToFrame 5"});
  const std::string longWord = "Position" + std::string(300, 'x');
  for (const std::string &line :
       {std::string("position 1 0 0"), std::string("POSITION"), std::string("Positions 1 0 0"),
        std::string(" Position 1 0 0"), std::string("Rotation.H 1"), std::string(), longWord, longWord + " 1 0 0",
        std::string(255, 'R'), std::string(256, 'S'), std::string(100000, 'P')})
    tell(line);
  host().masters().dispatch(LWEVNT_COMMAND, nullptr);
  EXPECT_THAT(marks(), IsEmpty());
  tell("Rotation");
  tell("Scale " + std::string(100000, '1'));
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 56u | 448u))) << "a short first word with any argument";
}

TEST_F(MasterTest, ReplyCarriesResetSeenOnlyAfterTheFirstReset) {
  const LWItemID a = addNull("A");
  const LWItemID b = addNull("B");
  run({"SelectByName A", "Position 1 0 0"});
  MarkReply reply = askMasterMarks();
  EXPECT_EQ(reply.resetSeen, 0);
  EXPECT_THAT(reply.masks, ElementsAre(Pair(a, 7u)));
  EXPECT_EQ(reply.maskOf(a), 511u) << "without a reset every item takes the whole pose";
  lwp::cks::sendMasterReset();
  reply = askMasterMarks();
  EXPECT_EQ(reply.resetSeen, 1);
  EXPECT_THAT(reply.masks, IsEmpty());
  run({"Position 1 0 0"});
  EXPECT_EQ(askMasterMarks().maskOf(a), 7u);
  EXPECT_EQ(askMasterMarks().maskOf(b), 0u);
  // The master empties what the asker left in the reply; other events leave
  // the reply alone.
  MarkReply stale;
  stale.masks[b] = 5;
  host().ring().message(kMasterTopic, 2, &stale);
  host().ring().message(kMasterTopic, lwp::cks::kMarkQueryEvent, nullptr);
  EXPECT_THAT(stale.masks, ElementsAre(Pair(b, 5u)));
  EXPECT_EQ(stale.resetSeen, 0);
  host().ring().message(kMasterTopic, lwp::cks::kMarkQueryEvent, &stale);
  EXPECT_THAT(stale.masks, ElementsAre(Pair(a, 7u)));
  EXPECT_EQ(stale.resetSeen, 1);
}

TEST_F(MasterTest, ASceneThatFinishedLoadingRunsTheKeySetterAndOneMasterLivesAtATime) {
  const std::size_t before = fixture_.commandLines().size();
  host().loadScene(LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  const std::vector<std::string> lines = fixture_.commandLines();
  ASSERT_GT(lines.size(), before);
  EXPECT_EQ(lines[before], "Generic_QD:VaruDudEdodav init");
  EXPECT_TRUE(host().commands().log()[before].accepted);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Generic_QD:VaruDudEdodav init"), 1);
  host().masters().dispatch(LWEVNT_RENDER_DONE, nullptr);
  host().masters().dispatch(LWEVNT_NOTHING, nullptr);
  EXPECT_EQ(fixture_.commandLines().size(), lines.size()) << "other events issue nothing";
  // One master lives at a time and leaves the ring when destroyed.
  EXPECT_EQ(host().ring().listenerCount(kMasterTopic), 1u);
  lwsim::MasterHandlerLocal local;
  ASSERT_EQ(host().activateWithLocal("MasterHandler", ".QD:ZaraRazEzedud", 5, &local.handler), AFUNC_OK);
  const LWInstanceFuncs &inst = local.instanceFuncs;
  EXPECT_EQ(inst.create(inst.priv, nullptr, nullptr), nullptr) << "the scene's master lives";
  inst.destroy(nullptr);
  EXPECT_EQ(inst.create(inst.priv, nullptr, nullptr), nullptr) << "destroying no instance frees no place";
  EXPECT_EQ(host().ring().listenerCount(kMasterTopic), 1u);
  host().masters().destroyAll();
  EXPECT_EQ(host().ring().listenerCount(kMasterTopic), 0u);
  LWInstance second = inst.create(inst.priv, nullptr, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(host().ring().listenerCount(kMasterTopic), 1u);
  inst.destroy(second);
  EXPECT_EQ(host().ring().listenerCount(kMasterTopic), 0u);
  run({kActivateMaster});
}

// No master runs on the host's render-node product; the panel's reset goes
// nowhere and its question comes back as it was prepared.
TEST(MasterOnRenderNode, NoMasterRunsAndTheReplyStaysAsPrepared) {
  lwtest::ModuleHost fixture;
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  lwsim::Host &host = fixture.host();
  for (std::uint32_t id : {0x20000000u, 0x2FFFFFFFu, 0x00000000u, 0x12000000u, 0x30000000u, 0xA0000000u}) {
    host.setSystemId(id);
    const bool renderNode = (id >> 28) == 2;
    EXPECT_EQ(host.commands().run(kActivateMaster), renderNode ? 0 : 1) << std::hex << id;
    EXPECT_EQ(host.ring().listenerCount(kMasterTopic), renderNode ? 0u : 1u);
    lwp::cks::sendMasterReset();
    const MarkReply reply = askMasterMarks();
    EXPECT_EQ(reply.resetSeen, renderNode ? 0 : 1);
    EXPECT_THAT(reply.masks, IsEmpty());
    EXPECT_EQ(reply.maskOf(reinterpret_cast<LWItemID>(0x10000000)), renderNode ? 511u : 0u);
    host.masters().destroyAll();
  }
}

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
      EXPECT_TRUE(handler.instanceFuncs.create == nullptr && handler.handler.event == nullptr &&
                  ui.panel == reinterpret_cast<void *>(0x1));
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
              (std::vector<std::string>{kActivateMaster, "AddEnvelope Dissolve", kActivateMaster}));
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
  EXPECT_TRUE(inst.load(master, nullptr) == nullptr && inst.save(master, nullptr) == nullptr);
  EXPECT_EQ(local.handler.flags(master), 2u);
  inst.destroy(master);

  int instance = 0;
  LWInterface ui{&instance, reinterpret_cast<void *>(0x10), reinterpret_cast<LWError (*)(LWInstance)>(0x20),
                 reinterpret_cast<LWError (*)(LWInstance, const char *)>(0x30)};
  fixture.host().globals().clearLookupLog();
  EXPECT_EQ(fixture.host().activateWithLocal("MasterInterface", ".QD:ZaraRazEzedud", 5, &ui), AFUNC_OK);
  EXPECT_TRUE(ui.panel == nullptr && ui.options == nullptr && ui.command == nullptr && ui.inst == &instance);
  EXPECT_TRUE(fixture.host().globals().lookupLog().empty()) << "the interface needs no globals";
}

// A missing clip global is looked up in order, up to the missing one, with
// no language lookup after. Clip panels open without blocking, a refused
// opening is reported, and a panel the user closed is reused.
TEST(Activation, AMissingClipGlobalStopsTheClipServersAndTheirPanelsAreReused) {
  const auto &ids = lwp::CClipGlobals::kIds;
  for (const char *name : {"QD:ZaduDuzAVSave", "QD:ZaduDuzAVLoad"}) {
    for (std::size_t missing = 0; missing < ids.size(); ++missing) {
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
    SCOPED_TRACE(name);
    ModuleHost fixture;
    lwsim::PanelService &panels = fixture.host().panels();
    panels.setRefuseOpen(true);
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_BADGLOBAL);
    ASSERT_EQ(panels.panelsCreated(), 1);
    lwsim::Panel &panel = *panels.panels().front();
    EXPECT_FALSE(panel.isOpen());
    panels.setRefuseOpen(false);
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen());
    panel.closeNow();  // the user closes it
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen());
    EXPECT_EQ(panel.timesOpened(), 2);
    EXPECT_EQ(panels.panelsCreated(), 1) << "the same host panel again";
  }
  ModuleHost fixture;  // the locale id is tested on its low 32 bits
  fixture.host().setLocaleId(0x100000000ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  fixture.host().setLocaleId(0x100000411ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
}

}  // namespace
