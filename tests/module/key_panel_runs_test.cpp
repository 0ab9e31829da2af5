// Key operations run from the key-setter panel as a user runs them: the
// values the panel hands over, the one undo step per run behind its Undo
// and Redo buttons, Copy and Paste, and the key deleter's one-frame window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "key_setter/master/ring_records.h"
#include "sim/panels/panel_service.h"
#include "support/module_host.h"
#include "support/script_session.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// Controls by creation index.
constexpr int kCreateKey = 1;
constexpr int kFolded = 8;
constexpr int kUnfolded = 9;
constexpr int kFrame = 10;
constexpr int kFrom = 11;
constexpr int kTo = 12;
constexpr int kOffset = 13;
constexpr int kCount = 16;
constexpr int kScope = 18;
constexpr int kKeyShape = 42;
constexpr int kShape = 43;
constexpr int kTension = 44;
constexpr int kUndo = 50;
constexpr int kRedo = 51;
constexpr int kBehavior = 52;
constexpr int kPost = 54;
constexpr int kCopyValues = 55;
constexpr int kPasteValues = 56;

std::string at(int index) { return "#" + std::to_string(index); }
std::string press(int index) { return "@press " + at(index) + "\n"; }
std::string set(int index, const std::string &value) { return "@set " + at(index) + " " + value + "\n"; }
std::string key(int code) { return "@keypress " + std::to_string(code) + "\n"; }
std::string typed(const std::string &text) {
  std::string keys;
  for (const char c : text) keys += key(c);
  return keys;
}

constexpr const char *kOk = "@press \"O K\"\n";

// "key ITEM PATH TIME VALUE SHAPE ..." with time and value as lwsim prints them.
std::string keyLine(const std::string &item, const std::string &path, double time, double value, int shape = 0) {
  char text[160];
  std::snprintf(text, sizeof text, "key %s %s %.10f %.10f %d", item.c_str(), path.c_str(), time, value, shape);
  return text;
}

// The key lines of one channel's @dump, without their tension to param3.
std::vector<std::string> keysOf(const std::vector<std::string> &out, const std::string &item, const std::string &path) {
  std::vector<std::string> keys;
  const std::string prefix = "key " + item + " " + path + " ";
  for (const std::string &line : out) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::size_t end = line.size();
    for (int blanks = 0; blanks < 7; ++blanks) end = line.rfind(' ', end - 1);
    keys.push_back(line.substr(0, end));
  }
  return keys;
}

class KeyPanelRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    host().ring().attach(lwp::cks::kMasterTopic, this, [this](int code, void *) { masterEvents_.push_back(code); });
  }

  lwsim::Host &host() { return module_.host(); }
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(host(), script); }
  lwsim::Control &control(int index) {
    for (const auto &panel : host().panels().panels())
      if (panel->title().rfind("QD:VaruDudEdodav", 0) == 0) return *panel->findControl(index);
    throw std::runtime_error("no key-setter panel");
  }
  std::vector<std::string> dump(const std::string &item, const std::string &path) {
    return keysOf(run("@dump " + item + " " + path + "\n"), item, path);
  }

  lwtest::ModuleHost module_;
  std::vector<int> masterEvents_;
};

// A ball with a child, keyed around frame 12 (0.4 s at 30 fps): within
// ±0.005 frames of it at 11.9961 and 12.0039, outside at 11.994 and 12.006.
class KeyDeleterRuns : public KeyPanelRuns {
 protected:
  void SetUp() override {
    KeyPanelRuns::SetUp();
    run("AddNull Ball\nAddNull Kid\n@parent Kid Ball\n"
        "@key Ball Position.X 0.3998 1\n@key Ball Position.X 0.39987 2\n"
        "@key Ball Position.X 0.40013 3\n@key Ball Position.X 0.4002 4\n"
        "@key Kid Rotation.H 0.4 7\nSelectByName Ball\nGoToFrame 12\n");
  }
  const std::vector<std::string> kAllBallKeys = {
      keyLine("Ball", "Position.X", 0, 0), keyLine("Ball", "Position.X", 0.3998, 1),
      keyLine("Ball", "Position.X", 0.39987, 2), keyLine("Ball", "Position.X", 0.40013, 3),
      keyLine("Ball", "Position.X", 0.4002, 4)};
  const std::vector<std::string> kOutsideBallKeys = {keyLine("Ball", "Position.X", 0, 0),
                                                     keyLine("Ball", "Position.X", 0.3998, 1),
                                                     keyLine("Ball", "Position.X", 0.4002, 4)};
};

TEST_F(KeyDeleterRuns, OkDeletesTheKeysWithinTheFramesWindowOnTheSelectionAndItsChildren) {
  run("@run QD:RozaRivAvudivo\n" + std::string(kOk));
  EXPECT_EQ(dump("Ball", "Position.X"), kOutsideBallKeys);
  EXPECT_EQ(dump("Kid", "Rotation.H"), std::vector<std::string>{keyLine("Kid", "Rotation.H", 0, 0)});
  EXPECT_THAT(masterEvents_, ElementsAre(lwp::cks::kMasterResetEvent));
}

TEST_F(KeyDeleterRuns, OneUndoBringsEveryDeletedKeyBackAndOneRedoDeletesThemAgain) {
  run("@run QD:RozaRivAvudivo\n" + std::string(kOk));
  run("@run QD:VaruDudEdodav\n@press Undo\n@press Cancel\n");
  EXPECT_EQ(dump("Ball", "Position.X"), kAllBallKeys);
  EXPECT_EQ(dump("Kid", "Rotation.H").size(), 2u);
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Ghosted) << "the run was one step";
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Shown);

  run("@run QD:VaruDudEdodav\n@press Redo\n@press Cancel\n");
  EXPECT_EQ(dump("Ball", "Position.X"), kOutsideBallKeys);
  EXPECT_EQ(dump("Kid", "Rotation.H").size(), 1u);
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Shown);
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Ghosted);
}

TEST_F(KeyDeleterRuns, TheTypedFrameAndTheScopeAreWhatTheRunUses) {
  run("GoToFrame 3\n@run QD:RozaRivAvudivo\n" + typed("12") + set(kScope, "0") + "@keypress 13\n");
  EXPECT_EQ(dump("Ball", "Position.X"), kOutsideBallKeys);
  EXPECT_EQ(dump("Kid", "Rotation.H").size(), 2u) << "the child is out of scope";
}

// One Backspace at opening empties the field; a frame typed with a word, or
// too large a number, is no frame either. Nothing is deleted, not even the
// keys at frame 0, and Enter and OK still close the panel and reset.
TEST_F(KeyDeleterRuns, AFrameFieldWithoutAFrameIsReportedAndDeletesNothing) {
  const std::vector<std::string> out =
      run("@run QD:RozaRivAvudivo\n" + key(8) + key(13) + "@run QD:RozaRivAvudivo\n" + set(kFrame, "12f") + kOk +
          "@run QD:RozaRivAvudivo\n" + set(kFrame, "1e999") + kOk);
  EXPECT_THAT(out, ElementsAre("status: {1.0} Error! The frame field holds no number.",
                               "status: {1.0} Error! The frame field holds no number.",
                               "status: {1.0} Error! The number typed is not a finite number."));
  EXPECT_EQ(dump("Ball", "Position.X"), kAllBallKeys);
  EXPECT_EQ(dump("Kid", "Rotation.H").size(), 2u);
  EXPECT_EQ(masterEvents_.size(), 3u);
  const std::vector<std::string> again = run("@run QD:RozaRivAvudivo\n@controls\n@press Cancel\n");
  EXPECT_THAT(again, Contains(HasSubstr("#10 EditControl \"\" 12 shown"))) << "reopening works as before";
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Ghosted) << "no run was recorded";
}

TEST_F(KeyDeleterRuns, CancelAndEscapeDeleteNothing) {
  run("@run QD:RozaRivAvudivo\n@press Cancel\n@run QD:RozaRivAvudivo\n@keypress 27\n");
  EXPECT_EQ(dump("Ball", "Position.X"), kAllBallKeys);
  EXPECT_EQ(masterEvents_.size(), 2u);
}

TEST_F(KeyPanelRuns, CreateKeyRunsBeforeTheResetAtTheTypedFrameWithTheChosenShape) {
  run("AddNull Ball\nGoToFrame 12\nPosition 3 0 0\n");
  masterEvents_.clear();
  run("@run QD:VaruDudEdodav\n" + typed("15") + press(kFolded) + press(kKeyShape) + set(kShape, "2") + key(13));
  EXPECT_EQ(dump("Ball", "Position.X"),
            (std::vector<std::string>{keyLine("Ball", "Position.X", 0, 0), keyLine("Ball", "Position.X", 0.5, 3, 5)}));
  EXPECT_THAT(masterEvents_, ElementsAre(lwp::cks::kMarkQueryEvent, lwp::cks::kMasterResetEvent));
}

// B is posed, then the panel's Cancel resets the marks; A is posed after.
TEST_F(KeyPanelRuns, AfterAResetOnlyTheMarkedItemIsKeyedWithItsPose) {
  run("AddNull A\nAddNull B\nGoToFrame 15\nPosition 5 0 0\n@run QD:VaruDudEdodav\n@press Cancel\n"
      "SelectByName A\nPosition 3 0 0\n");
  run("@run QD:VaruDudEdodav\n" + set(kScope, "2") + kOk);
  EXPECT_EQ(dump("A", "Position.X"),
            (std::vector<std::string>{keyLine("A", "Position.X", 0, 0), keyLine("A", "Position.X", 0.5, 3)}));
  EXPECT_EQ(dump("B", "Position.X"),
            (std::vector<std::string>{keyLine("B", "Position.X", 0, 0), keyLine("B", "Position.X", 0.5, 0)}))
      << "the envelope's value, not the pose";
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: A")) << "the selection is kept";
}

TEST_F(KeyPanelRuns, AFoldedPanelKeepsEachKeysOwnShape) {
  run("AddNull Ball\n@key Ball Position.X 0.5 2 3\nGoToFrame 15\n");
  run("@run QD:VaruDudEdodav\n" + press(kFolded) + press(kKeyShape) + set(kShape, "4") + press(kUnfolded) + kOk);
  EXPECT_EQ(dump("Ball", "Position.X"),
            (std::vector<std::string>{keyLine("Ball", "Position.X", 0, 0), keyLine("Ball", "Position.X", 0.5, 2, 3)}));
}

TEST_F(KeyPanelRuns, ClampedTensionReachesTheKey) {
  run("AddNull Ball\nGoToFrame 6\n");
  const std::vector<std::string> out = run("@run QD:VaruDudEdodav\n" + press(kFolded) + press(kKeyShape) +
                                           set(kTension, "4") + kOk + "@dump Ball Position.Z\n");
  EXPECT_THAT(out, Contains(HasSubstr(keyLine("Ball", "Position.Z", 0.2, 0) + " 1.0000000000 0.0000000000")));
}

TEST_F(KeyPanelRuns, BehaviorWithPostRepeatChangesOnlyThePostBehaviour) {
  run("AddNull Ball\n@behavior Ball Position.X 1 1\n");
  const std::vector<std::string> out =
      run("@run QD:VaruDudEdodav\n" + press(kFolded) + press(kBehavior) + set(kPost, "3") + kOk + "@dump Ball\n");
  EXPECT_THAT(out, Contains("channel Ball Position.X pre=1 post=2 keys=1"));
}

TEST_F(KeyPanelRuns, MoveTakesItsRangeAndOffsetFromTheFields) {
  run("AddNull Ball\n@key Ball Position.X 0.35 1\n@key Ball Position.X 0.3666666667 2\n");  // frames 10.5 and 11
  run("@run QD:VaruDudEdodav\n" + press(kCreateKey) + set(kFrom, "10") + set(kTo, "10") + set(kOffset, "5") + kOk);
  const std::vector<std::string> keys = dump("Ball", "Position.X");
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_THAT(keys[1], HasSubstr(" 0.3666666667 2.0000000000 ")) << "frame 11 is outside [10, 11)";
  EXPECT_THAT(keys[2], HasSubstr(" 0.5166666667 1.0000000000 ")) << "frame 10.5 moved by 5";
}

// The defaults bake frames 1 to 120 at 30 fps: the key at frame 120.5 is
// baked away, the key at frame 121 lies past the range and keeps its shape.
TEST_F(KeyPanelRuns, BakeWithTheDefaultsStaysWithinItsFramesAndUndoesWhole) {
  run("AddNull Ball\n@key Ball Position.X 0 0 3\n@key Ball Position.X 4 120 3\n"
      "@key Ball Position.X 4.0166666667 9\n@key Ball Position.X 4.0333333333 5 3\n");
  const std::vector<std::string> before = dump("Ball", "Position.X");
  run("@run QD:VaruDudEdodav\n" + press(kCreateKey) + press(kCreateKey + 1) + press(kCreateKey + 2) +
      press(kCreateKey + 3) + kOk);
  const std::vector<std::string> baked = dump("Ball", "Position.X");
  ASSERT_EQ(baked.size(), 122u) << "frame 0, frames 1 to 120, frame 121";
  EXPECT_EQ(baked[3], keyLine("Ball", "Position.X", 3.0 / 30, 3)) << "sampled from the linear curve";
  EXPECT_EQ(baked[120], keyLine("Ball", "Position.X", 4, 120));
  EXPECT_EQ(baked[121], before.back());
  run("@run QD:VaruDudEdodav\n@press Undo\n@press Cancel\n");
  EXPECT_EQ(dump("Ball", "Position.X"), before);
}

// Copy 50001 times two keys, then Bake frames 1 to 100001: each is refused
// before it changes a key or the history, whose redo chain goes on.
TEST_F(KeyPanelRuns, ARunThatWouldMakeMoreThan100000KeysOnAChannelIsRefused) {
  run("AddNull Ball\n@key Ball Position.X 0.1 1\n@key Ball Position.X 0.2 2\n");
  run("@run QD:VaruDudEdodav\n" + std::string(kOk) + "@run QD:VaruDudEdodav\n@press Undo\n@press Cancel\n");
  const std::vector<std::string> before = dump("Ball", "Position.X");
  const std::string toCopy = press(kCreateKey) + press(kCreateKey + 1) + press(kCreateKey + 2);
  const std::vector<std::string> out =
      run("@run QD:VaruDudEdodav\n" + toCopy + set(kTo, "9") + set(kCount, "50001") + kOk + "@run QD:VaruDudEdodav\n" +
          toCopy + press(kCreateKey + 3) + set(kTo, "100001") + kOk);
  EXPECT_THAT(out, ElementsAre("status: {1.0} Error! Copy would make 100002 keys on one channel, more than 100000.",
                               "status: {1.0} Error! Bake would make 100001 keys on each channel, more than 100000."));
  EXPECT_EQ(dump("Ball", "Position.X"), before);
  run("@run QD:VaruDudEdodav\n@press Cancel\n");
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Shown);
}

TEST_F(KeyPanelRuns, UndoAndRedoButtonsFollowTheHistory) {
  run("AddNull Ball\n");
  run("@run QD:VaruDudEdodav\n@press Cancel\n");
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Ghosted);
  run("@run QD:VaruDudEdodav\n" + std::string(kOk) + "@run QD:VaruDudEdodav\n@press Cancel\n");
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Shown);
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Ghosted);
  run("@run QD:VaruDudEdodav\n@press Undo\n@press Cancel\n");
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Ghosted);
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Shown);
  run("@run QD:VaruDudEdodav\n" + std::string(kOk) + "@run QD:VaruDudEdodav\n@press Cancel\n");
  EXPECT_EQ(control(kRedo).drawState(), lwsim::DrawState::Ghosted) << "a new run ends the redo chain";
}

TEST_F(KeyPanelRuns, PasteIsDisabledUntilCopyFindsValues) {
  run("AddNull Ball\n@key Ball Position.Y 0 7\nSelectByName Ball\n");
  const std::vector<std::string> out = run("@run QD:VaruDudEdodav\n" + set(kScope, "0") + press(kFolded) +
                                           "@controls\nClearSelection\n" + press(kCopyValues) + "@controls\n");
  EXPECT_THAT(out, Contains(HasSubstr("#56 ButtonControl \"Paste\" - ghosted")));
  EXPECT_EQ(control(kPasteValues).drawState(), lwsim::DrawState::Ghosted) << "nothing selected, nothing copied";

  run("SelectByName Ball\n@run QD:VaruDudEdodav\n" + press(kCopyValues) + "@press Cancel\n");
  EXPECT_EQ(control(kPasteValues).drawState(), lwsim::DrawState::Shown);
  run("@run QD:VaruDudEdodav\n@press Cancel\n");
  EXPECT_EQ(control(kPasteValues).drawState(), lwsim::DrawState::Shown) << "the clipboard outlives the opening";
}

TEST_F(KeyPanelRuns, PasteKeysTheCopiedValuesAtTheNewTimeAsOneUndoStep) {
  run("AddNull Ball\n@key Ball Position.Y 0 7\nSelectByName Ball\n");
  run("@run QD:VaruDudEdodav\n" + set(kScope, "0") + press(kFolded) + press(kCopyValues) + "GoToFrame 9\n" +
      press(kPasteValues) + "@press Cancel\n");
  EXPECT_EQ(dump("Ball", "Position.Y"),
            (std::vector<std::string>{keyLine("Ball", "Position.Y", 0, 7), keyLine("Ball", "Position.Y", 0.3, 7)}));
  EXPECT_EQ(control(kUndo).drawState(), lwsim::DrawState::Shown) << "Paste refreshed the buttons";
  run("@run QD:VaruDudEdodav\n@press Undo\n@press Cancel\n");
  EXPECT_EQ(dump("Ball", "Position.Y").size(), 1u);
}

}  // namespace
