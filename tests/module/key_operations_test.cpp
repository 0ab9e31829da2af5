// Key operations run from the key-setter panel as a user runs them: the
// keys each leaves, the one undo step per run behind the Undo and Redo
// buttons, the items and channels a run takes, Copy and Paste, the key
// deleter's one-frame window and the refusals shown to the user.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "key_panel_fixture.h"

namespace key_panel_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

const std::array<double, 4> kHandles{0.25, -0.5, 0.75, -1.0};

// Keys of Ball's Position.X before a run, the user's work in the panel and
// the keys after it; one Undo brings back every key as it was, one Redo
// the run's keys again.
struct OperationCase {
  const char *name;
  Keys before;
  std::string work;
  Keys after;
};

void PrintTo(const OperationCase &c, std::ostream *os) { *os << c.name; }
OperationCase row(const char *name, Keys before, std::string work, Keys after) {
  return {name, std::move(before), std::move(work), std::move(after)};
}

class Operation : public KeyPanel, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(Operation, LeavesItsKeysAndUndoesAndRedoesAsOneStep) {
  const OperationCase &c = GetParam();
  run("AddNull Ball\n");
  put("Ball", "Position.X", c.before);
  const Keys before = keys("Ball", "Position.X");
  inPanel(c.work);
  EXPECT_EQ(keys("Ball", "Position.X"), c.after);
  historyButton(kUndo);
  EXPECT_EQ(keys("Ball", "Position.X"), before) << "after Undo";
  EXPECT_EQ(state(kUndo), lwsim::DrawState::Ghosted) << "the run was one step";
  historyButton(kRedo);
  EXPECT_EQ(keys("Ball", "Position.X"), c.after) << "after Redo";
  EXPECT_EQ(std::make_pair(state(kUndo), state(kRedo)),
            std::make_pair(lwsim::DrawState::Shown, lwsim::DrawState::Ghosted));
  EXPECT_THAT(module_.transcript(), ::testing::IsEmpty());
}

const std::string kExtraShape = press(kFolded) + press(kKeyShape);

// The window of half a hundredth around the frame typed is replaced; Bezier
// becomes the two-dimensional shape; a shape chosen in a folded extra
// section is not applied; the last frame of a range counts whole and each
// moved key keeps its own shape; a baked range is sampled from the curve;
// key times are shifted up by a microsecond against a half-open range; a
// pasted key takes the shape of the key it replaces.
const OperationCase kCases[] = {
    row("CreateKey", {k(0, 4), k(11.994, 6), k(12.003, 7), k(12.004, 8)}, typed("12.004") + kPressOk,
        {k(0, 4), k(11.994, 6), k(12.004, 4)}),
    row("CreateKeyShaped", {k(0, 0)}, typed("15") + kExtraShape + set(kShape, "2") + key(13), {k(0, 0), k(15, 0, 5)}),
    row("CreateKeyClampedTcb", {k(0, 0)},
        typed("6") + kExtraShape + set(kTension, "4") + set(kContinuity, "-3") + set(kBias, "0.25") + kPressOk,
        {k(0, 0), Key{6, 0, 0, 1, -1, 0.25, {}}}),
    row("CreateKeyFolded", {k(0, 0), k(15, 2, 3)},
        typed("15") + kExtraShape + set(kShape, "4") + press(kUnfolded) + kPressOk, {k(0, 0), k(15, 0, 3)}),
    row("Move", {k(0, 1), k(10.5, 2, 5, kHandles), Key{11, 3, 0, 0.3, -0.2, 0.1, {}}},
        choose(2) + set(kFrom, "10") + set(kTo, "10") + set(kOffset, "5") + kPressOk,
        {k(0, 1), Key{11, 3, 0, 0.3, -0.2, 0.1, {}}, k(15.5, 2, 5, kHandles)}),
    // [1, 3) onto [2, 4) with a shape override; the key at 3.5 was in the way.
    row("MoveShaped", {Key{1, 1, 0, 0.5, 0, 0, {}}, k(2, 2, 5, kHandles), k(3.5, 3)},
        choose(2) + set(kFrom, "1") + set(kTo, "2") + kExtraShape + set(kShape, "3") + kPressOk,
        {k(2, 1, 3), k(3, 2, 3)}),
    // [0, 10) onto [0, 20): the key at 14 sat in the destination.
    row("Scale", {k(0, 1), k(3, 2), k(9.5, 3), k(14, 4), k(25, 5)},
        choose(3) + set(kFrom, "0") + set(kTo, "9") + set(kFactor, "2") + kPressOk,
        {k(0, 1), k(6, 2), k(19, 3), k(25, 5)}),
    row("Copy", {k(0, 1), k(2, 2), k(33, 9), k(35, 8)},
        choose(4) + set(kFrom, "0") + set(kTo, "4") + set(kDestination, "20") + set(kCount, "3") + kPressOk,
        {k(0, 1), k(2, 2), k(20, 1), k(22, 2), k(25, 1), k(27, 2), k(30, 1), k(32, 2), k(35, 8)}),
    row("Bake", {k(0, 0, 3), k(10, 30, 3), k(12, 30, 3)},
        choose(5) + set(kFrom, "0") + set(kTo, "10") + set(kStep, "3") + kPressOk,
        {k(0, 0), k(3, 9), k(6, 18), k(9, 27), k(12, 30, 3)}),
    row("DeleteKey", {k(6.994, 1), k(6.996, 2), k(7.004, 3), k(7.006, 4)}, choose(6) + typed("7") + kPressOk,
        {k(6.994, 1), k(7.006, 4)}),
    row("DeleteRange",
        {k(1, 1), k(1.99994, 5), k(1.999985, 6), k(2, 2), k(3.5, 3), k(3.99994, 7), k(3.999985, 8), k(4, 4)},
        choose(7) + set(kFrom, "2") + set(kTo, "3") + kPressOk, {k(1, 1), k(1.99994, 5), k(3.999985, 8), k(4, 4)}),
    row("Paste", {k(0, 2), k(6, 5, 4)},
        press(kFolded) + press(kCopyValues) + "GoToFrame 6\n" + press(kPasteValues) + "@press Cancel\n",
        {k(0, 2), k(6, 2, 4)}),
};

INSTANTIATE_TEST_SUITE_P(EachKind, Operation, ::testing::ValuesIn(kCases),
                         [](const auto &testCase) { return std::string(testCase.param.name); });

// B is posed, then the panel's Cancel resets the marks; A is posed after.
// A marked channel keys the pose, any other its envelope's value now; the
// probe's own keys leave nothing behind.
TEST_F(KeyPanel, AfterAResetOnlyMarkedChannelsKeyThePose) {
  run("AddNull A\nAddNull B\nGoToFrame 5\nPosition 7 0 0\n@run QD:VaruDudEdodav\n@press Cancel\n"
      "SelectByName A\nPosition 3 0 0\n");
  put("B", "Position.X", {k(0, 0), k(20, 20)});
  masterEvents_.clear();
  inPanel(typed("20") + set(kScope, "2") + kPressOk);
  EXPECT_THAT(masterEvents_, ElementsAre(lwp::cks::kMarkQueryEvent, lwp::cks::kMasterResetEvent));
  EXPECT_EQ(keys("A", "Position.X"), (Keys{k(0, 0), k(20, 3)}));
  EXPECT_EQ(keys("A", "Position.Y"), (Keys{k(0, 0), k(20, 0)}));
  EXPECT_EQ(keys("B", "Position.X"), (Keys{k(0, 0), k(20, 5)}));
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: A")) << "the selection is kept";
  historyButton(kUndo);
  EXPECT_EQ(keys("B", "Position.X"), (Keys{k(0, 0), k(20, 20)})) << "as it stood, not as the probe keyed it";
  EXPECT_EQ(keys("A", "Position.Y"), Keys{k(0, 0)});
}

// Each selected item is selected and probed with the mask of its keyed
// motion channels: Position.Y and Rotation.B here.
TEST_F(KeyPanel, CreateKeyProbesEachItemWithItsMask) {
  run("AddNull A\nAddNull B\nSelectByName A\n");
  run(addToSelection("B"));
  const std::size_t before = module_.commandLines().size();
  inPanel(press(kPosition) + press(kRotation) + press(kScale) + press(kPositionY) + press(kRotationB) +
          typed("12.004") + kPressOk);
  const std::vector<std::string> lines = module_.commandLines();
  char selectA[32], selectB[32];
  std::snprintf(selectA, sizeof selectA, "SelectItem 0x%x", static_cast<unsigned>(item("A").id));
  std::snprintf(selectB, sizeof selectB, "SelectItem 0x%x", static_cast<unsigned>(item("B").id));
  const auto first = std::find(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end(), selectA);
  ASSERT_GE(std::distance(first, lines.end()), 4);
  EXPECT_THAT(std::vector<std::string>(first, first + 4), ElementsAre(selectA, "CreateKey 0.400133333333333 0 0x022",
                                                                      selectB, "CreateKey 0.400133333333333 0 0x022"));
  EXPECT_EQ(keys("A", "Position.X"), Keys{k(0, 0)});
  EXPECT_EQ(keys("B", "Rotation.B").size(), 2u);
}

TEST_F(KeyPanel, ScopeAndItemKindsChooseTheItems) {
  run("AddNull Parent\nAddNull Child\nLoadObject Body.lwo\nAddNull Other\n@parent Child Parent\n"
      "@parent Body Parent\nSelectByName Parent\n");
  const char *names[] = {"Parent", "Child", "Body", "Other"};
  for (const char *name : names) put(name, "Position.X", {k(0, 1), k(5, 2)});
  struct Case {
    std::string settings;
    std::vector<bool> deleted;
  };
  const Case cases[] = {{set(kScope, "0"), {true, false, false, false}},
                        {set(kScope, "1"), {true, true, true, false}},
                        {set(kScope, "2"), {true, true, true, true}},
                        {press(kMesh), {true, true, false, true}},
                        {press(kMesh) + press(kNull), {false, false, true, false}}};
  for (const Case &c : cases) {
    inPanel(choose(7) + set(kFrom, "5") + set(kTo, "5") + c.settings + kPressOk);
    std::vector<bool> deleted;
    for (const char *name : names) deleted.push_back(keys(name, "Position.X").size() == 1);
    EXPECT_EQ(deleted, c.deleted) << c.settings;
    historyButton(kUndo);
  }
}

TEST_F(KeyPanel, DissolveMorphAndOtherChannelsAreKeyedWhenTheirTogglesAreOn) {
  run("LoadObject Body.lwo\nAddNull Null\n@morph Body Mouth.Smile\nSelectByName Body\n");
  run(addToSelection("Null"));
  put("Body", "Mouth.Smile", {k(0, 0.25)});
  put("Body", "Extra.Knob", {k(0, 0.75)});
  inPanel(press(kDissolve) + press(kHundred) + typed("6") + kPressOk);
  EXPECT_EQ(keys("Body", "Dissolve"), (Keys{k(0, 0), k(6, 1)}));
  EXPECT_EQ(keys("Body", "Mouth.Smile"), (Keys{k(0, 0.25), k(6, 0.25)}));
  EXPECT_EQ(keys("Body", "Extra.Knob"), Keys{k(0, 0.75)}) << "Misc is off";
  historyButton(kUndo);
  EXPECT_EQ(keys("Body", "Dissolve"), Keys{k(0, 0)});
  inPanel(press(kDissolve) + press(kMisc) + press(kMorph) + typed("9") + kPressOk);
  EXPECT_EQ(keys("Body", "Mouth.Smile"), Keys{k(0, 0.25)});
  EXPECT_EQ(keys("Body", "Extra.Knob"), (Keys{k(0, 0.75), k(9, 0.75)}));
}

TEST_F(KeyPanel, BehavioursChangeOnlyWhereAPopupSaysAndUndoWithTheRun) {
  run("AddNull Ball\n@behavior Ball Position.X 5 1\n");
  lwsim::Envelope &x = envelope("Ball", "Position.X");
  inPanel(press(kFolded) + press(kBehavior) + set(kPost, "3") + kPressOk);
  EXPECT_EQ(std::make_pair(x.preBehavior(), x.postBehavior()), std::make_pair(5, 2)) << "Pre As is, Post Repeat";
  historyButton(kUndo);
  EXPECT_EQ(std::make_pair(x.preBehavior(), x.postBehavior()), std::make_pair(5, 1));
  EXPECT_EQ(x.keyCount(), 1u);
  inPanel(choose(7) + set(kFrom, "5") + set(kTo, "5") + set(kPre, "1") + set(kPost, "4") + kPressOk);
  EXPECT_EQ(std::make_pair(x.preBehavior(), x.postBehavior()), std::make_pair(0, 3)) << "Reset, Oscillate";
  historyButton(kUndo);
  EXPECT_EQ(std::make_pair(x.preBehavior(), x.postBehavior()), std::make_pair(5, 1));
  inPanel(choose(7) + set(kPre, "2") + press(kUnfolded) + kPressOk);
  EXPECT_EQ(x.preBehavior(), 5) << "a folded section's behaviours are not applied";
}

TEST_F(KeyPanel, PoseClipTakesTheToolsItemsAndChannelsWhateverTheScope) {
  run("AddNull Parent\nAddNull Child\nLoadObject Body.lwo\nAddNull Other\n@parent Child Parent\n"
      "SelectByName Parent\nGoToFrame 5\n");
  for (const char *name : {"Parent", "Child", "Other"}) put(name, "Position.X", {k(0, 1), k(5, 2)});
  put("Child", "Position.Y", {k(0, 1), k(5, 2)});
  put("Body", "Extra.Knob", {k(0, 0.5), k(5, 0.5)});
  tool_.listenOn(host());
  tool_.names = {"Hero", "Hero_A"};
  tool_.setClones({{entry("Child", "Position.Y"), entry("Other", "Position.X"), entry("Body", "Extra.Knob")}});
  inPanel(press(kPoseClip) + press(kMisc) + press(kMesh) + choose(7) + set(kFrom, "5") + set(kTo, "5") + kPressOk);
  EXPECT_EQ(keys("Parent", "Position.X").size(), 2u);
  EXPECT_EQ(keys("Child", "Position.X").size(), 2u);
  EXPECT_EQ(keys("Child", "Position.Y"), Keys{k(0, 1)});
  EXPECT_EQ(keys("Other", "Position.X"), Keys{k(0, 1)});
  EXPECT_EQ(keys("Body", "Extra.Knob").size(), 2u) << "meshes are off";
  historyButton(kUndo);
  // Create Key keys the envelope's value, not the pose, and probes even an
  // item without motion channels of the tool's.
  host().pose().set(item("Child"), 1, 9.0);
  inPanel(press(kMesh) + typed("7") + kPressOk);
  EXPECT_EQ(keys("Child", "Position.Y"), (Keys{k(0, 1), k(5, 2), k(7, 2)}));
  EXPECT_EQ(keys("Body", "Extra.Knob"), (Keys{k(0, 0.5), k(5, 0.5), k(7, 0.5)}));
  EXPECT_THAT(module_.commandLines(), Contains("CreateKey 0.233333333333333 0 0x000"));
}

TEST_F(KeyPanel, PasteIsEnabledOnceCopyFoundValuesAndKeysThemAtTheNewTime) {
  run("AddNull Ball\n@key Ball Position.Y 0 7\n@key Ball Position.X 0.3333333333 10\n@channel Ball Extra.Knob\n"
      "SelectByName Ball\nGoToFrame 4\n");
  put("Ball", "Extra.Knob", {k(0, 3)});
  const std::vector<std::string> out =
      run("@run QD:VaruDudEdodav\n" + press(kFolded) + "ClearSelection\n" + press(kCopyValues) + "@controls\n");
  EXPECT_EQ(snapshots(out).at(0).at(kPasteValues).second, "ghosted") << "nothing selected, nothing copied";
  const double copiedX = envelope("Ball", "Position.X").evaluate(4 / kFps);
  run("SelectByName Ball\n@run QD:VaruDudEdodav\n" + press(kMisc) + press(kCopyValues) + "@press Cancel\n");
  EXPECT_EQ(state(kPasteValues), lwsim::DrawState::Shown);
  inPanel("@press Cancel\n");
  EXPECT_EQ(state(kPasteValues), lwsim::DrawState::Shown) << "the clipboard outlives the opening";
  // The paste keys the copied channels whatever is selected, and refreshes.
  inPanel("GoToFrame 20\nClearSelection\n" + press(kPasteValues) + "@press Cancel\n");
  EXPECT_EQ(keys("Ball", "Position.X"), (Keys{k(0, 0), k(10, 10), k(20, copiedX)}));
  EXPECT_EQ(keys("Ball", "Position.Y"), (Keys{k(0, 7), k(20, 7)}));
  EXPECT_EQ(keys("Ball", "Extra.Knob"), (Keys{k(0, 3), k(20, 3)}));
  EXPECT_EQ(keys("Ball", "Scale.X"), (Keys{k(0, 1), k(20, 1)}));
  EXPECT_EQ(issued("RefreshNow"), 1);
  EXPECT_EQ(state(kUndo), lwsim::DrawState::Shown) << "Paste refreshed the buttons";
  host().globals().withhold("LW Time Info");
  inPanel(press(kCopyValues) + "@press Cancel\n");
  host().globals().restore("LW Time Info");
  EXPECT_EQ(module_.transcript().back(), "status: {1.0} Error! The host gave no current time.");
  EXPECT_EQ(state(kPasteValues), lwsim::DrawState::Ghosted) << "a failed copy leaves the clipboard empty";
}

// A ball with a child, keyed around frame 12 (0.4 s at 30 fps): within
// ±0.005 frames of it at 11.9961 and 12.0039, outside at 11.994 and 12.006.
TEST_F(KeyPanel, TheDeleterTakesTheFramesWindowOnTheSelectionAndItsChildren) {
  run("AddNull Ball\nAddNull Kid\n@parent Kid Ball\nSelectByName Ball\nGoToFrame 12\n");
  const Keys all = {k(0, 0), k(11.994, 1), k(11.9961, 2), k(12.0039, 3), k(12.006, 4)};
  const Keys outside = {k(0, 0), k(11.994, 1), k(12.006, 4)};
  put("Ball", "Position.X", all);
  put("Kid", "Rotation.H", {k(0, 0), k(12, 7)});
  const std::vector<std::string> out =
      run("@run QD:RozaRivAvudivo\n" + key(8) + key(13) + "@run QD:RozaRivAvudivo\n" + set(kFrame, "12f") + kPressOk +
          "@run QD:RozaRivAvudivo\n" + set(kFrame, "1e999") + kPressOk + "@run QD:RozaRivAvudivo\n@press Cancel\n" +
          "@run QD:RozaRivAvudivo\n@keypress 27\n");
  EXPECT_THAT(out, ElementsAre("status: {1.0} Error! The frame field holds no number.",
                               "status: {1.0} Error! The frame field holds no number.",
                               "status: {1.0} Error! The number typed is not a finite number."));
  EXPECT_EQ(keys("Ball", "Position.X"), all) << "nothing deleted, not even the keys at frame 0";
  EXPECT_EQ(resets(), 5);
  EXPECT_EQ(control(kFrame).textValue(), "12") << "reopening works as before";
  EXPECT_EQ(state(kUndo), lwsim::DrawState::Ghosted) << "no run was recorded";

  run("GoToFrame 3\n@run QD:RozaRivAvudivo\n" + typed("12") + "@keypress 13\n");  // the frame typed
  EXPECT_EQ(keys("Ball", "Position.X"), outside);
  EXPECT_EQ(keys("Kid", "Rotation.H"), Keys{k(0, 0)});
  historyButton(kUndo);
  EXPECT_EQ(keys("Ball", "Position.X"), all);
  EXPECT_EQ(keys("Kid", "Rotation.H").size(), 2u);
}

// Copy 50001 times two keys, Bake frames 1 to 100001, a run without a frame
// rate or the scene service: each is refused before it changes a key or
// the history, whose redo chain goes on and whose undo stack stays empty.
TEST_F(KeyPanel, RunsThatCannotBeDoneAreRefusedBeforeTheirGroupOpens) {
  run("AddNull Ball\n@key Ball Position.X 0.1 1\n@key Ball Position.X 0.2 2\n");
  inPanel(kPressOk);
  historyButton(kUndo);
  const Keys before = keys("Ball", "Position.X");
  run("@run QD:VaruDudEdodav\n" + choose(4) + set(kTo, "9") + set(kCount, "50001") + kPressOk +
      "@run QD:VaruDudEdodav\n" + choose(5) + set(kTo, "100001") + kPressOk);
  scene().setFramesPerSecond(0.0);
  inPanel(kPressOk);
  scene().setFramesPerSecond(kFps);
  host().globals().withhold("LW Scene Info 12");
  inPanel(kPressOk);
  host().globals().restore("LW Scene Info 12");
  EXPECT_THAT(module_.transcript(),
              ElementsAre("status: {1.0} Error! Copy would make 100002 keys on one channel, more than 100000.",
                          "status: {1.0} Error! Bake would make 100001 keys on each channel, more than 100000.",
                          "status: {1.0} Error! The scene has no valid frame rate.",
                          "status: {1.0} Error! The host gave no scene information."));
  EXPECT_EQ(keys("Ball", "Position.X"), before);
  inPanel("@press Cancel\n");
  EXPECT_EQ(std::make_pair(state(kUndo), state(kRedo)),
            std::make_pair(lwsim::DrawState::Ghosted, lwsim::DrawState::Shown));
}

// Thirty runs leave the newest 24 to undo; a new run ends the redo chain.
TEST_F(KeyPanel, TheHistoryKeepsTwentyFourRuns) {
  run("AddNull Ball\n");
  std::string work;
  for (int frame = 1; frame <= 30; ++frame) work += "@run QD:VaruDudEdodav\n" + typed(std::to_string(frame)) + kPressOk;
  run(work);
  work = "@run QD:VaruDudEdodav\n";
  for (int press = 0; press < 24; ++press) work += "@press Undo\n";
  run(work + "@press Cancel\n");
  EXPECT_EQ(keys("Ball", "Position.X"), (Keys{k(0, 0), k(1, 0), k(2, 0), k(3, 0), k(4, 0), k(5, 0), k(6, 0)}));
  EXPECT_EQ(std::make_pair(state(kUndo), state(kRedo)),
            std::make_pair(lwsim::DrawState::Ghosted, lwsim::DrawState::Shown));
  inPanel(typed("40") + kPressOk);
  inPanel("@press Cancel\n");
  EXPECT_EQ(state(kRedo), lwsim::DrawState::Ghosted) << "a new run ends the redo chain";
}

// A bone goes between the run and its undo: only its channels' entries fail.
TEST_F(KeyPanel, ChannelsRemovedBeforeUndoFailOnlyTheirOwnEntries) {
  run("LoadObject Body.lwo\nAddBone Forearm\nSelectByName Body\n");
  lwsim::SceneItem &body = item("Body");
  lwsim::SceneItem &bone = item("Forearm");
  inPanel(press(kPosition) + press(kRotation) + press(kScale) + press(kPositionX) + press(kScaleZ) + typed("3") +
          kPressOk);
  EXPECT_EQ(keys("Body", "Position.X").size(), 2u);
  body.group->removeGroup(bone.group);
  historyButton(kUndo);
  EXPECT_EQ(keys("Body", "Position.X"), Keys{k(0, 0)});
  EXPECT_EQ(keys("Body", "Scale.Z"), Keys{k(0, 1)});
  historyButton(kRedo);
  EXPECT_EQ(keys("Body", "Scale.Z"), (Keys{k(0, 1), k(3, 1)}));
  EXPECT_EQ(
      module_.transcript(),
      (std::vector<std::string>{"status: {1.0} Check failed at undoIt() !", "status: {1.0} Check failed at undoIt() !",
                                "status: {1.0} Check failed at redoIt()!", "status: {1.0} Check failed at redoIt()!"}));
}

}  // namespace
}  // namespace key_panel_test
