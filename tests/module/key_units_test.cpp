// Pieces of the key setter called directly: the undo history and the run
// frame on envelopes of the simulated host (empty stacks, groups left open,
// entries that cannot apply or throw, how often a pass walks the host's
// channels, the errors a run shows), the frame field's texts, the shape
// popup's codes and the labels' language.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "clip_io/panels/load_labels.h"
#include "clip_io/panels/save_labels.h"
#include "common/channels/key_channels.h"
#include "common/channels/key_records.h"
#include "common/globals/host_globals.h"
#include "key_setter/history/cmd_hist_bake.h"
#include "key_setter/history/cmd_hist_copy_keys.h"
#include "key_setter/history/cmd_hist_del_keys.h"
#include "key_setter/history/cmd_hist_move_keys.h"
#include "key_setter/history/cmd_hist_set_item_key.h"
#include "key_setter/history/cmd_hist_set_key.h"
#include "key_setter/history/undo_history.h"
#include "key_setter/operations/run_frame.h"
#include "key_setter/operations/run_settings.h"
#include "key_setter/operations/run_shape.h"
#include "key_setter/operations/shape_override.h"
#include "key_setter/panel/frame_field_text.h"
#include "key_setter/panel/key_setter_labels.h"
#include "sim/host.h"
#include "sim/services/channel_services.h"

namespace {

using namespace lwp::cks;
using ::testing::ElementsAre;

lwp::TimeRange windowAt(double time) { return {time - 0.01, time + 0.01}; }
lwp::KeyRecord keyAt(double time, double value) { return {time, value, 0, 0.0, 0.0, 0.0, {}}; }
LWChannelID idOf(lwsim::Channel &channel) { return reinterpret_cast<LWChannelID>(&channel); }

// An entry whose every operation throws once its check passed.
class ThrowingEntry final : public CmdHistBase {
 public:
  explicit ThrowingEntry(LWChannelID channel) : CmdHistBase(channel) {}
  bool check() override { return true; }
  void doIt() override { throw std::runtime_error("doIt broke"); }
  void redoIt() override { throw std::runtime_error("redoIt broke"); }
  void undoIt() override { throw std::runtime_error("undoIt broke"); }
};

class UndoHistory : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    knob_ = &host_.scene().ensureChannel(host_.scene().addObject("Arm"), "Extra.Knob");
  }
  void TearDown() override { lwp::endChannelBatch(); }

  template <class Entry, class... Args>
  void add(Args &&...args) {
    ASSERT_TRUE(history_.add(std::make_unique<Entry>(std::forward<Args>(args)...)));
  }
  std::vector<std::pair<double, double>> knobKeys() const {
    std::vector<std::pair<double, double>> keys;
    for (std::size_t i = 0; i < knob_->envelope().keyCount(); ++i)
      keys.emplace_back(knob_->envelope().key(i).time, knob_->envelope().key(i).value);
    return keys;
  }
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  long refreshes() const {
    const auto &log = host_.commands().log();
    return std::count_if(log.begin(), log.end(), [](const lwsim::CommandRecord &c) { return c.line == "RefreshNow"; });
  }

  lwsim::Host host_;
  CUndoHistory history_;
  lwsim::Channel *knob_ = nullptr;
};

// Empty stacks still refresh. A run that failed before its commit leaves
// its group open; the next group drops it. An entry that throws is reported
// and the pass goes on. Ranges no wider than the minimum span, no copies,
// and bake steps that do not advance fail every check and leave the keys.
TEST_F(UndoHistory, AGroupLeftOpenIsDroppedAndEntriesThatThrowOrCannotApplyAreReported) {
  history_.undo();
  history_.redo();
  EXPECT_EQ(refreshes(), 2);
  const LWChannelID knob = idOf(*knob_);
  EXPECT_FALSE(history_.add(std::make_unique<CmdHistSetKey>(knob, windowAt(1.0), keyAt(1.0, 1.0))))
      << "an entry needs an open group";
  history_.commit();
  EXPECT_EQ(history_.undoDepth(), 0u);
  knob_->envelope().createKey(1.0, 1.0);
  knob_->envelope().createKey(2.0, 2.0);
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(knob, windowAt(1.0), keyAt(1.0, 9.0));
  history_.begin(kPasteGroupName);
  EXPECT_EQ(history_.openGroup()->serial(), 1u);
  EXPECT_EQ(history_.openGroup()->name(), "paste");
  EXPECT_TRUE(history_.openGroup()->entries().empty());
  const lwp::KeyRecord ownShapes{0.0, 0.0, kKeepOwnShape, 0.0, 0.0, 0.0, {}};
  const lwp::TimeRange wide{0.5, 2.5};
  const lwp::TimeRange narrow{1.0, 1.0 + 0.5e-8};
  add<CmdHistSetKey>(knob, windowAt(1.0), keyAt(1.0, 7.0));
  add<ThrowingEntry>(knob);
  add<CmdHistSetKey>(knob, windowAt(2.0), keyAt(2.0, 8.0));
  add<CmdHistSetKey>(knob, narrow, keyAt(1.0, 5.0));
  add<CmdHistSetItemKey>(knob, narrow, keyAt(1.0, 5.0), lwp::KeyRecords{});
  add<CmdHistDelKeys>(knob, narrow);
  add<CmdHistMoveKeys>(knob, narrow, wide, ownShapes);
  add<CmdHistMoveKeys>(knob, wide, narrow, ownShapes);
  add<CmdHistCopyKeys>(knob, narrow, wide, ownShapes, 1);
  add<CmdHistCopyKeys>(knob, wide, narrow, ownShapes, 1);
  add<CmdHistCopyKeys>(knob, wide, wide, ownShapes, 0);
  add<CmdHistBake>(knob, wide, 0.0, 3, ownShapes);
  add<CmdHistBake>(knob, wide, -0.5, 3, ownShapes);
  history_.commit();
  EXPECT_EQ(history_.openGroup(), nullptr);
  EXPECT_EQ(history_.undoDepth(), 1u);
  EXPECT_EQ(knobKeys(), (std::vector<std::pair<double, double>>{{1.0, 7.0}, {2.0, 8.0}}));
  EXPECT_EQ(refreshes(), 2) << "a commit leaves the refresh to its caller";
  history_.undo();
  EXPECT_EQ(knobKeys(), (std::vector<std::pair<double, double>>{{1.0, 1.0}, {2.0, 2.0}}));
  std::vector<std::string> expected{"status: {1.0} Error! doIt broke"};
  expected.insert(expected.end(), 10, "status: {1.0} Check failed at doIt()!");
  expected.insert(expected.end(), 10, "status: {1.0} Check failed at undoIt() !");
  expected.emplace_back("status: {1.0} Error! undoIt broke");
  EXPECT_EQ(transcript(), expected);
  // The pass let go of its channel list: a channel made now is found.
  EXPECT_TRUE(lwp::channelExists(idOf(host_.scene().ensureChannel(*host_.scene().findByName("Arm"), "Extra.Later"))));
  history_.redo();
  EXPECT_EQ(refreshes(), 4);
  EXPECT_TRUE(history_.canUndo() && !history_.canRedo());
}

// Many items, one entry per channel: each pass walks the scene's channels
// exactly as often as one listing of them does.
TEST_F(UndoHistory, EachPassOverThousandsOfEntriesListsTheSceneChannelsOnce) {
  for (int i = 0; i < 500; ++i) host_.scene().addObject("Null" + std::to_string(i));
  const lwp::ChannelList channels = lwp::allSceneChannels();
  ASSERT_EQ(channels.size(), 501u * 9u + 1u);
  lwsim::ChannelWalkCalls &calls = lwsim::channelWalkCalls();
  const lwsim::ChannelWalkCalls start = calls;
  lwp::allSceneChannels();
  const lwsim::ChannelWalkCalls perListing{calls.nextGroup - start.nextGroup, calls.nextChannel - start.nextChannel};

  history_.begin(kRunGroupName);
  for (LWChannelID c : channels) add<CmdHistSetKey>(c, windowAt(1.0), keyAt(1.0, 3.0));
  add<CmdHistSetKey>(reinterpret_cast<LWChannelID>(&history_), windowAt(1.0), keyAt(1.0, 3.0));
  const auto expectOneListing = [&](const char *pass, auto &&run) {
    const lwsim::ChannelWalkCalls before = calls;
    run();
    EXPECT_EQ(calls.nextGroup - before.nextGroup, perListing.nextGroup) << pass;
    EXPECT_EQ(calls.nextChannel - before.nextChannel, perListing.nextChannel) << pass;
  };
  expectOneListing("commit", [&] { history_.commit(); });
  EXPECT_EQ(knobKeys(), (std::vector<std::pair<double, double>>{{1.0, 3.0}}));
  expectOneListing("undo", [&] { history_.undo(); });
  EXPECT_TRUE(knobKeys().empty());
  expectOneListing("redo", [&] { history_.redo(); });
  // The last null's Scale.Z, keyed at 0 as every new item is.
  EXPECT_EQ(host_.scene().items().back()->group->channels().back()->envelope().keyCount(), 2u);
  EXPECT_THAT(transcript(),
              ElementsAre("status: {1.0} Check failed at doIt()!", "status: {1.0} Check failed at undoIt() !",
                          "status: {1.0} Check failed at redoIt()!"));
}

// Errors of any kind are shown as "Error! ..." with the group left
// uncommitted and the selection as it was.
TEST_F(UndoHistory, ARunShowsEveryErrorAndCommitsNothing) {
  const CUndoGroup *before = undoHistory().nextUndo();
  for (const char *line : {"AddNull A", "AddNull B", "SelectByName A"}) ASSERT_EQ(host_.commands().run(line), 1);
  lwsim::Envelope &x = host_.scene().ensureChannel(*host_.scene().findByName("A"), "Position.X").envelope();
  x.createKey(5 / 30.0, 2.0);
  runInGroup("KeySetter", true, [&] {
    ASSERT_EQ(host_.commands().run("SelectByName B"), 1);
    throw 42;
  });
  runInGroup("paste", false, [] { throw std::length_error("too many keys"); });
  RunSettings settings;
  settings.operation = 7;
  settings.from = 0;
  runOperation(settings);
  settings.operation = kOpCreateKey;
  settings.frame = std::numeric_limits<double>::quiet_NaN();
  runOperation(settings);
  settings.operation = kOpMove;
  settings.offset = std::numeric_limits<double>::infinity();
  runOperation(settings);
  EXPECT_THAT(transcript(), ElementsAre("status: {1.0} Error! unknown error", "status: {1.0} Error! too many keys",
                                        "status: {1.0} Error! Unknown key operation.",
                                        "status: {1.0} Error! The number typed is not a finite number.",
                                        "status: {1.0} Error! The number typed is not a finite number."));
  EXPECT_EQ(x.keyCount(), 2u) << "an unknown operation is no deletion";
  EXPECT_EQ(undoHistory().nextUndo(), before);
  EXPECT_THAT(host_.scene().selection(), ElementsAre(host_.scene().findByName("A")));
}

TEST(FrameText, ShowsStepsReadsAndTypesFramesAndShapeCodesKeepOwnShapesOutside) {
  const std::pair<double, const char *> shown[] = {{12.0, "12"},     {12.5, "12.50"}, {12.999, "13"},
                                                   {-2.25, "-2.25"}, {-0.001, "0"},   {100.004, "100"}};
  for (const auto &[frame, text] : shown) EXPECT_EQ(frameText(frame), text) << frame;
  const std::tuple<const char *, int, const char *> steps[] = {
      {"12.75", 1, "13"}, {"12.75", -1, "11"}, {"-1.5", 1, "0"}, {"-1.5", -1, "-2"}, {"", 1, "1"}, {"1e999", 1, "1"}};
  for (const auto &[text, delta, stepped] : steps) EXPECT_EQ(steppedFrameText(text, delta), stepped) << text;
  EXPECT_EQ(frameNumber("-1."), -1.0);
  EXPECT_EQ(frameNumber(" 12.5 "), 12.5);
  for (const char *none : {"", "-", ".", "7abc", "1.5.2"}) EXPECT_EQ(frameNumber(none), std::nullopt) << none;
  std::string typed = "4";
  for (int other : {int{'a'}, 13, 0x1011}) EXPECT_FALSE(typeFrameKey(typed, other)) << other;
  for (int used : {int{'.'}, int{'.'}, int{'-'}}) EXPECT_TRUE(typeFrameKey(typed, used)) << used;
  EXPECT_EQ(typed, "4.");
  // A shape popup index outside the popup keeps each key's own shape.
  for (int index : {-1, 5, 6}) EXPECT_EQ(shapeCodeOf(index), kKeepOwnShape) << index;
  EXPECT_EQ(shapeCodeOf(4), 4) << "Stepped, the last";
}

// Only the low 16 bits of the host's id name the language; the choice
// lists are rebuilt, not appended to, at each choice.
TEST(Labels, JapaneseForId0411InItsLow16BitsAndEnglishOtherwise) {
  lwsim::Host host;
  const std::pair<std::uint64_t, bool> ids[] = {{0x0411u, true},  {0xFFFF0411u, true}, {0x123400000411ull, true},
                                                {0u, false},      {0x0409u, false},    {0x04110000u, false},
                                                {0x1411u, false}, {0x0411u, true}};
  for (const auto &[id, japanese] : ids) {
    host.setLocaleId(id);
    for (auto [unit, lists] : {std::pair<lwp::LabelUnit *, std::size_t>{&keySetterLabels(), 6},
                               {&lwp::akio::saveLabels(), 1},
                               {&lwp::akio::loadLabels(), 3}}) {
      unit->choose(lwsim::GlobalRegistry::function());
      EXPECT_EQ(unit->japanese(), japanese) << std::hex << id;
      EXPECT_EQ(unit->choiceListCount(), lists);
    }
    EXPECT_STREQ(keySetterLabels().label(kLabelCancel), japanese ? "キャンセル" : "Cancel");
    EXPECT_STREQ(keySetterLabels().choices(kFoldList)[1], "\x03(i:MIMG_DOWNARROW)");
  }
  host.globals().withhold("Locale Info");
  keySetterLabels().choose(lwsim::GlobalRegistry::function());
  EXPECT_FALSE(keySetterLabels().japanese()) << "a missing language gives English";
  keySetterLabels().choose(nullptr);
  EXPECT_FALSE(keySetterLabels().japanese());
}

}  // namespace
