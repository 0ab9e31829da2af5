// The undo history's groups and stacks, its check reports, its refreshes
// and button state, and how often a pass walks the host's channels.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "history_fixture.h"
#include "key_setter/history/cmd_hist_set_key.h"
#include "sim/services/channel_services.h"

namespace history_test {
namespace {

using namespace lwp::cks;

lwp::TimeRange windowAt(double time) { return {time - 0.01, time + 0.01}; }

// An entry whose every operation throws once its check passed.
class ThrowingEntry final : public CmdHistBase {
 public:
  explicit ThrowingEntry(LWChannelID channel) : CmdHistBase(channel) {}
  bool check() override { return true; }
  void doIt() override { throw std::runtime_error("doIt broke"); }
  void redoIt() override { throw std::runtime_error("redoIt broke"); }
  void undoIt() override { throw std::runtime_error("undoIt broke"); }
};

class UndoHistory : public HistoryTest {
 protected:
  void SetUp() override {
    HistoryTest::SetUp();
    knob_ = &channel(scene().addObject("Arm"), "Extra.Knob");
    history_.setButtonListener([this](bool canUndo, bool canRedo) { buttons_.emplace_back(canUndo, canRedo); });
  }

  // One group that keys the knob at the time with the value.
  void runSetKey(double time, double value, const char *name = kRunGroupName) {
    history_.begin(name);
    add<CmdHistSetKey>(idOf(*knob_), windowAt(time), record(tcb(time, value)));
    history_.commit();
  }

  lwsim::Channel *knob_ = nullptr;
  std::vector<std::pair<bool, bool>> buttons_;
};

TEST_F(UndoHistory, ThirtyRunsLeaveTheNewestTwentyFourToUndo) {
  for (int run = 0; run < 30; ++run) runSetKey(run, run);
  EXPECT_EQ(history_.undoDepth(), 24u);
  EXPECT_EQ(history_.nextUndo()->serial(), 29u);
  EXPECT_EQ(history_.nextUndo()->name(), "KeySetter");

  for (int press = 0; press < 24; ++press) history_.undo();
  EXPECT_EQ(history_.redoDepth(), 24u);
  EXPECT_EQ(history_.nextRedo()->serial(), 6u);
  Keys oldest;
  for (int run = 0; run < 6; ++run) oldest.push_back(tcb(run, run));
  EXPECT_EQ(keysOf(*knob_), oldest);

  // The 25th press changes nothing but still refreshes.
  history_.undo();
  EXPECT_EQ(keysOf(*knob_), oldest);
  EXPECT_EQ(history_.redoDepth(), 24u);
  EXPECT_EQ(refreshes(), 25u);
  EXPECT_EQ(buttons_.back(), std::make_pair(false, true));
  EXPECT_EQ(buttons_.size(), 25u);
}

TEST_F(UndoHistory, ANewRunEndsTheRedoChain) {
  runSetKey(1.0, 1.0);
  history_.undo();
  EXPECT_TRUE(history_.canRedo());
  history_.begin(kPasteGroupName);
  EXPECT_FALSE(history_.canRedo());
  EXPECT_EQ(history_.openGroup()->serial(), 1u);
  EXPECT_EQ(history_.openGroup()->name(), "paste");
  history_.commit();
  EXPECT_EQ(history_.openGroup(), nullptr);

  history_.redo();
  EXPECT_EQ(keysOf(*knob_), Keys{});
  EXPECT_EQ(buttons_, (std::vector<std::pair<bool, bool>>{{false, true}, {true, false}}));
}

TEST_F(UndoHistory, UndoAndRedoOnEmptyStacksStillRefreshAndReportTheButtons) {
  history_.undo();
  history_.redo();
  EXPECT_EQ(refreshes(), 2u);
  EXPECT_EQ(buttons_, (std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}));

  runSetKey(1.0, 1.0);
  EXPECT_EQ(refreshes(), 2u) << "a commit leaves the refresh to its caller";
  history_.undo();
  history_.redo();
  EXPECT_EQ(refreshes(), 4u);
  EXPECT_EQ(buttons_.back(), std::make_pair(true, false));
  EXPECT_EQ(transcript(), std::vector<std::string>{});
}

TEST_F(UndoHistory, UndoGoesThroughTheEntriesInReverseOrder) {
  putAll(*knob_, {shaped(1.0, 0.5, 5, {0.1, 0.2, 0.3, 0.4})});
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(idOf(*knob_), windowAt(1.0), record(tcb(1.0, 1.0)));
  add<CmdHistSetKey>(idOf(*knob_), windowAt(1.0), record(tcb(1.0, 2.0)));
  history_.commit();
  EXPECT_EQ(keysOf(*knob_), Keys{tcb(1.0, 2.0)});
  history_.undo();
  EXPECT_EQ(keysOf(*knob_), Keys{shaped(1.0, 0.5, 5, {0.1, 0.2, 0.3, 0.4})});
  history_.redo();
  EXPECT_EQ(keysOf(*knob_), Keys{tcb(1.0, 2.0)});
}

TEST_F(UndoHistory, ChannelsRemovedBetweenRunAndUndoFailOnlyTheirOwnEntries) {
  lwsim::SceneItem &body = scene().addObject("Body");
  lwsim::SceneItem &bone = scene().addBone(body, "Forearm");
  lwsim::Channel &bodyX = channel(body, "Position.X");
  lwsim::Channel &bodyScale = channel(body, "Scale.Z");
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(idOf(bodyX), windowAt(0.0), record(tcb(0.0, 5.0)));
  add<CmdHistSetKey>(idOf(channel(bone, "Rotation.H")), windowAt(0.0), record(tcb(0.0, 6.0)));
  add<CmdHistSetKey>(idOf(channel(bone, "Position.Y")), windowAt(0.0), record(tcb(0.0, 7.0)));
  add<CmdHistSetKey>(idOf(bodyScale), windowAt(0.0), record(tcb(0.0, 8.0)));
  history_.commit();
  EXPECT_EQ(keysOf(bodyX), Keys{tcb(0.0, 5.0)});

  // The bone goes, and its channels with it.
  body.group->removeGroup(bone.group);
  history_.undo();
  EXPECT_EQ(keysOf(bodyX), Keys{tcb(0.0, 0.0)});
  EXPECT_EQ(keysOf(bodyScale), Keys{tcb(0.0, 1.0)});
  EXPECT_EQ(transcript(), std::vector<std::string>(2, "status: {1.0} Check failed at undoIt() !"));
  EXPECT_EQ(history_.redoDepth(), 1u);

  host_.transcript().clear();
  history_.redo();
  EXPECT_EQ(keysOf(bodyX), Keys{tcb(0.0, 5.0)});
  EXPECT_EQ(keysOf(bodyScale), Keys{tcb(0.0, 8.0)});
  EXPECT_EQ(transcript(), std::vector<std::string>(2, "status: {1.0} Check failed at redoIt()!"));
}

TEST_F(UndoHistory, AnEntryThatThrowsIsReportedAndThePassGoesOn) {
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(idOf(*knob_), windowAt(1.0), record(tcb(1.0, 1.0)));
  add<ThrowingEntry>(idOf(*knob_));
  add<CmdHistSetKey>(idOf(*knob_), windowAt(2.0), record(tcb(2.0, 2.0)));
  history_.commit();
  EXPECT_EQ(keysOf(*knob_), (Keys{tcb(1.0, 1.0), tcb(2.0, 2.0)}));
  history_.undo();
  EXPECT_EQ(keysOf(*knob_), Keys{});
  EXPECT_EQ(transcript(),
            (std::vector<std::string>{"status: {1.0} Error! doIt broke", "status: {1.0} Error! undoIt broke"}));
  EXPECT_EQ(refreshes(), 1u);
  EXPECT_TRUE(history_.canRedo());

  // The pass let go of its channel list: a channel made now is found.
  EXPECT_TRUE(lwp::channelExists(idOf(channel(*scene().findByName("Arm"), "Extra.Later"))));
}

TEST_F(UndoHistory, BeginDropsAGroupLeftOpenAndEntriesNeedAnOpenGroup) {
  EXPECT_FALSE(history_.add(std::make_unique<CmdHistSetKey>(idOf(*knob_), windowAt(1.0), record(tcb(1.0, 1.0)))));
  history_.commit();
  EXPECT_EQ(history_.undoDepth(), 0u);

  history_.begin(kRunGroupName);
  EXPECT_EQ(history_.openGroup()->serial(), 0u);
  add<CmdHistSetKey>(idOf(*knob_), windowAt(1.0), record(tcb(1.0, 1.0)));
  // A run that failed before its commit leaves its group open.
  history_.begin(kRunGroupName);
  EXPECT_EQ(history_.openGroup()->serial(), 1u);
  EXPECT_TRUE(history_.openGroup()->entries().empty());
  add<CmdHistSetKey>(idOf(*knob_), windowAt(2.0), record(tcb(2.0, 2.0)));
  history_.commit();
  EXPECT_EQ(keysOf(*knob_), Keys{tcb(2.0, 2.0)});
  EXPECT_EQ(history_.undoDepth(), 1u);
}

// Many items, one entry per channel: each pass walks the scene's channels
// exactly as often as one listing of them does.
TEST_F(UndoHistory, EachPassOverThousandsOfEntriesListsTheSceneChannelsOnce) {
  for (int i = 0; i < 500; ++i) scene().addObject("Null" + std::to_string(i));
  const lwp::ChannelList channels = lwp::allSceneChannels();
  ASSERT_EQ(channels.size(), 501u * 9u + 1u);

  lwsim::ChannelWalkCalls &calls = lwsim::channelWalkCalls();
  const lwsim::ChannelWalkCalls start = calls;
  lwp::allSceneChannels();
  const lwsim::ChannelWalkCalls perListing{calls.nextGroup - start.nextGroup, calls.nextChannel - start.nextChannel};

  history_.begin(kRunGroupName);
  for (LWChannelID c : channels) add<CmdHistSetKey>(c, windowAt(1.0), record(tcb(1.0, 3.0)));
  add<CmdHistSetKey>(reinterpret_cast<LWChannelID>(&history_), windowAt(1.0), record(tcb(1.0, 3.0)));

  auto expectOneListing = [&](const char *pass, auto &&run) {
    const lwsim::ChannelWalkCalls before = calls;
    run();
    EXPECT_EQ(calls.nextGroup - before.nextGroup, perListing.nextGroup) << pass;
    EXPECT_EQ(calls.nextChannel - before.nextChannel, perListing.nextChannel) << pass;
  };
  expectOneListing("commit", [&] { history_.commit(); });
  EXPECT_EQ(keysOf(*knob_), (Keys{tcb(1.0, 3.0)}));
  expectOneListing("undo", [&] { history_.undo(); });
  EXPECT_EQ(keysOf(*knob_), Keys{});
  expectOneListing("redo", [&] { history_.redo(); });
  // The last null's Scale.Z, keyed at 0 as every new item is.
  EXPECT_EQ(keysOf(*scene().items().back()->group->channels().back()), (Keys{tcb(0.0, 1.0), tcb(1.0, 3.0)}));
  EXPECT_EQ(transcript(), (std::vector<std::string>{"status: {1.0} Check failed at doIt()!",
                                                    "status: {1.0} Check failed at undoIt() !",
                                                    "status: {1.0} Check failed at redoIt()!"}));
}

}  // namespace
}  // namespace history_test
