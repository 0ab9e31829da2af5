// The key setter driven through the module in the simulated host as a user
// drives it: lwsim scripts run in-process, the panel's controls by creation
// index, a channel's keys as the scene holds them and the events on the
// master topic. What the panel shows, its keyboard, how it closes, its
// failures and the key deleter opening the same panel; the panel's two
// questions to a stand-in clip-set tool on the ring; then the keys each
// operation leaves, the one undo step per run behind Undo and Redo, the
// items and channels a run takes, Copy and Paste and the refusals shown.
// Last the pieces beneath called directly: the undo history on envelopes of
// the simulated host (empty stacks, groups left open, entries that cannot
// apply or throw, how often a pass walks the host's channels, the errors a
// run shows).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
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
#include "key_setter/master/clip_set_questions.h"
#include "key_setter/master/ring_records.h"
#include "key_setter/operations/run_frame.h"
#include "key_setter/operations/run_settings.h"
#include "key_setter/operations/run_shape.h"
#include "key_setter/operations/shape_override.h"
#include "key_setter/panel/frame_field_text.h"
#include "key_setter/panel/key_setter_labels.h"
#include "sim/host.h"
#include "sim/panels/panel_service.h"
#include "sim/services/channel_services.h"
#include "support/module_host.h"
#include "support/script_session.h"

namespace {

using namespace lwp::cks;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Controls of the key-setter panel by creation index: the seven operations'
// cycling buttons, the fold selector's two, the fields, the scope, the item
// kinds, the channel toggles, the extra section and the clip-set area.
constexpr int kCreateKey = 1, kDeleteRange = 7, kFolded = 8, kUnfolded = 9, kFrame = 10, kFrom = 11, kTo = 12,
              kOffset = 13, kFactor = 14, kDestination = 15, kCount = 16, kStep = 17, kScope = 18, kNull = 19,
              kMesh = 20, kPosition = 24, kPositionX = 25, kPositionY = 26, kRotation = 28, kRotationH = 29,
              kRotationP = 30, kRotationB = 31, kScale = 32, kScaleX = 33, kScaleZ = 35, kMisc = 36, kMorph = 37,
              kDissolve = 38, kZero = 39, kHundred = 40, kKeyShape = 42, kShape = 43, kTension = 44, kContinuity = 45,
              kBias = 46, kUndo = 50, kRedo = 51, kBehavior = 52, kPre = 53, kPost = 54, kCopyValues = 55,
              kPasteValues = 56, kPoseClip = 58, kCharacter = 59, kClone = 60, kClipSet = 61;

constexpr double kFps = 30.0;

inline std::string press(int index) { return "@press #" + std::to_string(index) + "\n"; }
inline std::string set(int index, const std::string &value) {
  return "@set #" + std::to_string(index) + " " + value + "\n";
}
inline std::string key(int code) { return "@keypress " + std::to_string(code) + "\n"; }
inline std::string typed(const std::string &text) {
  std::string keys;
  for (const char c : text) keys += key(c);
  return keys;
}
// The operation selector opens on Create Key and steps on with each press.
inline std::string choose(int operation) {
  std::string presses;
  for (int shown = kCreateKey; shown < operation; ++shown) presses += press(shown);
  return presses;
}
inline const std::string kPressOk = "@press \"O K\"\n";

// Value and state of each control as one @controls prints them
// ("control #N TYPE "LABEL" VALUE STATE"), one map per @controls.
using Snapshot = std::map<int, std::pair<std::string, std::string>>;
inline std::vector<Snapshot> snapshots(const std::vector<std::string> &out) {
  std::vector<Snapshot> all;
  for (const std::string &line : out) {
    if (line.rfind("control #", 0) != 0) continue;
    const int index = std::stoi(line.substr(9));
    if (index == 1) all.emplace_back();
    const std::size_t state = line.rfind(' '), value = line.rfind(' ', state - 1);
    all.back()[index] = {line.substr(value + 1, state - value - 1), line.substr(state + 1)};
  }
  return all;
}
// The values of the controls, a space between, or the first letters of
// their states (shown, ghosted, erased).
std::string values(const Snapshot &shown, std::initializer_list<int> indices) {
  std::string text;
  for (int i : indices) text += (text.empty() ? "" : " ") + shown.at(i).first;
  return text;
}
std::string letters(const Snapshot &shown, std::initializer_list<int> indices) {
  std::string text;
  for (int i : indices) text += shown.at(i).second[0];
  return text;
}
// The state letters of the operation buttons and of the fields Frame to Step.
std::string operationsAndFields(const Snapshot &shown) {
  std::string text = letters(shown, {1, 2, 3, 4, 5, 6, 7}) + " ";
  for (int i = kFrame; i <= kStep; ++i) text += shown.at(i).second[0];
  return text;
}

// A key as (frame, value, shape, tension, continuity, bias, params), the
// frame read back from seconds and rounded to a millionth.
using Key = std::tuple<double, double, int, double, double, double, std::array<double, 4>>;
using Keys = std::vector<Key>;
// Values are rounded to a billionth, so that sampled curves compare.
inline double rounded(double value, double unit) { return std::round(value * unit) / unit; }
inline Key k(double frame, double value, int shape = 0, std::array<double, 4> params = {}) {
  return {frame, rounded(value, 1e9), shape, 0.0, 0.0, 0.0, params};
}

// Answers the panel's two questions as the clip-set tool does: its names,
// and its clip-set record whose sequences of 144-byte channel entries
// start at byte 32, one per clone.
struct StandInClipSetTool {
  struct Entry {
    LWItemID item;
    LWChannelID channel;
  };
  std::vector<std::string> names;
  std::string clipSet;
  int index = 0;
  int valid = 1;  // 0: every field filled but the one that says the answer holds
  bool withRecord = true;

  void setClones(const std::vector<std::vector<Entry>> &clones) {
    using namespace lwp::cks;
    entries_.assign(clones.size(), {});
    record_.assign(kClipSetSequencesOffset + clones.size() * sizeof(ClipSetSequence), 0xEE);
    for (std::size_t clone = 0; clone < clones.size(); ++clone) {
      std::vector<unsigned char> &bytes = entries_[clone];
      bytes.assign(clones[clone].size() * kClipSetEntrySize, 0xEE);
      for (std::size_t i = 0; i < clones[clone].size(); ++i) {
        std::memcpy(&bytes[i * kClipSetEntrySize + kClipSetEntryItemOffset], &clones[clone][i].item, sizeof(LWItemID));
        std::memcpy(&bytes[i * kClipSetEntrySize + kClipSetEntryChannelOffset], &clones[clone][i].channel,
                    sizeof(LWChannelID));
      }
      setSequence(clone, {bytes.data(), bytes.data() + bytes.size(), bytes.data() + bytes.size()});
    }
  }
  void setSequence(std::size_t clone, lwp::cks::ClipSetSequence sequence) {
    std::memcpy(&record_[lwp::cks::kClipSetSequencesOffset + clone * sizeof sequence], &sequence, sizeof sequence);
  }
  void listenOn(lwsim::Host &host) {
    host.ring().attach(lwp::cks::kClipSetTopic, this, [this](int code, void *data) { answer(code, data); });
  }
  void answer(int question, void *reply) {
    if (reply == nullptr) return;
    if (question == lwp::cks::kClipSetInfoQuestion) {
      pointers_.clear();
      for (const std::string &name : names) pointers_.push_back(name.c_str());
      nameSequence_ = {pointers_.data(), pointers_.data() + pointers_.size(), pointers_.data() + pointers_.size()};
      *static_cast<lwp::cks::ClipSetInfoReply *>(reply) = {valid, &nameSequence_, clipSet.c_str(), index};
    }
    if (question == lwp::cks::kClipSetChannelQuestion)
      *static_cast<lwp::cks::ClipSetChannelReply *>(reply) = {valid, 0xFFFFFFFFFFFFFFFFull,
                                                              withRecord ? record_.data() : nullptr, index};
  }
  std::vector<const char *> pointers_;
  lwp::cks::ClipSetSequence nameSequence_{};
  std::vector<std::vector<unsigned char>> entries_;
  std::vector<unsigned char> record_;
};

class KeyPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    host().ring().attach(lwp::cks::kMasterTopic, this, [this](int code, void *) { masterEvents_.push_back(code); });
  }

  lwsim::Host &host() { return module_.host(); }
  lwsim::Scene &scene() { return host().scene(); }
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(host(), script); }
  // Runs the key setter with the lines as the user's work in its panel.
  std::vector<std::string> inPanel(const std::string &work) { return run("@run QD:VaruDudEdodav\n" + work); }
  // One press of a history button in a panel opened for it.
  void historyButton(int button) { inPanel(press(button) + "@press Cancel\n"); }

  lwsim::Panel *findPanel() {
    for (const auto &panel : host().panels().panels())
      if (panel->title().rfind("QD:VaruDudEdodav", 0) == 0) return panel.get();
    return nullptr;
  }
  lwsim::Control &control(int index) {
    lwsim::Panel *panel = findPanel();
    if (panel == nullptr) throw std::runtime_error("no key-setter panel");
    return *panel->findControl(index);
  }
  lwsim::DrawState state(int index) { return control(index).drawState(); }
  std::string states(std::initializer_list<int> indices) {
    std::string text;
    for (int i : indices) text += "sge"[static_cast<int>(state(i))];
    return text;
  }
  long resets() const { return std::count(masterEvents_.begin(), masterEvents_.end(), lwp::cks::kMasterResetEvent); }
  long issued(const std::string &line) const {
    const std::vector<std::string> lines = module_.commandLines();
    return std::count(lines.begin(), lines.end(), line);
  }

  lwsim::SceneItem &item(const std::string &name) { return *scene().findByName(name); }
  lwsim::Envelope &envelope(const std::string &name, const std::string &path) {
    return scene().ensureChannel(item(name), path).envelope();
  }
  // Replaces the channel's keys.
  void put(const std::string &name, const std::string &path, const Keys &keys) {
    lwsim::Envelope &e = envelope(name, path);
    while (e.keyCount() > 0) e.destroyKey(&e.key(0));
    for (const auto &[frame, value, shape, tension, continuity, bias, params] : keys)
      *e.createKey(frame / kFps, value) = {frame / kFps, value, shape, tension, continuity, bias, params};
  }
  Keys keys(const std::string &name, const std::string &path) {
    Keys found;
    const lwsim::Envelope &e = envelope(name, path);
    for (std::size_t i = 0; i < e.keyCount(); ++i) {
      const lwsim::EnvelopeKey &x = e.key(i);
      found.emplace_back(rounded(x.time * kFps, 1e6), rounded(x.value, 1e9), x.shape, x.tension, x.continuity, x.bias,
                         x.params);
    }
    return found;
  }
  // The clip-set tool's entry for an item's channel.
  StandInClipSetTool::Entry entry(const std::string &name, const std::string &path) {
    return {reinterpret_cast<LWItemID>(item(name).id),
            reinterpret_cast<LWChannelID>(&scene().ensureChannel(item(name), path))};
  }

  lwtest::ModuleHost module_;
  std::vector<int> masterEvents_;
  StandInClipSetTool tool_;
};

using KeySetterPanel = KeyPanel;

// The To field and the fields after it follow the right edge of the one before.
TEST_F(KeySetterPanel, IsBuiltOnceAndOpensBlockingWithItsControlsInPlaceAndFolds) {
  inPanel("@press Cancel\n");
  inPanel("");
  lwsim::Panel &panel = *findPanel();
  const auto size = [&] { return std::make_pair(panel.width(), panel.height()); };
  EXPECT_EQ(panel.openFlags(), 81);
  EXPECT_EQ(size(), std::make_pair(518, 122));
  EXPECT_EQ(panel.controls().size(), 61u);
  EXPECT_FALSE(panel.isOpen()) << "a blocking open returns once the panel closed";
  EXPECT_EQ(std::make_pair(host().panels().panelsCreated(), panel.timesOpened()), std::make_pair(1, 2));
  const std::array<int, 3> places[] = {
      {kFolded, 4, 98}, {kRedo, 428, 150}, {kBehavior, 242, 122}, {kTo, 188, 0}, {kOffset, 312, 0}};
  for (const auto &[index, x, y] : places)
    EXPECT_EQ(std::make_pair(control(index).x(), control(index).y()), std::make_pair(x, y)) << index;
  EXPECT_EQ(states({kUndo, kRedo, kPasteValues}), "ggg");
  // The fold selector resizes the panel for the extra section; the fold is kept.
  inPanel(press(kFolded) + "@press Cancel\n");
  EXPECT_EQ(size(), std::make_pair(518, 274));
  EXPECT_EQ(states({kFolded, kUnfolded}), "es");
  inPanel("");
  EXPECT_EQ(panel.height(), 274) << "the fold is kept between openings";
  inPanel(press(kUnfolded) + "@press Cancel\n");
  EXPECT_EQ(size(), std::make_pair(518, 122));
  EXPECT_EQ(states({kFolded}), "s");
}

// Only the low 16 bits of the host's id name the language; the choice
// lists are rebuilt, not appended to, at each choice.
TEST_F(KeySetterPanel, LabelsFollowTheLanguageOfTheFirstOpeningJapaneseFor0411InTheLow16Bits) {
  run("@locale ja\n@run QD:VaruDudEdodav\n@press キャンセル\n");
  EXPECT_EQ(control(kCreateKey).label(), "キー作成");
  EXPECT_EQ(control(kPost).items().at(5), "反復のオフセット");
  const std::pair<std::uint64_t, bool> ids[] = {
      {0xFFFF0411u, true}, {0x0409u, false}, {0x04110000u, false}, {0x1411u, false}, {0x123400000411ull, true}};
  for (const auto &[id, japanese] : ids) {
    host().setLocaleId(id);
    for (auto [unit, lists] : {std::pair<lwp::LabelUnit *, std::size_t>{&keySetterLabels(), 6},
                               {&lwp::akio::saveLabels(), 1},
                               {&lwp::akio::loadLabels(), 3}}) {
      unit->choose(lwsim::GlobalRegistry::function());
      EXPECT_EQ(unit->japanese(), japanese) << std::hex << id;
      EXPECT_EQ(unit->choiceListCount(), lists);
    }
    EXPECT_STREQ(keySetterLabels().label(kLabelCancel), japanese ? "キャンセル" : "Cancel");
  }
  host().globals().withhold("Locale Info");
  keySetterLabels().choose(lwsim::GlobalRegistry::function());
  EXPECT_FALSE(keySetterLabels().japanese()) << "a missing language gives English";
}

// The frame field's texts, then the field in the panel, which opens on the
// current frame, 0 here; shape codes keep own shapes outside the popup.
TEST_F(KeySetterPanel, FrameFieldShowsStepsReadsAndTypesFramesAndShapeCodesKeepOwnShapesOutside) {
  const std::pair<double, const char *> shown[] = {{12.0, "12"}, {12.5, "12.50"}, {12.999, "13"}, {-0.001, "0"}};
  for (const auto &[frame, text] : shown) EXPECT_EQ(frameText(frame), text) << frame;
  const std::tuple<const char *, int, const char *> steps[] = {{"-1.5", 1, "0"}, {"-1.5", -1, "-2"}, {"1e999", 1, "1"}};
  for (const auto &[text, delta, stepped] : steps) EXPECT_EQ(steppedFrameText(text, delta), stepped) << text;
  EXPECT_EQ(frameNumber(" 12.5 "), 12.5);
  for (const char *none : {"-", "7abc", "1.5.2"}) EXPECT_EQ(frameNumber(none), std::nullopt) << none;
  // A shape popup index outside the popup keeps each key's own shape.
  for (int index : {-1, 5}) EXPECT_EQ(shapeCodeOf(index), kKeepOwnShape) << index;
  EXPECT_EQ(shapeCodeOf(4), 4) << "Stepped, the last";
  const int modifier = 0x1061, left = 0x1010, right = 0x1011, up = 0x1012, down = 0x1013;
  const std::tuple<std::string, const char *, int> typings[] = {
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
  for (const auto &[work, frame, scope] : typings) {
    inPanel(work + "@press Cancel\n");
    EXPECT_EQ(std::make_pair(control(kFrame).textValue(), control(kScope).intValue()),
              std::make_pair(std::string(frame), scope))
        << work;
  }
}

TEST_F(KeySetterPanel, OperationSelectorCyclesBothWaysAndShowsEachOperationsFields) {
  std::string work = "@controls\n";
  for (int op = kCreateKey; op <= kDeleteRange; ++op) work += press(op) + "@controls\n";
  work += "@press #1 right\n@controls\n@press #7 right\n@controls\n";
  const std::vector<Snapshot> shown = snapshots(inPanel(work));
  ASSERT_EQ(shown.size(), 10u);
  // Frame, From, To, Offset, Factor, Destination, Count, Step.
  const std::string fields[] = {"seeeeeee", "essseeee", "esseseee", "esseesse", "esseeees", "seeeeeee", "esseeeee"};
  const int operations[] = {1, 2, 3, 4, 5, 6, 7, 1, 7, 6};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    std::string buttons(7, 'e');
    buttons[operations[i] - 1] = 's';
    EXPECT_EQ(operationsAndFields(shown[i]), buttons + " " + fields[operations[i] - 1]) << i;
  }
}

TEST_F(KeySetterPanel, ExtraSectionControlsWorkOnlyWhereTheyApplyAndGroupButtonsSwitchTheirAxes) {
  const std::vector<Snapshot> shown = snapshots(
      inPanel("@controls\n" + press(kKeyShape) + press(kBehavior) + press(kDissolve) + "@controls\n" +
              set(kShape, "2") + press(kHundred) + "@controls\n" + set(kShape, "0") + press(kKeyShape) +
              press(kBehavior) + press(kZero) + press(kZero) + "@controls\n" + press(kCreateKey) + "@controls\n"));
  const std::string expected[] = {"gggggggg", "ssssssss", "sgggssss", "ggggggss", "gggggggg"};
  for (std::size_t i = 0; i < 5; ++i)  // Bezier takes no TCB; Zero and Hundred are for Create Key
    EXPECT_EQ(letters(shown.at(i), {kShape, kTension, kContinuity, kBias, kPre, kPost, kZero, kHundred}), expected[i]);
  EXPECT_EQ(values(shown.at(2), {kZero, kHundred}) + ", " + values(shown.at(3), {kZero, kHundred}), "0 1, 1 0")
      << "pressing the one that is on keeps it on";
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 2) << "at the build and when Dissolve came on";
  inPanel(press(kCreateKey) + press(kDissolve) + press(kDissolve) + press(kBehavior) + "@press Cancel\n");
  EXPECT_EQ(issued("AddEnvelope Dissolve"), 2) << "Dissolve on for another operation adds no envelope";
  inPanel("");
  EXPECT_EQ(state(kPre), lwsim::DrawState::Shown) << "the opening follows the kept Behavior";
  // Group buttons switch their axes all on, then all off.
  const std::vector<Snapshot> groups = snapshots(inPanel(press(kRotationP) + press(kRotationB) + press(kRotation) +
                                                         "@controls\n" + press(kRotation) + "@controls\n"));
  EXPECT_EQ(values(groups.at(0), {kRotationH, kRotationP, kRotationB}) + ", " +
                values(groups.at(1), {kRotationH, kRotationP, kRotationB, kPositionX, kScaleX}),
            "1 1 1, 0 0 0 1 1")
      << "other groups stay";
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
    EXPECT_EQ(operationsAndFields(snapshot), "eseeeee essseeee")
        << "either run while the panel is open changes nothing";
  EXPECT_EQ(findPanel()->timesOpened(), 1);
  EXPECT_EQ(resets(), 0);
  inPanel(press(kDissolve) + "@press Cancel\n");
  const Snapshot shown = snapshots(run("GoToFrame 17\n@run QD:RozaRivAvudivo\n@controls\n")).at(0);
  EXPECT_EQ(operationsAndFields(shown), "eeeeese seeeeeee");
  EXPECT_EQ(values(shown, {kFrame, kDissolve}) + " " + letters(shown, {kZero, kHundred}), "17 1 gg");

  run("@run QD:RozaRivAvudivo\n" + press(kMisc) + press(kPositionY) + set(kScope, "2") + press(kFolded) +
      "@press Cancel\n");
  inPanel(press(kCreateKey) + set(kFrom, "5") + "@press Cancel\n");
  const Snapshot again = snapshots(inPanel("@controls\n")).at(0);
  EXPECT_EQ(operationsAndFields(again), "seeeeee seeeeeee");
  EXPECT_EQ(values(again, {kMisc, kPositionY, kScope, kFrom}), "1 0 2 5");
  EXPECT_EQ(findPanel()->height(), 274);
}

// What the channel question recorded: each item's mask, its channels and their slots.
using Recorded = std::map<LWItemID, std::pair<unsigned, std::vector<std::pair<LWChannelID, int>>>>;
Recorded recorded() {
  Recorded found;
  for (const auto &[item, channels] : askClipSetChannels()) {
    found[item].first = channels.mask;
    for (const lwp::cks::ClipSetChannel &c : channels.channels) found[item].second.emplace_back(c.channel, c.slot);
  }
  return found;
}

// The panel's PoseClip area follows the clip-set tool's answer. Asked
// directly, the info question copies the names and the channel question
// records the active clone's channels under their items; answers that are
// missing, empty or unusable give nothing.
TEST_F(KeySetterPanel, PoseClipFollowsTheClipSetToolsAnswersWhichAreCopiedAndRecordedUnderTheirItems) {
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  inPanel("");
  EXPECT_EQ(states({kPoseClip}) + control(kCharacter).textValue(), "g") << "no tool listens";
  tool_.listenOn(host());
  tool_.valid = 0;
  EXPECT_FALSE(askClipSetInfo().answered) << "a tool that leaves valid at 0";
  tool_.valid = 1;
  tool_.names = {"Hero", "Hero_A", "Hero_B"};
  tool_.clipSet = "Walk";
  tool_.index = 2;
  const std::vector<Snapshot> shown =
      snapshots(inPanel("@controls\n" + press(kPoseClip) + "@controls\n" + press(kPoseClip) + "@controls\n"));
  EXPECT_EQ(values(shown.at(0), {kCharacter, kClone, kClipSet, kPoseClip}), "Hero Hero_B Walk 0");
  EXPECT_EQ(letters(shown.at(0), {kPoseClip, kScope}) + letters(shown.at(1), {kPoseClip, kScope}) +
                values(shown.at(1), {kPoseClip}) + letters(shown.at(2), {kScope}),
            "sssg1s")
      << "PoseClip takes the scope's place";
  inPanel(press(kPoseClip) + "@press Cancel\n");
  tool_.names = {""};  // an answer without a character
  inPanel("");
  EXPECT_EQ(std::to_string(control(kPoseClip).intValue()) + states({kPoseClip, kScope}) + control(kClone).textValue() +
                control(kClipSet).textValue(),
            "0gs");
  for (const auto &[index, clone] : {std::pair<int, const char *>{2, "Hero_B"}, {3, ""}, {-1, ""}}) {
    tool_.names = {"Hero", "Hero_A", "Hero_B"};
    tool_.index = index;
    const lwp::cks::ClipSetInfo info = askClipSetInfo();
    tool_.names = {"gone", "gone", "gone"};  // the tool's strings change after the call
    EXPECT_TRUE(info.answered);
    EXPECT_EQ(info.character + "|" + info.clone + "|" + info.clipSet, std::string("Hero|") + clone + "|Walk") << index;
  }
  scene().addMorphMap(scene().addObject("Body", "body.lwo"), "Face.Smile");
  scene().addBone(item("Body"), "Arm");
  const StandInClipSetTool::Entry x = entry("Body", "Position.X"), b = entry("Body", "Rotation.B"),
                                  z = entry("Body", "Scale.Z"), smile = entry("Body", "Face.Smile"),
                                  knob = entry("Body", "Extra.Knob"), heading = entry("Arm", "Rotation.H");
  const LWItemID body = x.item;
  tool_.setClones({{entry("Body", "Position.Y")},
                   {x, heading, {nullptr, z.channel}, b, {body, nullptr}, {nullptr, nullptr}, smile, x, z, knob}});
  tool_.index = 1;
  EXPECT_EQ(recorded(),
            (Recorded{{body,
                       {0x001 | 0x020 | 0x100,
                        {{x.channel, 0}, {b.channel, 5}, {smile.channel, 10}, {z.channel, 8}, {knob.channel, 11}}}},
                      {heading.item, {0x008, {{heading.channel, 3}}}}}));
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
  EXPECT_EQ(states({kUndo, kRedo}), "sg");
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
  run("AddNull A\nAddNull B\nSelectByName A\nAddToSelection 0x10000001\n");  // ids count up from 0x10000000
  inPanel(press(kPosition) + press(kRotation) + press(kScale) + press(kPositionY) + press(kRotationB) +
          typed("12.004") + kPressOk);
  std::string lines;
  for (const std::string &line : module_.commandLines()) lines += line + "\n";
  EXPECT_THAT(lines, HasSubstr("SelectItem 0x10000000\nCreateKey 0.400133333333333 0 0x022\n"
                               "SelectItem 0x10000001\nCreateKey 0.400133333333333 0 0x022\n"));
  EXPECT_EQ(keys("A", "Position.X"), Keys{k(0, 0)});
  EXPECT_EQ(keys("B", "Rotation.B").size(), 2u);
}

TEST_F(KeyPanel, DissolveMorphAndOtherChannelsAreKeyedWhenTheirTogglesAreOn) {
  run("LoadObject Body.lwo\nAddNull Null\n@morph Body Mouth.Smile\nSelectByName Body\nAddToSelection 0x10000001\n");
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

// The scope and the item kinds choose the items a run takes; PoseClip takes
// the clip-set tool's items and channels whatever the scope.
TEST_F(KeyPanel, ScopeAndItemKindsChooseTheItemsAndPoseClipTakesTheToolsWhateverTheScope) {
  run("AddNull Parent\nAddNull Child\nLoadObject Body.lwo\nAddNull Other\n@parent Child Parent\n"
      "@parent Body Parent\nSelectByName Parent\n");
  const char *names[] = {"Parent", "Child", "Body", "Other"};
  for (const char *name : names) put(name, "Position.X", {k(0, 1), k(5, 2)});
  // Which of the four lost their key at frame 5.
  const std::pair<std::string, const char *> cases[] = {{set(kScope, "0"), "1000"},
                                                        {set(kScope, "1"), "1110"},
                                                        {set(kScope, "2"), "1111"},
                                                        {press(kMesh), "1101"},
                                                        {press(kMesh) + press(kNull), "0010"}};
  for (const auto &[settings, expected] : cases) {
    inPanel(choose(7) + set(kFrom, "5") + set(kTo, "5") + settings + kPressOk);
    std::string deleted;
    for (const char *name : names) deleted += keys(name, "Position.X").size() == 1 ? '1' : '0';
    EXPECT_EQ(deleted, expected) << settings;
    historyButton(kUndo);
  }
  // With the whole scene in scope, nulls on again and meshes off, PoseClip
  // takes only the tool's channels.
  run("GoToFrame 5\n");
  put("Child", "Position.Y", {k(0, 1), k(5, 2)});
  put("Body", "Extra.Knob", {k(0, 0.5), k(5, 0.5)});
  tool_.listenOn(host());
  tool_.names = {"Hero", "Hero_A"};
  tool_.setClones({{entry("Child", "Position.Y"), entry("Other", "Position.X"), entry("Body", "Extra.Knob")}});
  inPanel(press(kPoseClip) + press(kNull) + press(kMisc) + press(kMesh) + choose(7) + set(kFrom, "5") + set(kTo, "5") +
          kPressOk);
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
  const std::string copied = states({kPasteValues});
  inPanel("@press Cancel\n");
  EXPECT_EQ(copied + states({kPasteValues}), "ss") << "the clipboard outlives the opening";
  // The paste keys the copied channels whatever is selected, and refreshes.
  inPanel("GoToFrame 20\nClearSelection\n" + press(kPasteValues) + "@press Cancel\n");
  EXPECT_EQ(keys("Ball", "Position.X"), (Keys{k(0, 0), k(10, 10), k(20, copiedX)}));
  EXPECT_EQ(keys("Ball", "Position.Y"), (Keys{k(0, 7), k(20, 7)}));
  EXPECT_EQ(keys("Ball", "Extra.Knob"), (Keys{k(0, 3), k(20, 3)}));
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
      run("@run QD:RozaRivAvudivo\n" + key(8) + key(13) + "@run QD:RozaRivAvudivo\n" + set(kFrame, "1e999") + kPressOk +
          "@run QD:RozaRivAvudivo\n@press Cancel\n" + "@run QD:RozaRivAvudivo\n@keypress 27\n");
  EXPECT_THAT(out, ElementsAre("status: {1.0} Error! The frame field holds no number.",
                               "status: {1.0} Error! The number typed is not a finite number."));
  EXPECT_EQ(keys("Ball", "Position.X"), all) << "nothing deleted, not even the keys at frame 0";
  EXPECT_EQ(resets(), 4);
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
  EXPECT_EQ(states({kUndo, kRedo}), "gs");
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
  EXPECT_EQ(states({kUndo, kRedo}), "gs");
  inPanel(typed("40") + kPressOk);
  inPanel("@press Cancel\n");
  EXPECT_EQ(state(kRedo), lwsim::DrawState::Ghosted) << "a new run ends the redo chain";
}

// A bone goes between the run and its undo: only its channels' entries fail.
TEST_F(KeyPanel, ChannelsRemovedBeforeUndoFailOnlyTheirOwnEntries) {
  run("LoadObject Body.lwo\nAddBone Forearm\nSelectByName Body\n");
  inPanel(press(kPosition) + press(kRotation) + press(kScale) + press(kPositionX) + press(kScaleZ) + typed("3") +
          kPressOk);
  EXPECT_EQ(keys("Body", "Position.X").size(), 2u);
  item("Body").group->removeGroup(item("Forearm").group);
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

  lwsim::Host host_;
  CUndoHistory history_;
  lwsim::Channel *knob_ = nullptr;
};

// A run that failed before its commit leaves its group open; the next group
// drops it. An entry that throws is reported and the pass goes on. Ranges no
// wider than the minimum span, no copies, and bake steps that do not advance
// fail every check and leave the keys.
TEST_F(UndoHistory, AGroupLeftOpenIsDroppedAndEntriesThatThrowOrCannotApplyAreReported) {
  const LWChannelID knob = idOf(*knob_);
  knob_->envelope().createKey(1.0, 1.0);
  knob_->envelope().createKey(2.0, 2.0);
  history_.begin(kRunGroupName);
  add<CmdHistSetKey>(knob, windowAt(1.0), keyAt(1.0, 9.0));
  history_.begin(kPasteGroupName);
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
  EXPECT_EQ(history_.undoDepth(), 1u);
  EXPECT_EQ(knobKeys(), (std::vector<std::pair<double, double>>{{1.0, 7.0}, {2.0, 8.0}}));
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
    EXPECT_EQ(std::make_pair(calls.nextGroup - before.nextGroup, calls.nextChannel - before.nextChannel),
              std::make_pair(perListing.nextGroup, perListing.nextChannel))
        << pass;
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
  EXPECT_THAT(transcript(), ElementsAre("status: {1.0} Error! unknown error", "status: {1.0} Error! too many keys",
                                        "status: {1.0} Error! Unknown key operation."));
  EXPECT_EQ(x.keyCount(), 2u) << "an unknown operation is no deletion";
  EXPECT_EQ(undoHistory().nextUndo(), before);
  EXPECT_THAT(host_.scene().selection(), ElementsAre(host_.scene().findByName("A")));
}

}  // namespace
