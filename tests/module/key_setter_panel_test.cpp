// The key-setter panel driven as a user drives it, through the module in the
// simulated host: what it shows, its controls, its keyboard, how it closes,
// its failures, the key deleter opening the same panel and the clip-set area.
// Then the panel's two questions to the clip-set tool, answered by a stand-in
// tool on the ring that lays its records out as the tool does: what is
// copied from an answer, which channel entries count, and answers that are
// missing, empty or unusable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/globals/host_globals.h"
#include "key_panel_fixture.h"
#include "key_setter/master/clip_set_questions.h"
#include "sim/panels/panel_service.h"

namespace key_panel_test {
namespace {

using lwp::cks::askClipSetChannels;
using lwp::cks::askClipSetInfo;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::Pair;

using KeySetterPanel = KeyPanel;

// The To field and the fields after it follow the right edge of the one before.
TEST_F(KeySetterPanel, IsBuiltOnceAndOpensBlockingWithItsControlsInPlaceAndFolds) {
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
  // The fold selector resizes the panel for the extra section; the fold is kept.
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

TEST_F(KeySetterPanel, ExtraSectionControlsWorkOnlyWhereTheyApplyAndGroupButtonsSwitchTheirAxes) {
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
  // Group buttons switch their axes all on, then all off.
  const std::vector<Snapshot> groups = snapshots(inPanel(press(kRotationP) + press(kRotationB) + press(kRotation) +
                                                         "@controls\n" + press(kRotation) + "@controls\n"));
  for (int axis : {kRotationH, kRotationP, kRotationB})
    EXPECT_EQ(groups.at(0).at(axis).first + groups.at(1).at(axis).first, "10") << axis;
  for (int axis : {kPositionX, kScaleX}) EXPECT_EQ(groups.at(1).at(axis).first, "1") << "other groups stay";
  inPanel(press(kScaleY) + press(kScale) + press(kPosition) + "@press Cancel\n");
  for (int axis : {kScaleX, kScaleY, kScaleZ}) EXPECT_EQ(control(axis).intValue(), 1) << axis;
  for (int axis : {kPositionX, kPositionY, kPositionZ}) EXPECT_EQ(control(axis).intValue(), 0) << axis;
}

// Enter counts as the character, Layout's return key and the keypad's Enter.
TEST_F(KeySetterPanel, ArgumentsOkCancelEnterAndEscapeResetTheMasterTheHostsCloseDoesNot) {
  // Run with arguments, the key setter only resets the master.
  run("Generic_QD:VaruDudEdodav init\n@run QD:VaruDudEdodav anything\n");
  EXPECT_EQ(resets(), 2);
  EXPECT_EQ(host().panels().panelsCreated(), 0);
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 0);
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
  const std::vector<Snapshot> open =
      snapshots(inPanel(press(kCreateKey) + "@run QD:RozaRivAvudivo\n@controls\n@run QD:VaruDudEdodav\n@controls\n"));
  ASSERT_EQ(open.size(), 2u);
  for (const Snapshot &snapshot : open)
    EXPECT_EQ(withState(snapshot, kCreateKey, kDeleteRange, "shown"), std::vector<int>{kCreateKey + 1})
        << "either run while the panel is open changes nothing";
  EXPECT_EQ(findPanel()->timesOpened(), 1);
  EXPECT_EQ(resets(), 0);
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

using ClipSetQuestions = KeyPanel;

auto recorded(LWChannelID channel, int slot) {
  return ::testing::AllOf(Field(&lwp::cks::ClipSetChannel::channel, channel),
                          Field(&lwp::cks::ClipSetChannel::slot, slot));
}

TEST_F(ClipSetQuestions, InfoCopiesTheNamesAndTheActiveClonesChannelsAreRecordedUnderTheirItems) {
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  EXPECT_FALSE(askClipSetInfo().answered) << "no tool listens";
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "no tool listens";
  tool_.listenOn(host());
  tool_.valid = 0;
  EXPECT_FALSE(askClipSetInfo().answered) << "a tool that leaves valid at 0";
  tool_.valid = 1;
  tool_.clipSet = "Walk";
  for (const auto &[index, clone] : {std::pair<int, const char *>{2, "Hero_B"}, {3, ""}, {-1, ""}, {100, ""}}) {
    tool_.names = {"Hero", "Hero_A", "Hero_B"};
    tool_.index = index;
    const lwp::cks::ClipSetInfo info = askClipSetInfo();
    tool_.names = {"gone", "gone", "gone"};  // the tool's strings change after the call
    EXPECT_TRUE(info.answered);
    EXPECT_EQ(info.character + "|" + info.clone + "|" + info.clipSet, std::string("Hero|") + clone + "|Walk") << index;
  }
  tool_.names.clear();
  EXPECT_EQ(askClipSetInfo().character, "");
  scene().addMorphMap(scene().addObject("Body", "body.lwo"), "Face.Smile");
  scene().addBone(item("Body"), "Arm");
  const StandInClipSetTool::Entry x = entry("Body", "Position.X"), b = entry("Body", "Rotation.B"),
                                  z = entry("Body", "Scale.Z"), smile = entry("Body", "Face.Smile"),
                                  knob = entry("Body", "Extra.Knob"), heading = entry("Arm", "Rotation.H");
  const LWItemID body = x.item;
  tool_.setClones({{entry("Body", "Position.Y")},
                   {x, heading, {nullptr, z.channel}, b, {body, nullptr}, {nullptr, nullptr}, smile, x, z, knob}});
  tool_.index = 1;
  const auto recordedItem = [](lwp::cks::ChannelMask mask, auto channels) {
    return ::testing::AllOf(Field(&lwp::cks::ClipSetItemChannels::mask, mask),
                            Field(&lwp::cks::ClipSetItemChannels::channels, channels));
  };
  EXPECT_THAT(askClipSetChannels(),
              ::testing::UnorderedElementsAre(
                  Pair(body, recordedItem(0x001u | 0x020u | 0x100u,
                                          ElementsAre(recorded(x.channel, 0), recorded(b.channel, 5),
                                                      recorded(smile.channel, 10), recorded(z.channel, 8),
                                                      recorded(knob.channel, 11)))),
                  Pair(heading.item, recordedItem(0x008u, ElementsAre(recorded(heading.channel, 3))))));
  tool_.valid = 0;
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "a tool that leaves valid at 0";
  tool_.valid = 1;
  tool_.withRecord = false;
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "no clip-set record";
  tool_.withRecord = true;
  tool_.setClones({{}, {{nullptr, x.channel}, {body, nullptr}}, {x, b}});
  for (int index : {0, 1, -1}) {
    tool_.index = index;
    EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "empty, only zero entries, or no clone " << index;
  }
  tool_.index = 2;
  ASSERT_EQ(askClipSetChannels().size(), 1u);
  const unsigned char *entries = tool_.entries_[2].data();
  const std::size_t size = 2 * lwp::cks::kClipSetEntrySize;
  const lwp::cks::ClipSetSequence unusable[] = {
      {entries + size, entries, entries + size},      // ends before it begins
      {entries, entries + size - 8, entries + size},  // a partial entry
      {nullptr, entries + size, entries + size},      // no storage
  };
  for (const lwp::cks::ClipSetSequence &sequence : unusable) {
    tool_.setSequence(2, sequence);
    EXPECT_THAT(askClipSetChannels(), IsEmpty());
  }
}

}  // namespace
}  // namespace key_panel_test
