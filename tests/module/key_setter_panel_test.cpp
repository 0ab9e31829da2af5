// The key-setter panel driven as a user drives it, through the module in the
// simulated host: what it shows, its controls, its keyboard, how it closes,
// its failures, the key deleter opening the same panel and the clip-set area.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "key_panel_fixture.h"
#include "sim/panels/panel_service.h"

namespace key_panel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using KeySetterPanel = KeyPanel;

// The To field and the fields after it follow the right edge of the one before.
TEST_F(KeySetterPanel, IsBuiltOnceAndOpensBlockingWithItsControlsInPlace) {
  inPanel("@press Cancel\n");
  inPanel("");
  lwsim::Panel &panel = *findPanel();
  EXPECT_EQ(panel.openFlags(), 81);
  EXPECT_EQ(std::make_pair(panel.width(), panel.height()), std::make_pair(518, 122));
  EXPECT_EQ(panel.controls().size(), 61u);
  EXPECT_FALSE(panel.isOpen()) << "a blocking open returns once the panel closed";
  EXPECT_EQ(host().panels().panelsCreated(), 1);
  EXPECT_EQ(panel.timesOpened(), 2);
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 1) << "issued by the build only";

  const std::array<int, 3> places[] = {{kFolded, 4, 98},     {kOk, 428, 4},       {kCancel, 428, 28},
                                       {kUndo, 428, 126},    {kRedo, 428, 150},   {kBehavior, 242, 122},
                                       {kDissolve, 344, 68}, {kHundred, 386, 88}, {kRotationB, 186, 88},
                                       {kTo, 188, 0},        {kOffset, 312, 0}};
  for (const auto &[index, x, y] : places)
    EXPECT_EQ(std::make_pair(control(index).x(), control(index).y()), std::make_pair(x, y)) << index;
  for (int index : {kUndo, kRedo, kPasteValues}) EXPECT_EQ(state(index), lwsim::DrawState::Ghosted) << index;
}

TEST_F(KeySetterPanel, LabelsFollowTheLanguageOfTheFirstOpening) {
  run("@locale ja\n@run QD:VaruDudEdodav\n@press キャンセル\n");
  EXPECT_EQ(control(kCreateKey).label(), "キー作成");
  EXPECT_EQ(control(kPost).items().at(5), "反復のオフセット");
}

TEST_F(KeySetterPanel, FrameFieldShowsTheFrameAndTakesTypingBackspacesAndSteps) {
  run("@fps 24\n");
  for (const auto &[time, text] : {std::pair<double, const char *>{0.5, "12"}, {0.52083, "12.50"}, {0.0, "0"}}) {
    host().goToTime(time);
    inPanel("@press Cancel\n");
    EXPECT_EQ(control(kFrame).textValue(), text) << time;
  }
  const int modifier = 0x1061, left = 0x1010, right = 0x1011, up = 0x1012, down = 0x1013;
  struct Typing {
    std::string work;
    const char *frame;
    int scope;
  };
  const Typing typings[] = {
      {typed("-1-.5."), "-1.5", 1},  // typing replaces; a late minus and a second point are ignored
      {typed("42.") + key(8) + key(0x1020) + typed("7"), "47", 1},          // both backspace keys
      {typed("9") + key(8) + key(8) + key(0x1020) + typed("-3"), "-3", 1},  // an emptied text takes a minus
      {set(kFrame, "7.2") + typed("5."), "7.25", 1},                        // edited by hand, typing goes on
      {typed("12.75") + key(modifier) + key(right), "13", 1},               // whole-frame steps
      {typed("12.75") + key(modifier) + key(right) + key(left) + key(left) + typed("5"), "115", 1},
      {typed("8.5") + key(right) + key(left) + key(up) + key(modifier) + "@keypress 4193 up\n" + key(right) + key(down),
       "8.5", 1},  // no modifier, no step
      {key(modifier) + "@press Cancel\n@run QD:VaruDudEdodav\n" + typed("4") + key(right), "4", 1},  // released
      {key(modifier) + key(up) + key(up) + key(down), "0", 0},  // the scope steps round: 0, 2, 0
  };
  for (const Typing &typing : typings) {
    inPanel(typing.work + "@press Cancel\n");
    EXPECT_EQ(control(kFrame).textValue(), typing.frame) << typing.work;
    EXPECT_EQ(control(kScope).intValue(), typing.scope) << typing.work;
  }
}

TEST_F(KeySetterPanel, OperationSelectorCyclesBothWaysAndShowsEachOperationsFields) {
  std::string work = "@controls\n";
  for (int op = kCreateKey; op <= kDeleteRange; ++op) work += press(op) + "@controls\n";
  work += "@press #1 right\n@controls\n@press #7 right\n@controls\n";
  const std::vector<Snapshot> shown = snapshots(inPanel(work));
  ASSERT_EQ(shown.size(), 10u);
  const std::vector<std::vector<int>> fields = {
      {kFrame}, {kFrom, kTo, kOffset}, {kFrom, kTo, kFactor}, {kFrom, kTo, kDestination, kCount}, {kFrom, kTo, kStep},
      {kFrame}, {kFrom, kTo}};
  const int operations[] = {1, 2, 3, 4, 5, 6, 7, 1, 7, 6};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const int op = operations[i];
    EXPECT_EQ(withState(shown[i], kCreateKey, kDeleteRange, "shown"), std::vector<int>{op}) << i;
    EXPECT_EQ(withState(shown[i], kFrame, kStep, "shown"), fields[op - 1]) << i;
    EXPECT_EQ(withState(shown[i], kFrame, kStep, "erased").size(), 8 - fields[op - 1].size()) << i;
  }
}

TEST_F(KeySetterPanel, FoldSelectorResizesForTheExtraSectionAndIsKept) {
  inPanel(press(kFolded) + "@press Cancel\n");
  EXPECT_EQ(std::make_pair(findPanel()->width(), findPanel()->height()), std::make_pair(518, 274));
  EXPECT_EQ(state(kFolded), lwsim::DrawState::Erased);
  EXPECT_EQ(state(kUnfolded), lwsim::DrawState::Shown);
  inPanel("");
  EXPECT_EQ(findPanel()->height(), 274) << "the fold is kept between openings";
  inPanel(press(kUnfolded) + "@press Cancel\n");
  EXPECT_EQ(std::make_pair(findPanel()->width(), findPanel()->height()), std::make_pair(518, 122));
  EXPECT_EQ(state(kFolded), lwsim::DrawState::Shown);
}

TEST_F(KeySetterPanel, GroupButtonsSwitchTheirAxesAllOnThenAllOff) {
  const std::vector<Snapshot> shown = snapshots(inPanel(press(kRotationP) + press(kRotationB) + press(kRotation) +
                                                        "@controls\n" + press(kRotation) + "@controls\n"));
  for (int axis : {kRotationH, kRotationP, kRotationB}) {
    EXPECT_EQ(shown.at(0).at(axis).first, "1") << axis;
    EXPECT_EQ(shown.at(1).at(axis).first, "0") << axis;
  }
  for (int axis : {kPositionX, kScaleX}) EXPECT_EQ(shown.at(1).at(axis).first, "1") << "other groups stay";
  inPanel(press(kScaleY) + press(kScale) + press(kPosition) + "@press Cancel\n");
  for (int axis : {kScaleX, kScaleY, kScaleZ}) EXPECT_EQ(control(axis).intValue(), 1) << axis;
  for (int axis : {kPositionX, kPositionY, kPositionZ}) EXPECT_EQ(control(axis).intValue(), 0) << axis;
}

TEST_F(KeySetterPanel, ExtraSectionControlsWorkOnlyWhereTheyApply) {
  const std::vector<Snapshot> shown = snapshots(
      inPanel("@controls\n" + press(kKeyShape) + press(kBehavior) + press(kDissolve) + "@controls\n" +
              set(kShape, "2") + press(kHundred) + "@controls\n" + set(kShape, "0") + press(kKeyShape) +
              press(kBehavior) + press(kZero) + press(kZero) + "@controls\n" + press(kCreateKey) + "@controls\n"));
  const auto states = [](const Snapshot &s) {
    std::vector<std::string> found;
    for (int i : {kShape, kTension, kContinuity, kBias, kPre, kPost, kZero, kHundred}) found.push_back(s.at(i).second);
    return found;
  };
  const std::string g = "ghosted", s = "shown";
  EXPECT_THAT(states(shown.at(0)), ElementsAre(g, g, g, g, g, g, g, g));
  EXPECT_THAT(states(shown.at(1)), ElementsAre(s, s, s, s, s, s, s, s));
  EXPECT_THAT(states(shown.at(2)), ElementsAre(s, g, g, g, s, s, s, s)) << "Bezier takes no TCB";
  EXPECT_THAT(states(shown.at(3)), ElementsAre(g, g, g, g, g, g, s, s));
  EXPECT_THAT(states(shown.at(4)), ElementsAre(g, g, g, g, g, g, g, g)) << "Zero and Hundred are for Create Key";
  EXPECT_EQ(shown.at(2).at(kZero).first + shown.at(2).at(kHundred).first, "01");
  EXPECT_EQ(shown.at(3).at(kZero).first + shown.at(3).at(kHundred).first, "10")
      << "pressing the one that is on keeps it on";
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 2) << "at the build and when Dissolve came on";
  inPanel(press(kCreateKey) + press(kDissolve) + press(kDissolve) + press(kBehavior) + "@press Cancel\n");
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 2) << "Dissolve on for another operation adds no envelope";
  inPanel("");
  EXPECT_EQ(state(kPre), lwsim::DrawState::Shown) << "the opening follows the kept Behavior";
}

// Enter counts as the character, Layout's return key and the keypad's Enter.
TEST_F(KeySetterPanel, OkCancelEnterAndEscapeCloseAndResetTheMasterTheHostsCloseDoesNot) {
  for (const std::string &closing :
       {kPressOk, std::string("@press Cancel\n"), key(13), key(0x1022), key(0x1057), key(27)}) {
    const long before = resets();
    EXPECT_THAT(inPanel(closing + "StatusMsg after\n"), ElementsAre("status: after")) << closing;
    EXPECT_EQ(resets(), before + 1) << closing;
    EXPECT_FALSE(findPanel()->isOpen());
  }
  const long before = resets();
  inPanel("@close\n");
  EXPECT_EQ(resets(), before);
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

TEST_F(KeySetterPanel, RunWithArgumentsOnlyResetsTheMaster) {
  run("Generic_QD:VaruDudEdodav init\n@run QD:VaruDudEdodav anything\n");
  EXPECT_EQ(resets(), 2);
  EXPECT_EQ(host().panels().panelsCreated(), 0);
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 0);
}

TEST_F(KeySetterPanel, AMissingServiceIsNamedAndLookedUpAgainAndARefusedPanelIsReported) {
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
  EXPECT_THAT(run("@refuse-open\n@run QD:VaruDudEdodav\n@run QD:RozaRivAvudivo\n"),
              ElementsAre("status: {1.0} Error! The host could not open the key-setter panel.",
                          "status: {1.0} Error! The host could not open the key-setter panel."));
}

TEST_F(KeySetterPanel, DeleterOpensOnDeleteKeyAtTheCurrentFrameAndKeepsTheOtherSettings) {
  inPanel(press(kDissolve) + "@press Cancel\n");
  const Snapshot shown = snapshots(run("GoToFrame 17\n@run QD:RozaRivAvudivo\n@controls\n")).at(0);
  EXPECT_EQ(withState(shown, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kDeleteKey});
  EXPECT_EQ(withState(shown, kFrame, kStep, "shown"), std::vector<int>{kFrame});
  EXPECT_EQ(shown.at(kFrame).first, "17");
  EXPECT_EQ(shown.at(kDissolve).first, "1");
  EXPECT_EQ(shown.at(kZero).second + " " + shown.at(kHundred).second, "ghosted ghosted");

  run("@run QD:RozaRivAvudivo\n" + press(kMisc) + press(kPositionY) + set(kScope, "2") + press(kFolded) +
      "@press Cancel\n");
  inPanel(press(kCreateKey) + set(kFrom, "5") + "@press Cancel\n");
  const Snapshot again = snapshots(inPanel("@controls\n")).at(0);
  EXPECT_EQ(withState(again, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kCreateKey});
  for (const auto &[index, value] : {std::pair{kMisc, "1"}, {kPositionY, "0"}, {kScope, "2"}, {kFrom, "5"}})
    EXPECT_EQ(again.at(index).first, value) << index;
  EXPECT_EQ(findPanel()->height(), 274);
}

TEST_F(KeySetterPanel, DeleterWhileThePanelIsOpenChangesNothing) {
  const std::vector<Snapshot> shown =
      snapshots(inPanel(press(kCreateKey) + "@run QD:RozaRivAvudivo\n@controls\n@run QD:VaruDudEdodav\n@controls\n"));
  ASSERT_EQ(shown.size(), 2u);
  for (const Snapshot &snapshot : shown)
    EXPECT_EQ(withState(snapshot, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kCreateKey + 1});
  EXPECT_EQ(findPanel()->timesOpened(), 1);
  EXPECT_EQ(resets(), 0);
}

TEST_F(KeySetterPanel, PoseClipFollowsTheClipSetToolsAnswer) {
  inPanel("");
  EXPECT_EQ(state(kPoseClip), lwsim::DrawState::Ghosted) << "no tool listens";
  EXPECT_EQ(control(kCharacter).textValue(), "");

  tool_.listenOn(host());
  tool_.names = {"Hero", "Hero_A", "Hero_B"};
  tool_.clipSet = "Walk";
  tool_.index = 2;
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@controls\n" + press(kPoseClip) + "@controls\n" + press(kPoseClip) + "@controls\n"));
  EXPECT_EQ(shown.at(0).at(kCharacter).first, "Hero");
  EXPECT_EQ(shown.at(0).at(kClone).first, "Hero_B");
  EXPECT_EQ(shown.at(0).at(kClipSet).first, "Walk");
  EXPECT_EQ(shown.at(0).at(kPoseClip).second, "shown");
  EXPECT_EQ(shown.at(1).at(kPoseClip).first, "1");
  EXPECT_EQ(shown.at(1).at(kScope).second, "ghosted") << "PoseClip takes the scope's place";
  EXPECT_EQ(shown.at(2).at(kScope).second, "shown");

  inPanel(press(kPoseClip) + "@press Cancel\n");
  tool_.names = {""};  // an answer without a character
  inPanel("");
  EXPECT_EQ(control(kPoseClip).intValue(), 0);
  EXPECT_EQ(state(kPoseClip), lwsim::DrawState::Ghosted);
  EXPECT_EQ(state(kScope), lwsim::DrawState::Shown);
  EXPECT_EQ(control(kClone).textValue() + control(kClipSet).textValue(), "");
}

}  // namespace
}  // namespace key_panel_test
