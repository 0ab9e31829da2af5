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

TEST_F(MasterTest, WhileLayoutKeysPosedItemsItselfNothingIsMarked) {
  const LWItemID a = addNull("A");
  for (const int mode : {LWAKC_MODIFIED, LWAKC_ALL, LWAKC_EXISTING}) {
    host().snapshots().setAutoKeyCreate(mode);
    run({"Position 1 0 0", "Rotation 1 0 0", "Scale 2 2 2", "Reset"});
    EXPECT_THAT(marks(), IsEmpty()) << "auto key mode " << mode;
  }
  host().snapshots().setAutoKeyCreate(LWAKC_OFF);
  run({"Position 1 0 0"});
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

TEST_F(MasterTest, ASceneThatFinishedLoadingRunsTheKeySetterWithInit) {
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

}  // namespace
