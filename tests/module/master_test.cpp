// The key-setter master in the simulated host: marks from the posing
// commands, their clearing and re-arming, the panel's reset and mark query
// on the master topic, the scene-loaded notification, and the one instance.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/globals/host_globals.h"
#include "common/text/text_format.h"
#include "key_setter/master/master_ring.h"
#include "key_setter/master/ring_records.h"
#include "sim/module/server_locals.h"
#include "support/module_host.h"

namespace {

using lwp::cks::askMasterMarks;
using lwp::cks::kMasterTopic;
using lwp::cks::MarkReply;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

constexpr const char *kActivateMaster = "ActivateMasterUnique .QD:ZaraRazEzedud";

class MasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    ASSERT_EQ(run(kActivateMaster), 1);
  }

  lwsim::Host &host() { return fixture_.host(); }
  int run(const std::string &line) { return host().commands().run(line); }
  // A command event as the host sends it for a line it accepted.
  void tell(const std::string &line) { host().masters().dispatch(LWEVNT_COMMAND, line.c_str()); }

  // Adds a null, which becomes the only selected item.
  LWItemID addNull(const std::string &name) {
    EXPECT_EQ(run("AddNull " + name), 1);
    return idOf(name);
  }
  LWItemID idOf(const std::string &name) { return reinterpret_cast<LWItemID>(host().scene().findByName(name)->id); }
  // Changes the selection without telling the masters.
  void selectQuietly(const std::string &name) { host().scene().select(*host().scene().findByName(name)); }

  std::map<LWItemID, lwp::cks::ChannelMask> marks() { return askMasterMarks().masks; }

  lwtest::ModuleHost fixture_;
};

TEST_F(MasterTest, APosingCommandOfTheLastGroupMarksNothingUntilTheSelectionChanges) {
  const LWItemID a = addNull("A");
  const LWItemID b = addNull("B");
  ASSERT_EQ(run("SelectByName A"), 1);
  ASSERT_EQ(run("Position 1 0 0"), 1);
  selectQuietly("B");
  ASSERT_EQ(run("Position 2 0 0"), 1);
  ASSERT_EQ(run("AddPosition 2 0 0"), 1);
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "the second position command marks nothing";

  host().selectionChanged();
  ASSERT_EQ(run("AddPosition 0 1 0"), 1);
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(a, 7u), Pair(b, 7u))) << "a selection change re-arms";

  ASSERT_EQ(run("Scale 2 2 2"), 1);
  selectQuietly("A");
  ASSERT_EQ(run("Scale 3 3 3"), 1);
  ASSERT_EQ(run("AddScale 1 1 1"), 1);
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(a, 7u), Pair(b, 7u | 448u))) << "scale after scale changes nothing";
  ASSERT_EQ(run("GoToFrame 5"), 1);
  EXPECT_THAT(marks(), IsEmpty()) << "a time change clears the marks";
  ASSERT_EQ(run("Position 2 0 0"), 1);
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "and re-arms";
}

TEST_F(MasterTest, MasksAddUpPerGroupAndResetMarksAllThree) {
  const LWItemID moved = addNull("Moved");
  ASSERT_EQ(run("Position 1 2 3"), 1);
  ASSERT_EQ(run("Rotation 10 0 0"), 1);
  const LWItemID quiet = addNull("Quiet");
  const LWItemID all = addNull("All");
  const LWItemID other = addNull("Other");
  ASSERT_EQ(run("SelectByName All"), 1);
  ASSERT_EQ(run(lwp::formatGrowing("AddToSelection 0x%x", lwp::idArg(other))), 1);
  ASSERT_EQ(run("Reset"), 1);
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(moved, 63u), Pair(all, 511u), Pair(other, 511u)));

  // "Reset" re-arms: the group of the command before it marks again.
  const LWItemID late = addNull("Late");
  ASSERT_EQ(run("Rotation 0 5 0"), 1);
  ASSERT_EQ(run("Reset"), 1);
  selectQuietly("Quiet");
  ASSERT_EQ(run("AddRotation 0 5 0"), 1);
  EXPECT_THAT(marks(), UnorderedElementsAre(Pair(moved, 63u), Pair(all, 511u), Pair(other, 511u), Pair(late, 511u),
                                            Pair(quiet, 56u)));
}

TEST_F(MasterTest, WhileLayoutKeysPosedItemsItselfNothingIsMarked) {
  const LWItemID a = addNull("A");
  for (const int mode : {LWAKC_MODIFIED, LWAKC_ALL, LWAKC_EXISTING}) {
    host().snapshots().setAutoKeyCreate(mode);
    for (const char *line : {"Position 1 0 0", "Rotation 1 0 0", "Scale 2 2 2", "Reset"}) ASSERT_EQ(run(line), 1);
    EXPECT_THAT(marks(), IsEmpty()) << "auto key mode " << mode;
  }
  host().snapshots().setAutoKeyCreate(LWAKC_OFF);
  ASSERT_EQ(run("Position 1 0 0"), 1);
  EXPECT_THAT(marks(), ElementsAre(Pair(a, 7u))) << "the auto-keyed commands left the group filter alone";
}

TEST_F(MasterTest, OnlyTheExactFirstWordsAreWatched) {
  const LWItemID a = addNull("A");
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
  ASSERT_EQ(run("SelectByName A"), 1);
  ASSERT_EQ(run("Position 1 0 0"), 1);
  MarkReply before = askMasterMarks();
  EXPECT_EQ(before.resetSeen, 0);
  EXPECT_THAT(before.masks, ElementsAre(Pair(a, 7u)));
  EXPECT_EQ(before.maskOf(a), 511u) << "without a reset every item takes the whole pose";

  lwp::cks::sendMasterReset();
  MarkReply after = askMasterMarks();
  EXPECT_EQ(after.resetSeen, 1);
  EXPECT_THAT(after.masks, IsEmpty());
  ASSERT_EQ(run("Position 1 0 0"), 1);
  after = askMasterMarks();
  EXPECT_EQ(after.maskOf(a), 7u);
  EXPECT_EQ(after.maskOf(b), 0u);

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

TEST_F(MasterTest, ASceneThatFinishedLoadingRunsTheKeySetterWithInit) {
  const std::size_t before = fixture_.commandLines().size();
  host().loadScene(LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  const std::vector<std::string> lines = fixture_.commandLines();
  ASSERT_GT(lines.size(), before);
  EXPECT_EQ(lines[before], "Generic_QD:VaruDudEdodav init");
  EXPECT_TRUE(host().commands().log()[before].accepted);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Generic_QD:VaruDudEdodav init"), 1);

  const std::size_t after = lines.size();
  host().masters().dispatch(LWEVNT_RENDER_DONE, nullptr);
  host().masters().dispatch(LWEVNT_NOTHING, nullptr);
  EXPECT_EQ(fixture_.commandLines().size(), after) << "other events issue nothing";
}

TEST_F(MasterTest, OneMasterLivesAtATimeAndLeavesTheRingWhenDestroyed) {
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
  EXPECT_EQ(run(kActivateMaster), 1);
}

TEST(MasterOnRenderNode, NoMasterRunsAndTheReplyStaysAsPrepared) {
  lwtest::ModuleHost fixture;
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  lwsim::Host &host = fixture.host();
  for (std::uint32_t renderNode : {0x20000000u, 0x2FFFFFFFu}) {
    host.setSystemId(renderNode);
    EXPECT_EQ(host.commands().run(kActivateMaster), 0) << std::hex << renderNode;
  }
  EXPECT_THAT(host.masters().instances(), IsEmpty());
  EXPECT_EQ(host.ring().listenerCount(kMasterTopic), 0u);
  lwp::cks::sendMasterReset();
  const MarkReply reply = askMasterMarks();
  EXPECT_EQ(reply.resetSeen, 0);
  EXPECT_THAT(reply.masks, IsEmpty());
  EXPECT_EQ(reply.maskOf(reinterpret_cast<LWItemID>(0x10000000)), 511u);

  for (std::uint32_t other : {0x00000000u, 0x12000000u, 0x30000000u, 0xA0000000u}) {
    host.setSystemId(other);
    EXPECT_EQ(host.commands().run(kActivateMaster), 1) << std::hex << other;
    host.masters().destroyAll();
  }
}

}  // namespace
