// The frame of every run: one undo group, the selection as it was before,
// and errors of any kind shown as "Error! ..." with the group left
// uncommitted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "key_operations_fixture.h"
#include "key_setter/operations/run_frame.h"
#include "key_setter/operations/run_settings.h"

namespace key_operations_test {
namespace {

using lwp::cks::runOperation;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

class RunFrame : public KeyOperationsTest {};

TEST_F(RunFrame, TheSelectionIsRestoredAfterCreateKeySelectedEachItem) {
  addNull("A");
  addNull("B");
  lwsim::SceneItem &c = addNull("C");
  ASSERT_EQ(run("SelectByName A"), 1);
  selectAlso(*scene().findByName("B"));
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  settings.scope = lwp::kTargetAllItems;
  settings.frame = 3;
  runOperation(settings);
  EXPECT_THAT(keysOf(channel(c, "Position.X")), ElementsAre(Pair(0, 0), Pair(3, 0)));
  EXPECT_THAT(selectionNames(), UnorderedElementsAre("A", "B"));
}

TEST_F(RunFrame, AHostWithoutAFrameRateStopsTheRunWithAnErrorAndNoGroup) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  setKeys(x, {{0, 1}, {5, 2}});
  const long long before = newestSerial();
  scene().setFramesPerSecond(0.0);
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.from = settings.to = 5;
  runOperation(settings);
  EXPECT_THAT(statusLines(), Contains("status: {1.0} Error! The scene has no valid frame rate."));
  EXPECT_EQ(newestSerial(), before);
  EXPECT_EQ(history().openGroup(), nullptr) << "refused before its group opened";
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1), Pair(5, 2)));

  scene().setFramesPerSecond(kFps);
  runOperation(settings);
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1)));
}

TEST_F(RunFrame, AMissingSceneServiceIsReportedNotFollowed) {
  addNull("Null");
  host().globals().withhold("LW Scene Info 12");
  runOperation(settingsFor(lwp::cks::kOpCreateKey));
  host().globals().restore("LW Scene Info 12");
  EXPECT_THAT(statusLines(), Contains("status: {1.0} Error! The host gave no scene information."));
  EXPECT_EQ(committedGroup(), nullptr);
}

TEST_F(RunFrame, AnExceptionOfAnyKindIsShownWithAGenericTextAndKeepsTheSelection) {
  addNull("A");
  addNull("B");
  ASSERT_EQ(run("SelectByName A"), 1);
  lwp::cks::runInGroup("KeySetter", true, [&] {
    ASSERT_EQ(run("SelectByName B"), 1);
    throw 42;
  });
  EXPECT_THAT(statusLines(), Contains("status: {1.0} Error! unknown error"));
  EXPECT_EQ(committedGroup(), nullptr);
  EXPECT_THAT(selectionNames(), ElementsAre("A"));
}

TEST_F(RunFrame, AStandardExceptionShowsItsOwnText) {
  lwp::cks::runInGroup("paste", false, [] { throw std::length_error("too many keys"); });
  EXPECT_THAT(statusLines(), Contains("status: {1.0} Error! too many keys"));
  EXPECT_EQ(committedGroup(), nullptr);
}

TEST_F(RunFrame, AnUnknownOperationIsAnErrorNotADeletion) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  setKeys(x, {{0, 1}, {5, 2}});
  auto settings = settingsFor(7);
  settings.from = 0;
  settings.to = 10;
  runOperation(settings);
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1), Pair(5, 2)));
  EXPECT_THAT(statusLines(), Contains("status: {1.0} Error! Unknown key operation."));
}

TEST_F(RunFrame, ANumberThatIsNotFiniteWritesNoKey) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  setKeys(x, {{0, 1}, {5, 2}});
  auto create = settingsFor(lwp::cks::kOpCreateKey);
  create.frame = std::numeric_limits<double>::quiet_NaN();
  runOperation(create);
  auto move = settingsFor(lwp::cks::kOpMove);
  move.from = move.to = 5;
  move.offset = std::numeric_limits<double>::infinity();
  runOperation(move);
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1), Pair(5, 2)));
  EXPECT_EQ(committedGroup(), nullptr);
  EXPECT_THAT(statusLines(), ElementsAre("status: {1.0} Error! The number typed is not a finite number.",
                                         "status: {1.0} Error! The number typed is not a finite number."));
}

TEST_F(RunFrame, ARunWithoutTargetsCommitsAnEmptyGroup) {
  ASSERT_EQ(run("ClearSelection"), 1);
  runOperation(settingsFor(lwp::cks::kOpMove));
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->name(), "KeySetter");
  EXPECT_TRUE(committedGroup()->entries().empty());
}

}  // namespace
}  // namespace key_operations_test
