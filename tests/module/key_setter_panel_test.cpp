// The key-setter panel driven as a user drives it, through the module in the
// simulated host: what it shows, its controls, its keyboard, how it closes,
// and the key deleter opening the same panel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "key_setter/master/ring_records.h"
#include "sim/panels/panel_service.h"
#include "support/module_host.h"
#include "support/script_session.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char *kTitle = "QD:VaruDudEdodav(1.20) build 250619";

// Controls by creation index.
enum : int {
  kCreateKey = 1,
  kMove,
  kScaleOp,
  kCopyOp,
  kBake,
  kDeleteKey,
  kDeleteRange,
  kFolded,
  kUnfolded,
  kFrame,
  kFrom,
  kTo,
  kOffset,
  kFactor,
  kDestination,
  kCount,
  kStep,
  kScope,
  kNull,
  kMesh,
  kBone,
  kLight,
  kCamera,
  kPosition,
  kPositionX,
  kPositionY,
  kPositionZ,
  kRotation,
  kRotationH,
  kRotationP,
  kRotationB,
  kScale,
  kScaleX,
  kScaleY,
  kScaleZ,
  kMisc,
  kMorph,
  kDissolve,
  kZero,
  kHundred,
  kParameterBorder,
  kKeyShape,
  kShape,
  kTension,
  kContinuity,
  kBias,
  kButtonBorder,
  kOk,
  kCancel,
  kUndo,
  kRedo,
  kBehavior,
  kPre,
  kPost,
  kCopyValues,
  kPasteValues,
  kClipSetBorder,
  kPoseClip,
  kCharacter,
  kClone,
  kClipSet,
  kControlCount = kClipSet
};

std::string at(int index) { return "#" + std::to_string(index); }
std::string press(int index) { return "@press " + at(index) + "\n"; }
std::string key(int code) { return "@keypress " + std::to_string(code) + "\n"; }
std::string keyUp(int code) { return "@keypress " + std::to_string(code) + " up\n"; }

// One control line of @controls: its value as a script sets it and its state.
struct ShownControl {
  std::string value;
  std::string state;
};
using Snapshot = std::map<int, ShownControl>;

// The "control #N TYPE "LABEL" VALUE STATE" lines, one map per @controls.
std::vector<Snapshot> snapshots(const std::vector<std::string> &out) {
  std::vector<Snapshot> all;
  for (const std::string &line : out) {
    if (line.rfind("control #", 0) != 0) continue;
    const int index = std::stoi(line.substr(9));
    if (index == 1) all.emplace_back();
    // The label is quoted with doubled quotes inside; value and state follow.
    std::size_t position = line.find('"') + 1;
    while (position < line.size() &&
           !(line[position] == '"' && (position + 1 >= line.size() || line[position + 1] != '"')))
      position += line[position] == '"' ? 2 : 1;
    const std::string rest = line.substr(position + 2);
    const std::size_t lastBlank = rest.rfind(' ');
    all.back()[index] = {rest.substr(0, lastBlank), rest.substr(lastBlank + 1)};
  }
  return all;
}

std::vector<int> indicesIn(const Snapshot &snapshot, int first, int last, const std::string &state) {
  std::vector<int> found;
  for (int i = first; i <= last; ++i)
    if (snapshot.at(i).state == state) found.push_back(i);
  return found;
}

class KeySetterPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    host().ring().attach(lwp::cks::kMasterTopic, this, [this](int code, void *) { masterEvents_.push_back(code); });
  }

  lwsim::Host &host() { return module_.host(); }
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(host(), script); }
  // Runs the key setter with the lines as the user's work in its panel.
  std::vector<std::string> inPanel(const std::string &work) { return run("@run QD:VaruDudEdodav\n" + work); }

  lwsim::Panel *findPanel() {
    for (const auto &panel : host().panels().panels())
      if (panel->title() == kTitle) return panel.get();
    return nullptr;
  }
  lwsim::Panel &panel() {
    lwsim::Panel *found = findPanel();
    if (found == nullptr) throw std::runtime_error("no key-setter panel");
    return *found;
  }
  lwsim::Control &control(int index) { return *panel().findControl(index); }
  std::string text(int index) { return control(index).textValue(); }
  int value(int index) { return control(index).intValue(); }
  lwsim::DrawState state(int index) { return control(index).drawState(); }

  long resets() const { return std::count(masterEvents_.begin(), masterEvents_.end(), lwp::cks::kMasterResetEvent); }
  long commandsIssued(const std::string &line) const {
    const std::vector<std::string> lines = module_.commandLines();
    return std::count(lines.begin(), lines.end(), line);
  }

  lwtest::ModuleHost module_;
  std::vector<int> masterEvents_;
};

// ---- what the panel is ----

TEST_F(KeySetterPanel, OpensBlockingWithEveryKeyAndNoHostButtonsFolded) {
  inPanel("");
  lwsim::Panel &made = panel();
  EXPECT_EQ(made.openFlags(), 81);
  EXPECT_EQ(made.width(), 518);
  EXPECT_EQ(made.height(), 122);
  EXPECT_EQ(made.controls().size(), static_cast<std::size_t>(kControlCount));
  EXPECT_FALSE(made.isOpen()) << "a blocking open returns once the panel closed";
  EXPECT_EQ(host().panels().panelsCreated(), 1);
}

TEST_F(KeySetterPanel, BuildingIssuesTheDissolveEnvelopeOnceAndReopensTheSamePanel) {
  inPanel("@press Cancel\n");
  inPanel("@press Cancel\n");
  EXPECT_EQ(commandsIssued("AddEnvelope Dissolve"), 1);
  EXPECT_EQ(host().panels().panelsCreated(), 1);
  EXPECT_EQ(panel().timesOpened(), 2);
}

TEST_F(KeySetterPanel, ControlsStartWithTheirValuesAndPlaces) {
  const Snapshot shown = snapshots(inPanel("@controls\n")).at(0);
  EXPECT_EQ(shown.at(kFrom).value, "1");
  EXPECT_EQ(shown.at(kTo).value, "120");
  EXPECT_EQ(shown.at(kOffset).value, "1");
  EXPECT_EQ(shown.at(kCount).value, "1");
  EXPECT_EQ(shown.at(kStep).value, "1");
  EXPECT_EQ(shown.at(kScope).value, "1") << "Select Item + Children";
  for (int i = kNull; i <= kCamera; ++i) EXPECT_EQ(shown.at(i).value, "1") << i;
  for (int i : {kPositionX, kRotationP, kScaleZ, kMorph, kZero}) EXPECT_EQ(shown.at(i).value, "1") << i;
  for (int i : {kMisc, kDissolve, kHundred, kKeyShape, kShape, kBehavior, kPre, kPost, kPoseClip})
    EXPECT_EQ(shown.at(i).value, "0") << i;

  for (int i = kNull; i <= kCamera; ++i) {
    EXPECT_EQ(control(i).x(), 80 + 52 * (i - kNull));
    EXPECT_EQ(control(i).y(), 44);
    EXPECT_EQ(control(i).width(), 52);
  }
  EXPECT_EQ(std::make_pair(control(kFolded).x(), control(kFolded).y()), std::make_pair(4, 98));
  EXPECT_EQ(std::make_pair(control(kOk).x(), control(kOk).y()), std::make_pair(428, 4));
  EXPECT_EQ(std::make_pair(control(kCancel).x(), control(kCancel).y()), std::make_pair(428, 28));
  EXPECT_EQ(std::make_pair(control(kUndo).x(), control(kUndo).y()), std::make_pair(428, 126));
  EXPECT_EQ(std::make_pair(control(kRedo).x(), control(kRedo).y()), std::make_pair(428, 150));
  EXPECT_EQ(std::make_pair(control(kBehavior).x(), control(kBehavior).y()), std::make_pair(242, 122));
  EXPECT_EQ(std::make_pair(control(kDissolve).x(), control(kDissolve).y()), std::make_pair(344, 68));
  EXPECT_EQ(std::make_pair(control(kHundred).x(), control(kHundred).y()), std::make_pair(386, 88));
  EXPECT_EQ(std::make_pair(control(kRotationB).x(), control(kRotationB).y()), std::make_pair(186, 88));
}

TEST_F(KeySetterPanel, LabelsFollowTheLanguageOfTheFirstOpening) {
  run("@locale ja\n@run QD:VaruDudEdodav\n@press キャンセル\n");
  EXPECT_EQ(control(kCreateKey).label(), "キー作成");
  EXPECT_EQ(control(kTo).label(), "～ ");
  EXPECT_EQ(control(kCopyValues).label(), "値のコピー");
  EXPECT_EQ(control(kOk).label(), "O K");
  EXPECT_EQ(control(kShape).items().at(2), "Bezier曲線");
  EXPECT_EQ(control(kPost).items().at(5), "反復のオフセット");
}

// ---- the frame field and the keyboard ----

TEST_F(KeySetterPanel, FrameFieldShowsTheCurrentFrameWithoutAWholeSuffix) {
  run("@fps 24\n");
  host().goToTime(0.5);
  inPanel("@press Cancel\n");
  EXPECT_EQ(text(kFrame), "12");
  host().goToTime(0.52083);
  inPanel("@press Cancel\n");
  EXPECT_EQ(text(kFrame), "12.50");
  host().goToTime(0.0);
  inPanel("@press Cancel\n");
  EXPECT_EQ(text(kFrame), "0");
}

TEST_F(KeySetterPanel, TypingReplacesTheFrameAndIgnoresALateMinusAndASecondPoint) {
  run("GoToFrame 30\n");
  const std::vector<Snapshot> shown = snapshots(
      inPanel(key('-') + key('1') + "@controls\n" + key('-') + key('.') + key('5') + key('.') + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kFrame).value, "-1");
  EXPECT_EQ(shown.at(1).at(kFrame).value, "-1.5");
}

TEST_F(KeySetterPanel, BothBackspaceKeysRemoveTheLastCharacterAndStopAtEmpty) {
  inPanel(key('4') + key('2') + key('.') + key(8) + key(0x1020) + key('7') + "@press Cancel\n");
  EXPECT_EQ(text(kFrame), "47");
  inPanel(key('9') + key(8) + key(8) + key(0x1020) + key('-') + key('3') + "@press Cancel\n");
  EXPECT_EQ(text(kFrame), "-3") << "an emptied text takes a minus again";
}

TEST_F(KeySetterPanel, FrameEditedByHandIsWhereTypingGoesOn) {
  inPanel("@set " + at(kFrame) + " 7.2\n" + key('5') + key('.') + "@press Cancel\n");
  EXPECT_EQ(text(kFrame), "7.25");
}

TEST_F(KeySetterPanel, ModifierArrowsStepTheFrameToWholeNumbers) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel(key('1') + key('2') + key('.') + key('7') + key('5') + key(0x1061) + key(0x1011) +
                        "@controls\n" + key(0x1010) + key(0x1010) + "@controls\n" + key('5') + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kFrame).value, "13");
  EXPECT_EQ(shown.at(1).at(kFrame).value, "11");
  EXPECT_EQ(shown.at(2).at(kFrame).value, "115") << "typing goes on from the stepped text";
}

TEST_F(KeySetterPanel, ArrowsWithoutTheModifierDoNothing) {
  inPanel(key('8') + key('.') + key('5') + key(0x1011) + key(0x1010) + key(0x1012) + key(0x1061) + keyUp(0x1061) +
          key(0x1011) + key(0x1013) + "@press Cancel\n");
  EXPECT_EQ(text(kFrame), "8.5");
  EXPECT_EQ(value(kScope), 1);
}

TEST_F(KeySetterPanel, ModifierUpAndDownStepTheScopeRound) {
  const std::vector<Snapshot> shown = snapshots(
      inPanel(key(0x1061) + key(0x1012) + "@controls\n" + key(0x1012) + "@controls\n" + key(0x1013) + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kScope).value, "0");
  EXPECT_EQ(shown.at(1).at(kScope).value, "2");
  EXPECT_EQ(shown.at(2).at(kScope).value, "0");
}

TEST_F(KeySetterPanel, ModifierIsReleasedWhenThePanelReopens) {
  inPanel(key(0x1061) + "@press Cancel\n");
  inPanel(key('4') + key(0x1011) + "@press Cancel\n");
  EXPECT_EQ(text(kFrame), "4");
}

// ---- the selectors ----

TEST_F(KeySetterPanel, OperationSelectorCyclesForwardsAndShowsEachOperationsFields) {
  std::string work = "@controls\n";
  for (int op = kCreateKey; op <= kDeleteRange; ++op) work += press(op) + "@controls\n";
  const std::vector<Snapshot> shown = snapshots(inPanel(work));
  ASSERT_EQ(shown.size(), 8u);
  const std::vector<std::vector<int>> fields = {
      {kFrame},                            // Create Key
      {kFrom, kTo, kOffset},               // Move
      {kFrom, kTo, kFactor},               // Scale
      {kFrom, kTo, kDestination, kCount},  // Copy
      {kFrom, kTo, kStep},                 // Bake
      {kFrame},                            // Delete Key
      {kFrom, kTo},                        // Delete Range
      {kFrame},                            // Create Key again
  };
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const int op = kCreateKey + static_cast<int>(i % 7);
    EXPECT_EQ(indicesIn(shown[i], kCreateKey, kDeleteRange, "shown"), std::vector<int>{op}) << i;
    EXPECT_EQ(indicesIn(shown[i], kFrame, kStep, "shown"), fields[i]) << i;
    EXPECT_EQ(indicesIn(shown[i], kFrame, kStep, "erased").size(), 8 - fields[i].size()) << i;
  }
}

TEST_F(KeySetterPanel, RightButtonStepsTheOperationBackwards) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@press #1 right\n@controls\n@press #7 right\n@controls\n"
                        "@press #6\n@controls\n"));
  EXPECT_EQ(indicesIn(shown.at(0), kCreateKey, kDeleteRange, "shown"), std::vector<int>{kDeleteRange});
  EXPECT_EQ(indicesIn(shown.at(0), kFrame, kStep, "shown"), (std::vector<int>{kFrom, kTo}));
  EXPECT_EQ(indicesIn(shown.at(1), kCreateKey, kDeleteRange, "shown"), std::vector<int>{kDeleteKey});
  EXPECT_EQ(indicesIn(shown.at(2), kCreateKey, kDeleteRange, "shown"), std::vector<int>{kDeleteRange});
}

TEST_F(KeySetterPanel, FoldSelectorResizesForTheExtraSection) {
  inPanel(press(kFolded) + "@press Cancel\n");
  EXPECT_EQ(panel().width(), 518);
  EXPECT_EQ(panel().height(), 274);
  EXPECT_EQ(state(kFolded), lwsim::DrawState::Erased);
  EXPECT_EQ(state(kUnfolded), lwsim::DrawState::Shown);
  inPanel("");
  EXPECT_EQ(panel().height(), 274) << "the fold is kept between openings";
  inPanel(press(kUnfolded) + "@press Cancel\n");
  EXPECT_EQ(panel().width(), 518);
  EXPECT_EQ(panel().height(), 122);
  EXPECT_EQ(state(kFolded), lwsim::DrawState::Shown);
}

// ---- channel and option controls ----

TEST_F(KeySetterPanel, GroupButtonsSwitchTheirAxesAllOnThenAllOff) {
  const std::vector<Snapshot> shown = snapshots(inPanel(press(kRotationP) + press(kRotationB) + press(kRotation) +
                                                        "@controls\n" + press(kRotation) + "@controls\n"));
  for (int axis : {kRotationH, kRotationP, kRotationB}) {
    EXPECT_EQ(shown.at(0).at(axis).value, "1") << axis;
    EXPECT_EQ(shown.at(1).at(axis).value, "0") << axis;
  }
  for (int axis : {kPositionX, kScaleX}) EXPECT_EQ(shown.at(1).at(axis).value, "1") << "other groups stay";

  inPanel(press(kScaleY) + press(kScale) + press(kPosition) + "@press Cancel\n");
  for (int axis : {kScaleX, kScaleY, kScaleZ}) EXPECT_EQ(value(axis), 1) << axis;
  for (int axis : {kPositionX, kPositionY, kPositionZ}) EXPECT_EQ(value(axis), 0) << axis;
}

TEST_F(KeySetterPanel, TensionContinuityAndBiasAreClampedToPlusMinusOne) {
  inPanel(press(kFolded) + press(kKeyShape) + "@set " + at(kTension) + " 1.5\n@set " + at(kContinuity) + " -3\n@set " +
          at(kBias) + " 0.25\n@press Cancel\n");
  EXPECT_DOUBLE_EQ(control(kTension).floatValue(), 1.0);
  EXPECT_DOUBLE_EQ(control(kContinuity).floatValue(), -1.0);
  EXPECT_DOUBLE_EQ(control(kBias).floatValue(), 0.25);
}

TEST_F(KeySetterPanel, KeyShapeAndTheShapeDecideWhichShapeControlsWork) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@controls\n" + press(kKeyShape) + "@controls\n@set " + at(kShape) + " 2\n@controls\n@set " +
                        at(kShape) + " 0\n" + press(kKeyShape) + "@controls\n"));
  const auto states = [](const Snapshot &s) {
    return std::vector<std::string>{s.at(kShape).state, s.at(kTension).state, s.at(kContinuity).state,
                                    s.at(kBias).state};
  };
  EXPECT_THAT(states(shown.at(0)), ElementsAre("ghosted", "ghosted", "ghosted", "ghosted"));
  EXPECT_THAT(states(shown.at(1)), ElementsAre("shown", "shown", "shown", "shown"));
  EXPECT_THAT(states(shown.at(2)), ElementsAre("shown", "ghosted", "ghosted", "ghosted")) << "Bezier";
  EXPECT_THAT(states(shown.at(3)), ElementsAre("ghosted", "ghosted", "ghosted", "ghosted"));
}

TEST_F(KeySetterPanel, ZeroAndHundredExcludeEachOtherAndWorkOnlyForCreateKeyWithDissolve) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel(press(kDissolve) + "@controls\n" + press(kHundred) + "@controls\n" + press(kZero) +
                        press(kZero) + "@controls\n" + press(kCreateKey) + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kZero).state, "shown");
  EXPECT_EQ(shown.at(0).at(kHundred).state, "shown");
  EXPECT_EQ(shown.at(1).at(kHundred).value, "1");
  EXPECT_EQ(shown.at(1).at(kZero).value, "0");
  EXPECT_EQ(shown.at(2).at(kZero).value, "1") << "pressing the one that is on keeps it on";
  EXPECT_EQ(shown.at(2).at(kHundred).value, "0");
  EXPECT_EQ(shown.at(3).at(kZero).state, "ghosted") << "Move";
  EXPECT_EQ(shown.at(3).at(kHundred).state, "ghosted");
  EXPECT_EQ(commandsIssued("AddEnvelope Dissolve"), 2) << "at the build and when Dissolve came on";
}

TEST_F(KeySetterPanel, DissolveOnForAnotherOperationAddsNoEnvelope) {
  inPanel(press(kCreateKey) + press(kDissolve) + press(kDissolve) + "@press Cancel\n");
  EXPECT_EQ(commandsIssued("AddEnvelope Dissolve"), 1);
  EXPECT_EQ(state(kZero), lwsim::DrawState::Ghosted);
}

TEST_F(KeySetterPanel, BehaviorEnablesPreAndPost) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@controls\n" + press(kBehavior) + "@controls\n" + press(kBehavior) + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kPre).state, "ghosted");
  EXPECT_EQ(shown.at(1).at(kPre).state, "shown");
  EXPECT_EQ(shown.at(1).at(kPost).state, "shown");
  EXPECT_EQ(shown.at(2).at(kPost).state, "ghosted");
  inPanel(press(kBehavior) + "@press Cancel\n");
  inPanel("");
  EXPECT_EQ(state(kPre), lwsim::DrawState::Shown) << "the opening follows the kept Behavior";
}

TEST_F(KeySetterPanel, UndoRedoAndPasteAreDisabledWithNothingToDo) {
  inPanel("");
  EXPECT_EQ(state(kUndo), lwsim::DrawState::Ghosted);
  EXPECT_EQ(state(kRedo), lwsim::DrawState::Ghosted);
  EXPECT_EQ(state(kPasteValues), lwsim::DrawState::Ghosted);
}

// ---- closing ----

// Enter counts as the character, Layout's return key and the keypad's Enter.
TEST_F(KeySetterPanel, OkCancelEnterAndEscapeCloseTheOpenPanelAndResetTheMaster) {
  for (const std::string &closing :
       std::vector<std::string>{"@press \"O K\"\n", "@press Cancel\n", key(13), key(0x1022), key(0x1057), key(27)}) {
    SCOPED_TRACE(closing);
    const long before = resets();
    const std::vector<std::string> out = inPanel(closing + "StatusMsg after\n");
    EXPECT_EQ(resets(), before + 1);
    EXPECT_FALSE(panel().isOpen());
    EXPECT_THAT(out, ElementsAre("status: after")) << "the script went on after the panel";
  }
}

// A key the panel does not use goes on to the host.
TEST_F(KeySetterPanel, TheKeyCallbacksSayWhichKeysThePanelUsed) {
  std::vector<bool> used;
  host().panels().setBlockingLoop([&](lwsim::Panel &panel) {
    for (const int code : {int{'5'}, 0x1010, 0x1061, 0x1010, int{'x'}, 0x1020, 0x1062})
      used.push_back(panel.sendKey(code, false));
    for (const int code : {0x1061, 0x1062}) used.push_back(panel.sendKey(code, true));
    used.push_back(panel.sendKey(27, false));
  });
  ASSERT_EQ(host().runGeneric("QD:VaruDudEdodav", ""), AFUNC_OK);
  EXPECT_THAT(used, ElementsAre(true, false, true, true, false, true, false, true, false, true));
}

TEST_F(KeySetterPanel, TheHostsOwnCloseResetsNothing) {
  inPanel("@close\n");
  EXPECT_EQ(resets(), 0);
  inPanel("");
  EXPECT_EQ(resets(), 0);
}

// ---- the generic with arguments ----

TEST_F(KeySetterPanel, RunWithArgumentsOnlyResetsTheMaster) {
  run("Generic_QD:VaruDudEdodav init\n@run QD:VaruDudEdodav anything\n");
  EXPECT_EQ(resets(), 2);
  EXPECT_EQ(host().panels().panelsCreated(), 0);
  EXPECT_EQ(commandsIssued("AddEnvelope Dissolve"), 0);
}

// ---- failures reach the user, never the host ----

TEST_F(KeySetterPanel, APanelTheHostRefusesIsReported) {
  const std::vector<std::string> out = run("@refuse-open\n@run QD:VaruDudEdodav\n@run QD:RozaRivAvudivo\n");
  EXPECT_THAT(out, ElementsAre("status: {1.0} Error! The host could not open the key-setter panel.",
                               "status: {1.0} Error! The host could not open the key-setter panel."));
}

TEST_F(KeySetterPanel, AMissingServiceIsNamedAndLookedUpAgainAtTheNextActivation) {
  host().globals().withhold("LWPanelServices 3");
  host().globals().withhold("Channel Info 3");
  EXPECT_THAT(run("@run QD:VaruDudEdodav\n"),
              ElementsAre("status: {1.0} Error! The host did not give \"Channel Info 3\"."));
  EXPECT_EQ(findPanel(), nullptr);
  host().globals().restore("Channel Info 3");
  EXPECT_THAT(run("@run QD:VaruDudEdodav\n"), ElementsAre("status: {1.0} Error! The host offers no panels."));
  host().globals().restore("LWPanelServices 3");
  EXPECT_THAT(inPanel("@press Cancel\n"), IsEmpty());
  EXPECT_NE(findPanel(), nullptr);
}

// ---- the key deleter ----

TEST_F(KeySetterPanel, DeleterOpensOnDeleteKeyWithTheDissolveValueDisabled) {
  inPanel(press(kDissolve) + "@press Cancel\n");
  const std::vector<Snapshot> shown = snapshots(run("@run QD:RozaRivAvudivo\n@controls\n"));
  EXPECT_EQ(indicesIn(shown.at(0), kCreateKey, kDeleteRange, "shown"), std::vector<int>{kDeleteKey});
  EXPECT_EQ(indicesIn(shown.at(0), kFrame, kStep, "shown"), std::vector<int>{kFrame});
  EXPECT_EQ(shown.at(0).at(kDissolve).value, "1");
  EXPECT_EQ(shown.at(0).at(kZero).state, "ghosted");
  EXPECT_EQ(shown.at(0).at(kHundred).state, "ghosted");
}

TEST_F(KeySetterPanel, DeleterShowsTheCurrentFrame) {
  run("GoToFrame 17\n@run QD:RozaRivAvudivo\n@press Cancel\n");
  EXPECT_EQ(text(kFrame), "17");
}

TEST_F(KeySetterPanel, DeleterWhileThePanelIsOpenChangesNothing) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel(press(kCreateKey) + "@run QD:RozaRivAvudivo\n@controls\n@run QD:VaruDudEdodav\n@controls\n"));
  for (const Snapshot &snapshot : shown)
    EXPECT_EQ(indicesIn(snapshot, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kMove});
  EXPECT_EQ(panel().timesOpened(), 1);
  EXPECT_EQ(resets(), 0);
}

TEST_F(KeySetterPanel, DeleterThenKeySetterKeepsEveryOtherSetting) {
  run("@run QD:RozaRivAvudivo\n" + press(kMisc) + press(kPositionY) + "@set " + at(kScope) + " 2\n" + press(kFolded) +
      "@press Cancel\n");
  inPanel(press(kCreateKey) + "@set " + at(kFrom) + " 5\n@press Cancel\n");
  const Snapshot shown = snapshots(inPanel("@controls\n")).at(0);
  EXPECT_EQ(indicesIn(shown, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kCreateKey});
  EXPECT_EQ(shown.at(kMisc).value, "1");
  EXPECT_EQ(shown.at(kPositionY).value, "0");
  EXPECT_EQ(shown.at(kScope).value, "2");
  EXPECT_EQ(shown.at(kFrom).value, "5");
  EXPECT_EQ(panel().height(), 274);
}

// ---- the clip-set tool's PoseClip ----

// Answers the panel's question 0 as the clip-set tool does.
class StandInClipSetTool {
 public:
  std::vector<std::string> names;
  std::string clipSet;
  int index = 1;

  void answer(int question, void *reply) {
    if (question != lwp::cks::kClipSetInfoQuestion || reply == nullptr) return;
    pointers_.clear();
    for (const std::string &name : names) pointers_.push_back(name.c_str());
    sequence_ = {pointers_.data(), pointers_.data() + pointers_.size(), pointers_.data() + pointers_.size()};
    *static_cast<lwp::cks::ClipSetInfoReply *>(reply) = {1, &sequence_, clipSet.c_str(), index};
  }

 private:
  std::vector<const char *> pointers_;
  lwp::cks::ClipSetSequence sequence_{};
};

class PoseClipArea : public KeySetterPanel {
 protected:
  void listen() {
    host().ring().attach(lwp::cks::kClipSetTopic, &tool_, [this](int code, void *data) { tool_.answer(code, data); });
  }
  StandInClipSetTool tool_;
};

TEST_F(PoseClipArea, WithoutTheToolPoseClipIsOffAndDisabled) {
  inPanel("");
  EXPECT_EQ(state(kPoseClip), lwsim::DrawState::Ghosted);
  EXPECT_EQ(value(kPoseClip), 0);
  EXPECT_EQ(text(kCharacter), "");
  EXPECT_EQ(state(kScope), lwsim::DrawState::Shown);
}

TEST_F(PoseClipArea, TheToolsNamesAreShownAndPoseClipTakesTheScopesPlace) {
  listen();
  tool_.names = {"Hero", "Hero_A", "Hero_B"};
  tool_.clipSet = "Walk";
  tool_.index = 2;
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@controls\n" + press(kPoseClip) + "@controls\n" + press(kPoseClip) + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kCharacter).value, "Hero");
  EXPECT_EQ(shown.at(0).at(kClone).value, "Hero_B");
  EXPECT_EQ(shown.at(0).at(kClipSet).value, "Walk");
  EXPECT_EQ(shown.at(0).at(kPoseClip).state, "shown");
  EXPECT_EQ(shown.at(1).at(kPoseClip).value, "1");
  EXPECT_EQ(shown.at(1).at(kScope).state, "ghosted");
  EXPECT_EQ(shown.at(2).at(kScope).state, "shown");
}

TEST_F(PoseClipArea, AnAnswerWithoutACharacterSwitchesPoseClipOff) {
  listen();
  tool_.names = {"Hero", "Hero_A"};
  tool_.clipSet = "Walk";
  inPanel(press(kPoseClip) + "@press Cancel\n");
  EXPECT_EQ(value(kPoseClip), 1);
  tool_.names = {""};
  inPanel("");
  EXPECT_EQ(value(kPoseClip), 0);
  EXPECT_EQ(state(kPoseClip), lwsim::DrawState::Ghosted);
  EXPECT_EQ(state(kScope), lwsim::DrawState::Shown);
  EXPECT_EQ(text(kClone), "");
  EXPECT_EQ(text(kClipSet), "");
}

}  // namespace
