// Copy values and Paste values: what is copied, where the paste keys go,
// the paste's one undo step, and the empty clipboard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "key_operations_fixture.h"
#include "key_setter/operations/run_settings.h"
#include "key_setter/operations/value_clipboard.h"

namespace key_operations_test {
namespace {

using lwp::cks::copyValues;
using lwp::cks::hasCopiedValues;
using lwp::cks::pasteValues;
using ::testing::ElementsAre;
using ::testing::Pair;

class ValueClipboard : public KeyOperationsTest {
 protected:
  std::size_t refreshes() {
    const auto &log = fixture_.host().commands().log();
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [](const lwsim::CommandRecord &c) { return c.line == "RefreshNow"; }));
  }
};

TEST_F(ValueClipboard, CopiedValuesArePastedAsKeysAtTheNewCurrentTime) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  lwsim::Channel &knob = channel(null, "Extra.Knob");
  setKeys(x, {{0, 0}, {10, 10}});
  setKeys(knob, {{0, 3}});
  goToFrame(4);
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  settings.misc = true;
  ASSERT_TRUE(copyValues(settings));
  EXPECT_TRUE(hasCopiedValues());
  const double copiedX = x.envelope().evaluate(4 / kFps);

  goToFrame(20);
  ASSERT_EQ(run("ClearSelection"), 1);  // the paste keys the copied channels whatever is selected
  pasteValues(settings);
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 0), Pair(10, 10), Pair(20, copiedX)));
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 3), Pair(20, 3)));
  EXPECT_THAT(keysOf(channel(null, "Scale.X")), ElementsAre(Pair(0, 1), Pair(20, 1)));
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->name(), "paste");
  EXPECT_EQ(refreshes(), 1u);

  history().undo();
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 0), Pair(10, 10)));
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 3)));
  history().redo();
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 3), Pair(20, 3)));
}

TEST_F(ValueClipboard, APastedKeyKeepsTheShapeOfTheKeyItReplaces) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  setKeys(x, {{0, 2}, {6, 5}});
  x.envelope().findKey(6 / kFps)->shape = 4;
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  ASSERT_TRUE(copyValues(settings));
  goToFrame(6);
  pasteValues(settings);
  EXPECT_EQ(keyAtFrame(x, 6).value, 2);
  EXPECT_EQ(keyAtFrame(x, 6).shape, 4);
  // With the shape chosen in the extra section, that shape is written.
  settings.extraOpen = true;
  settings.keyShape = true;
  settings.shapeIndex = 2;
  pasteValues(settings);
  EXPECT_EQ(keyAtFrame(x, 6).shape, 5);
}

TEST_F(ValueClipboard, PasteWithAnEmptyClipboardCommitsAnEmptyGroup) {
  addNull("Null");
  ASSERT_EQ(run("ClearSelection"), 1);
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  EXPECT_FALSE(copyValues(settings));  // no targets: the clipboard is emptied
  EXPECT_FALSE(hasCopiedValues());
  pasteValues(settings);
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->name(), "paste");
  EXPECT_TRUE(committedGroup()->entries().empty());
}

TEST_F(ValueClipboard, CopyingWithDissolveKeepsTheSelection) {
  lwsim::SceneItem &mesh = addMesh("Body");
  addNull("Null");
  ASSERT_EQ(run("SelectByName Null"), 1);
  selectAlso(mesh);
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  settings.dissolve = true;
  ASSERT_TRUE(copyValues(settings));
  // The mesh got its dissolve envelope, whose value was copied too.
  EXPECT_NE(scene().findChannel(mesh, "Dissolve"), nullptr);
  EXPECT_EQ(lwp::cks::valueClipboard().size(), 19u);
  EXPECT_THAT(selectionNames(), ::testing::UnorderedElementsAre("Null", "Body"));
}

TEST_F(ValueClipboard, AFailedCopyLeavesTheClipboardEmpty) {
  addNull("Null");
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  ASSERT_TRUE(copyValues(settings));
  host().globals().withhold("LW Time Info");
  EXPECT_FALSE(copyValues(settings));
  host().globals().restore("LW Time Info");
  EXPECT_FALSE(hasCopiedValues());
  EXPECT_EQ(fixture_.transcript().back(), "status: {1.0} Error! The host gave no current time.");
}

}  // namespace
}  // namespace key_operations_test
