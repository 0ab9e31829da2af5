// Move, Scale, Copy, Bake, Delete Key and Delete Range run on a null's
// channel: the frames they cover, the keys they leave, and that each run
// undoes and redoes as one step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "key_operations_fixture.h"
#include "key_setter/operations/key_time.h"
#include "key_setter/operations/run_settings.h"

namespace key_operations_test {
namespace {

using lwp::cks::runOperation;
using ::testing::ElementsAre;
using ::testing::Pair;

class RangeOperations : public KeyOperationsTest {
 protected:
  void SetUp() override {
    KeyOperationsTest::SetUp();
    null_ = &addNull("Null");
    x_ = &channel(*null_, "Position.X");
  }
  lwsim::SceneItem *null_ = nullptr;
  lwsim::Channel *x_ = nullptr;
};

TEST(KeyTime, AKeyWindowIsTheFrameToTheHundredthWidenedByHalfAHundredth) {
  const lwp::TimeRange window = lwp::cks::keyWindow(12.004, 1.0);
  EXPECT_DOUBLE_EQ(window.start, 11.995);
  EXPECT_DOUBLE_EQ(window.end, 12.005);
  const lwp::TimeRange rounded = lwp::cks::keyWindow(7.4961, 0.5);
  EXPECT_DOUBLE_EQ(rounded.start, 7.495 * 0.5);
  EXPECT_DOUBLE_EQ(rounded.end, 7.505 * 0.5);
}

TEST(KeyTime, AFrameRangeCoversItsLastFrameWhole) {
  const lwp::TimeRange range = lwp::cks::frameRange(10, 10, 0.5);
  EXPECT_DOUBLE_EQ(range.start, 5.0);
  EXPECT_DOUBLE_EQ(range.end, 5.5);
  // Extreme frames do not overflow.
  const lwp::TimeRange wide = lwp::cks::frameRange(0, 2147483647, 1.0);
  EXPECT_DOUBLE_EQ(wide.end, 2147483648.0);
}

TEST_F(RangeOperations, MoveTakesTheKeysOfTheWholeLastFrameOnly) {
  setKeys(*x_, {{0, 1}, {10.5, 2}, {11, 3}});
  auto settings = settingsFor(lwp::cks::kOpMove);
  settings.from = settings.to = 10;
  settings.offset = 5;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(11, 3), Pair(15.5, 2)));
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->name(), "KeySetter");

  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(10.5, 2), Pair(11, 3)));
  history().redo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(11, 3), Pair(15.5, 2)));
}

TEST_F(RangeOperations, ScaleStretchesTheRangeAboutItsStart) {
  setKeys(*x_, {{0, 1}, {3, 2}, {9.5, 3}, {14, 4}, {25, 5}});
  auto settings = settingsFor(lwp::cks::kOpScale);
  settings.from = 0;
  settings.to = 9;
  settings.factor = 2;
  runOperation(settings);
  // [0, 10) onto [0, 20): the key at 14 sat in the destination.
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(6, 2), Pair(19, 3), Pair(25, 5)));
  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(3, 2), Pair(9.5, 3), Pair(14, 4), Pair(25, 5)));
}

TEST_F(RangeOperations, CopyFillsCountSlotsAsWideAsTheSource) {
  setKeys(*x_, {{0, 1}, {2, 2}, {33, 9}, {35, 8}});
  auto settings = settingsFor(lwp::cks::kOpCopy);
  settings.from = 0;
  settings.to = 4;
  settings.destination = 20;
  settings.count = 3;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(2, 2), Pair(20, 1), Pair(22, 2), Pair(25, 1), Pair(27, 2),
                                       Pair(30, 1), Pair(32, 2), Pair(35, 8)));
  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(2, 2), Pair(33, 9), Pair(35, 8)));
}

TEST_F(RangeOperations, BakeSamplesAtTheStepAndRemovesEveryOtherKeyOfTheRange) {
  setKeys(*x_, {{0, 0}, {10, 30}, {12, 30}});
  const double atThree = x_->envelope().evaluate(3 / kFps);
  auto settings = settingsFor(lwp::cks::kOpBake);
  settings.from = 0;
  settings.to = 10;
  settings.step = 3;
  runOperation(settings);
  const FrameKeys keys = keysOf(*x_);
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[0].first, 0);
  EXPECT_EQ(keys[1].first, 3);
  EXPECT_DOUBLE_EQ(keys[1].second, atThree);
  EXPECT_EQ(keys[2].first, 6);
  EXPECT_EQ(keys[3].first, 9);
  EXPECT_EQ(keys[4], FrameKey(12, 30));
  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 0), Pair(10, 30), Pair(12, 30)));
}

TEST_F(RangeOperations, DeleteKeyTakesTheKeysWithinHalfAHundredthOfTheFrame) {
  setKeys(*x_, {{6.994, 1}, {6.996, 2}, {7.004, 3}, {7.006, 4}});
  auto settings = settingsFor(lwp::cks::kOpDeleteKey);
  settings.frame = 7.0;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(6.994, 1), Pair(7.006, 4)));
  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(6.994, 1), Pair(6.996, 2), Pair(7.004, 3), Pair(7.006, 4)));
  history().redo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(6.994, 1), Pair(7.006, 4)));
}

TEST_F(RangeOperations, DeleteRangeTakesTheWholeLastFrame) {
  setKeys(*x_, {{1, 1}, {2, 2}, {3.5, 3}, {4, 4}});
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.from = 2;
  settings.to = 3;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(1, 1), Pair(4, 4)));
}

TEST_F(RangeOperations, OneRunOverSeveralItemsAndChannelsUndoesAsOneStep) {
  lwsim::SceneItem &child = addNull("Child");
  ASSERT_TRUE(scene().setParent(child, null_));
  ASSERT_EQ(run("SelectByName Null"), 1);
  lwsim::Channel &childH = channel(child, "Rotation.H");
  setKeys(*x_, {{0, 1}, {5, 2}});
  setKeys(childH, {{0, 3}, {5, 4}});
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.scope = lwp::kTargetWithDescendants;
  settings.from = settings.to = 5;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1)));
  EXPECT_THAT(keysOf(childH), ElementsAre(Pair(0, 3)));
  // Nine motion channels of each item.
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->entries().size(), 18u);
  history().undo();
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(5, 2)));
  EXPECT_THAT(keysOf(childH), ElementsAre(Pair(0, 3), Pair(5, 4)));
}

TEST_F(RangeOperations, BehavioursAreSetWithTheRangeAndUndoneWithIt) {
  setKeys(*x_, {{0, 1}, {5, 2}});
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.from = settings.to = 5;
  settings.extraOpen = true;
  settings.behavior = true;
  settings.preIndex = 6;   // Linear
  settings.postIndex = 4;  // Oscillate
  runOperation(settings);
  EXPECT_EQ(x_->envelope().preBehavior(), lwsim::kLinear);
  EXPECT_EQ(x_->envelope().postBehavior(), lwsim::kOscillate);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1)));
  history().undo();
  EXPECT_EQ(x_->envelope().preBehavior(), lwsim::kConstant);
  EXPECT_EQ(x_->envelope().postBehavior(), lwsim::kConstant);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(5, 2)));
}

TEST_F(RangeOperations, OnlyTheToggledAxesAreTouched) {
  lwsim::Channel &y = channel(*null_, "Position.Y");
  setKeys(*x_, {{0, 1}, {5, 2}});
  setKeys(y, {{0, 1}, {5, 2}});
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.from = settings.to = 5;
  settings.axes.fill(false);
  settings.axes[1] = true;
  runOperation(settings);
  EXPECT_THAT(keysOf(*x_), ElementsAre(Pair(0, 1), Pair(5, 2)));
  EXPECT_THAT(keysOf(y), ElementsAre(Pair(0, 1)));
}

}  // namespace
}  // namespace key_operations_test
