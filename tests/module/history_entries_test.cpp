// Each kind of undo entry done, undone and redone through the history on
// envelopes of the simulated host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history_fixture.h"
#include "key_setter/history/cmd_hist_bake.h"
#include "key_setter/history/cmd_hist_copy_keys.h"
#include "key_setter/history/cmd_hist_del_keys.h"
#include "key_setter/history/cmd_hist_fc_behave.h"
#include "key_setter/history/cmd_hist_move_keys.h"
#include "key_setter/history/cmd_hist_set_item_key.h"
#include "key_setter/history/cmd_hist_set_key.h"
#include "key_setter/operations/shape_override.h"

namespace history_test {
namespace {

using namespace lwp::cks;

const std::array<double, 4> kHandles{0.25, -0.5, 0.75, -1.0};
const lwp::KeyRecord kOwnShapes{0.0, 0.0, kKeepOwnShape, 0.0, 0.0, 0.0, {}};

class HistoryEntries : public HistoryTest {
 protected:
  void SetUp() override {
    HistoryTest::SetUp();
    knob_ = &channel(scene().addObject("Arm"), "Extra.Knob");
  }

  // Runs the group and checks the envelope after do, undo and redo.
  void expectDoUndoRedo(const Keys &done, const Keys &before) {
    history_.commit();
    EXPECT_EQ(keysOf(*knob_), done) << "after do";
    history_.undo();
    EXPECT_EQ(keysOf(*knob_), before) << "after undo";
    history_.redo();
    EXPECT_EQ(keysOf(*knob_), done) << "after redo";
    EXPECT_EQ(transcript(), std::vector<std::string>{});
  }

  LWChannelID knob() { return idOf(*knob_); }

  lwsim::Channel *knob_ = nullptr;
};

TEST_F(HistoryEntries, SetKeyReplacesTheWindowAndUndoBringsBackEachKeysOwnShape) {
  const Keys before = {tcb(0.5, 1.0, 0.3, -0.2, 0.1), shaped(1.0, 2.0, 5, kHandles), tcb(1.004, 2.5, 0.5),
                       tcb(2.0, 3.0)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(knob(), lwp::TimeRange{0.99, 1.01}, record(shaped(1.0, 7.5, 1, {1.0, 2.0, 3.0, 4.0})));
  expectDoUndoRedo({tcb(0.5, 1.0, 0.3, -0.2, 0.1), shaped(1.0, 7.5, 1, {1.0, 2.0, 3.0, 4.0}), tcb(2.0, 3.0)}, before);
}

TEST_F(HistoryEntries, SetKeyKeepingItsShapeTakesTheReplacedBezierKeysShapeAndKeepsItOnRedo) {
  const Keys before = {shaped(1.0, 2.0, 5, kHandles), tcb(1.005, 4.0, 0.9)};
  putAll(*knob_, before);
  history_.begin(kPasteGroupName);
  lwp::KeyRecord key = kOwnShapes;
  key.time = 1.0;
  key.value = 9.0;
  add<CmdHistSetKey>(knob(), lwp::TimeRange{0.99, 1.01}, key);
  expectDoUndoRedo({shaped(1.0, 9.0, 5, kHandles)}, before);

  // Nothing to take the shape from: TCB with zeros.
  lwsim::Channel &empty = channel(*scene().findByName("Arm"), "Extra.Empty");
  history_.begin(kPasteGroupName);
  key.time = 3.0;
  add<CmdHistSetKey>(idOf(empty), lwp::TimeRange{2.99, 3.01}, key);
  history_.commit();
  history_.undo();
  history_.redo();
  EXPECT_EQ(keysOf(empty), Keys{tcb(3.0, 9.0)});
}

TEST_F(HistoryEntries, SetItemKeyLeavesTheWrittenKeyAndUndoRestoresEveryKeyItReplaced) {
  const Keys before = {tcb(0.0, 0.0), shaped(0.995, 2.0, 5, kHandles), tcb(1.0, 3.0, 0.2)};
  putAll(*knob_, before);
  // The operation has already written its key over the old ones.
  knob_->envelope().destroyKey(knob_->envelope().findKey(0.995));
  put(*knob_, tcb(1.0, 4.0, 0.5));
  history_.begin(kRunGroupName);
  add<CmdHistSetItemKey>(knob(), lwp::TimeRange{0.99, 1.01}, record(tcb(1.0, 4.0, 0.5)),
                         lwp::KeyRecords{record(before[1]), record(before[2])});
  expectDoUndoRedo({tcb(0.0, 0.0), tcb(1.0, 4.0, 0.5)}, before);

  // Without an old key the undo leaves the window empty.
  history_.begin(kRunGroupName);
  put(*knob_, tcb(2.0, 6.0));
  add<CmdHistSetItemKey>(knob(), lwp::TimeRange{1.99, 2.01}, record(tcb(2.0, 6.0)), lwp::KeyRecords{});
  history_.commit();
  history_.undo();
  EXPECT_EQ(keysOf(*knob_), (Keys{tcb(0.0, 0.0), tcb(1.0, 4.0, 0.5)}));
  history_.redo();
  EXPECT_EQ(keysOf(*knob_), (Keys{tcb(0.0, 0.0), tcb(1.0, 4.0, 0.5), tcb(2.0, 6.0)}));
}

TEST_F(HistoryEntries, DelKeysTakesTheHalfOpenRangeAndUndoRestoresEveryKey) {
  const Keys before = {tcb(0.5, 1.0), tcb(0.9999995, 1.5, 0.1, 0.2, 0.3), shaped(1.0, 2.0, 5, kHandles),
                       shaped(1.5, 3.0, 4), tcb(2.0, 4.0)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistDelKeys>(knob(), lwp::TimeRange{1.0, 2.0});
  expectDoUndoRedo({tcb(0.5, 1.0), tcb(2.0, 4.0)}, before);
}

TEST_F(HistoryEntries, MoveKeysOntoARangeThatHoldsKeysBringsBothSetsBackOnUndo) {
  // Source [1, 2) stretched onto [3, 5); the keys at 3 and 4.5 are in the way.
  const Keys before = {tcb(0.0, 0.0),       shaped(1.0, 1.0, 5, kHandles),
                       tcb(1.5, 2.0, 0.25), shaped(3.0, 8.0, 1),
                       tcb(4.5, 9.0),       tcb(5.0, 10.0)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistMoveKeys>(knob(), lwp::TimeRange{1.0, 2.0}, lwp::TimeRange{3.0, 5.0}, kOwnShapes);
  expectDoUndoRedo({tcb(0.0, 0.0), shaped(3.0, 1.0, 5, kHandles), tcb(4.0, 2.0, 0.25), tcb(5.0, 10.0)}, before);
}

TEST_F(HistoryEntries, MoveKeysWithinOverlappingRangesAndWithAShapeOverride) {
  // Shifted by one second: [1, 3) onto [2, 4).
  const Keys before = {tcb(1.0, 1.0, 0.5), shaped(2.0, 2.0, 5, kHandles), tcb(3.5, 3.0)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistMoveKeys>(knob(), lwp::TimeRange{1.0, 3.0}, lwp::TimeRange{2.0, 4.0},
                       record(shaped(0.0, 0.0, 3, {0.1, 0.2, 0.3, 0.4})));
  expectDoUndoRedo({shaped(2.0, 1.0, 3, {0.1, 0.2, 0.3, 0.4}), shaped(3.0, 2.0, 3, {0.1, 0.2, 0.3, 0.4})}, before);
}

TEST_F(HistoryEntries, CopyKeysFillsEverySlotAndUndoRestoresTheKeysItReplaced) {
  // [0, 1) copied three times into slots two seconds wide from 2: [2, 8).
  const Keys before = {tcb(0.0, 1.0, 0.2), shaped(0.5, 2.0, 5, kHandles), tcb(1.0, 3.0), tcb(5.5, 4.0), tcb(8.0, 5.0)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistCopyKeys>(knob(), lwp::TimeRange{0.0, 1.0}, lwp::TimeRange{2.0, 4.0}, kOwnShapes, 3);
  const Keys source = {tcb(0.0, 1.0, 0.2), shaped(0.5, 2.0, 5, kHandles), tcb(1.0, 3.0)};
  Keys done = source;
  for (double slot : {2.0, 4.0, 6.0}) {
    done.push_back(tcb(slot, 1.0, 0.2));
    done.push_back(shaped(slot + 1.0, 2.0, 5, kHandles));
  }
  done.push_back(tcb(8.0, 5.0));
  expectDoUndoRedo(done, before);
}

TEST_F(HistoryEntries, FcBehaveChangesOnlyTheGivenBehaviours) {
  lwsim::Envelope &envelope = knob_->envelope();
  envelope.setPreBehavior(lwsim::kOscillate);
  history_.begin(kRunGroupName);
  add<CmdHistFcBehave>(knob(), kBehaviorUnchanged, std::uint32_t{lwsim::kRepeat});
  add<CmdHistFcBehave>(knob(), std::uint32_t{lwsim::kReset}, kBehaviorUnchanged);
  history_.commit();
  EXPECT_EQ(envelope.preBehavior(), lwsim::kReset);
  EXPECT_EQ(envelope.postBehavior(), lwsim::kRepeat);
  history_.undo();
  EXPECT_EQ(envelope.preBehavior(), lwsim::kOscillate);
  EXPECT_EQ(envelope.postBehavior(), lwsim::kConstant);
  history_.redo();
  EXPECT_EQ(envelope.preBehavior(), lwsim::kReset);
  EXPECT_EQ(envelope.postBehavior(), lwsim::kRepeat);
}

TEST_F(HistoryEntries, BakeSamplesTheCurveAsItWasAndReplacesEveryKeyInTheRange) {
  // A linear curve through (0, 0), (2, 8) and (3, 12), sampled every 0.75
  // seconds over [0, 2.75): the key at 2 is baked away, the one at 3 stays.
  const Keys before = {shaped(0.0, 0.0, 3), shaped(2.0, 8.0, 3), shaped(3.0, 12.0, 3)};
  putAll(*knob_, before);
  history_.begin(kRunGroupName);
  add<CmdHistBake>(knob(), lwp::TimeRange{0.0, 2.75}, 0.75, 4, kOwnShapes);
  expectDoUndoRedo({tcb(0.0, 0.0), tcb(0.75, 3.0), tcb(1.5, 6.0), tcb(2.25, 9.0), shaped(3.0, 12.0, 3)}, before);

  // An override gives the baked keys its shape.
  history_.begin(kRunGroupName);
  add<CmdHistBake>(knob(), lwp::TimeRange{0.0, 1.0}, 0.75, 2, record(shaped(0.0, 0.0, 4, kHandles)));
  history_.commit();
  EXPECT_EQ(keysOf(*knob_), (Keys{shaped(0.0, 0.0, 4, kHandles), shaped(0.75, 3.0, 4, kHandles), tcb(1.5, 6.0),
                                  tcb(2.25, 9.0), shaped(3.0, 12.0, 3)}));
}

// Ranges no wider than the minimum span, no copies, and bake steps that do
// not advance.
TEST_F(HistoryEntries, EntriesThatCannotApplyFailEveryCheckAndLeaveTheKeys) {
  const Keys before = {tcb(1.0, 1.0), tcb(2.0, 2.0)};
  putAll(*knob_, before);
  const lwp::TimeRange wide{0.5, 2.5};
  const lwp::TimeRange narrow{1.0, 1.0 + 0.5e-8};
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(knob(), narrow, record(tcb(1.0, 5.0)));
  add<CmdHistSetItemKey>(knob(), narrow, record(tcb(1.0, 5.0)), lwp::KeyRecords{});
  add<CmdHistDelKeys>(knob(), narrow);
  add<CmdHistMoveKeys>(knob(), narrow, wide, kOwnShapes);
  add<CmdHistMoveKeys>(knob(), wide, narrow, kOwnShapes);
  add<CmdHistCopyKeys>(knob(), narrow, wide, kOwnShapes, 1);
  add<CmdHistCopyKeys>(knob(), wide, narrow, kOwnShapes, 1);
  add<CmdHistCopyKeys>(knob(), wide, wide, kOwnShapes, 0);
  add<CmdHistBake>(knob(), wide, 0.0, 3, kOwnShapes);
  add<CmdHistBake>(knob(), wide, -0.5, 3, kOwnShapes);
  history_.commit();
  history_.undo();
  EXPECT_EQ(keysOf(*knob_), before);
  std::vector<std::string> expected(10, "status: {1.0} Check failed at doIt()!");
  expected.insert(expected.end(), 10, "status: {1.0} Check failed at undoIt() !");
  EXPECT_EQ(transcript(), expected);
}

}  // namespace
}  // namespace history_test
