// The host's scene commands as a module issues them: building items, the
// selection, posing and keying, time, envelopes, camera and scene settings,
// and the lines the host refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sim/host.h"
#include "support/decimal_comma_locale.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Names = std::vector<std::string>;

constexpr double kPi = std::numbers::pi;
using Pose = std::array<double, 9>;
constexpr Pose kNeutral = {0, 0, 0, 0, 0, 0, 1, 1, 1};

class SceneCommandsTest : public ::testing::Test {
 protected:
  int run(const std::string &line) { return host_.commands().run(line); }
  // Runs lines that must be accepted.
  // "@NAME" stands for the id of the item of that name, once it exists.
  void accept(std::initializer_list<std::string> lines) {
    for (std::string line : lines) {
      if (const auto at = line.find('@'); at != std::string::npos)
        line = line.substr(0, at) + hexId(line.substr(at + 1));
      ASSERT_EQ(run(line), 1) << line;
    }
  }
  lwsim::Scene &scene() { return host_.scene(); }
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }

  lwsim::SceneItem &item(const std::string &name) {
    lwsim::SceneItem *found = scene().findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }
  std::string hexId(const std::string &name) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(item(name).id));
    return text;
  }
  Names selectedNames() {
    Names names;
    for (const lwsim::SceneItem *selected : scene().selection()) names.push_back(selected->name);
    return names;
  }
  double shown(const std::string &name, std::size_t slot) { return host_.pose().shown(item(name), slot); }
  // The shown pose of all nine slots, and whether each is posed.
  void expectShown(const std::string &name, const Pose &values, bool posed) {
    for (std::size_t slot = 0; slot < 9; ++slot) {
      EXPECT_NEAR(shown(name, slot), values[slot], 1e-12) << name << " slot " << slot;
      EXPECT_EQ(host_.pose().isPosed(item(name), slot), posed && (slot < 6 || item(name).type != lwsim::kCamera))
          << name << " slot " << slot;
    }
  }
  lwsim::Envelope &envelope(const std::string &name, const std::string &channel) {
    lwsim::Channel *found = scene().findChannel(item(name), channel);
    if (found == nullptr) throw std::runtime_error("no channel " + channel + " of " + name);
    return found->envelope();
  }
  // The value of the key at that time, NaN where there is none.
  double keyAt(const std::string &name, const std::string &channel, double time) {
    const lwsim::EnvelopeKey *key = envelope(name, channel).findKey(time);
    return key != nullptr ? key->value : std::nan("");
  }
  std::size_t channelsNamed(const std::string &name, const std::string &channel) {
    std::size_t count = 0;
    for (const auto &each : item(name).group->channels()) count += each->name() == channel ? 1 : 0;
    return count;
  }
  // Only the key every new item has at time 0.
  void expectUnkeyed(const std::string &name) {
    for (std::size_t slot = 0; slot < (item(name).type == lwsim::kCamera ? 6 : 9); ++slot) {
      const lwsim::Envelope &motion = envelope(name, lwsim::kMotionChannels[slot]);
      ASSERT_EQ(motion.keyCount(), 1u) << name << " " << lwsim::kMotionChannels[slot];
      EXPECT_EQ(motion.key(0).time, 0.0);
      EXPECT_EQ(motion.key(0).value, kNeutral[slot]) << name << " " << lwsim::kMotionChannels[slot];
    }
  }

  lwsim::Host host_;
};

// Each new item gets its kind, name (outer blanks dropped; a loaded object
// is named after its file's base name), file name and a fresh id of its
// kind, and becomes the only selection; a bone belongs to the selected
// object or the selected bone's object.
TEST_F(SceneCommandsTest, NewItemsGetTheirKindNameAndIdAndBecomeTheOnlySelection) {
  const struct {
    const char *line;
    int type;
    std::uintptr_t idBase;
    const char *name, *fileName;
  } cases[] = {
      // clang-format off
      {"AddNull", lwsim::kObject, lwsim::Scene::kObjectIds, "Null", ""},
      {"AddNull   Two  Words  ", lwsim::kObject, lwsim::Scene::kObjectIds, "Two  Words", ""},
      {"AddCamera", lwsim::kCamera, lwsim::Scene::kCameraIds, "Camera", ""},
      {"AddDistantLight", lwsim::kLight, lwsim::Scene::kLightIds, "Light", ""},
      {"AddPointLight Key Light", lwsim::kLight, lwsim::Scene::kLightIds, "Key Light", ""},
      {"AddSpotlight", lwsim::kLight, lwsim::Scene::kLightIds, "Light", ""},
      {"LoadObject Objects/Arm.lwo", lwsim::kObject, lwsim::Scene::kObjectIds, "Arm", "Objects/Arm.lwo"},
      {"AddBone Upper Arm", lwsim::kBone, lwsim::Scene::kBoneIds, "Upper Arm", ""},
      {"AddBone", lwsim::kBone, lwsim::Scene::kBoneIds, "Bone", ""},  // on the selected bone's object
      {"LoadObject C:\\Content\\Hand.v2.lwo", lwsim::kObject, lwsim::Scene::kObjectIds, "Hand.v2", "C:\\Content\\Hand.v2.lwo"},
      {"LoadObject  /content/Upper Body.lwo ", lwsim::kObject, lwsim::Scene::kObjectIds, "Upper Body", "/content/Upper Body.lwo"},
      {"LoadObject Plain", lwsim::kObject, lwsim::Scene::kObjectIds, "Plain", "Plain"},
      // clang-format on
  };
  std::vector<std::uintptr_t> ids;
  for (const auto &c : cases) {
    ASSERT_EQ(run(c.line), 1) << c.line;
    const lwsim::SceneItem &added = *scene().items().back();
    EXPECT_EQ(added.type, c.type) << c.line;
    EXPECT_EQ(added.name, c.name) << c.line;
    EXPECT_EQ(added.fileName, c.fileName) << c.line;
    EXPECT_EQ(added.id & 0xF0000000u, c.idBase) << c.line;
    EXPECT_EQ(scene().find(added.id), &added) << c.line;
    EXPECT_THAT(scene().selection(), ElementsAre(&added)) << c.line;
    EXPECT_EQ(added.owner, c.type == lwsim::kBone ? &item("Arm") : nullptr) << c.line;
    EXPECT_EQ(added.parent, added.owner) << c.line;
    for (std::uintptr_t earlier : ids) EXPECT_NE(earlier, added.id) << c.line;
    ids.push_back(added.id);
  }
  EXPECT_EQ(scene().items().front()->id, lwsim::Scene::kObjectIds) << "ordinals start at 0";
  EXPECT_THAT(transcript(), IsEmpty());
}

// A bone needs a selected object or bone; Rename renames the first selected
// item and its channel group; the selection commands choose items by id
// (hexadecimal or decimal; no item twice, order kept) and by name.
TEST_F(SceneCommandsTest, SelectionCommandsAndTheCommandsThatNeedASelection) {
  std::vector<int> results;
  for (const char *line : {"AddBone", "Rename Nobody", "AddCamera", "AddBone", "AddPointLight", "AddBone Tip",
                           "AddNull First", "AddNull Beta", "AddNull Left Arm", "ClearSelection", "AddBone"})
    results.push_back(run(line));
  EXPECT_THAT(results, ElementsAre(0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0));
  accept({"SelectByName First", "AddToSelection @Beta", "Rename  Alpha "});
  lwsim::SceneItem &first = *scene().items()[2];
  EXPECT_EQ(first.name, "Alpha");
  EXPECT_EQ(first.group->name(), "Alpha");
  EXPECT_EQ(scene().findByName("First"), nullptr);
  EXPECT_EQ(item("Beta").group->name(), "Beta");
  EXPECT_EQ(run("Rename"), 0) << "no name";
  EXPECT_EQ(first.name, "Alpha");
  EXPECT_EQ(scene().items().size(), 5u);
  EXPECT_THAT(transcript(), ElementsAre("refused: AddBone", "refused: Rename Nobody", "refused: AddBone",
                                        "refused: AddBone Tip", "refused: AddBone", "refused: Rename"));
  accept({"SelectItem @Beta"});
  EXPECT_THAT(selectedNames(), ElementsAre("Beta"));
  accept({"SelectItem " + std::to_string(item("Alpha").id), "AddToSelection @Left Arm", "AddToSelection @Beta",
          "AddToSelection @Alpha"});
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha", "Left Arm", "Beta"));
  accept({"RemoveFromSelection @Left Arm", "RemoveFromSelection @Left Arm"});
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha", "Beta"));
  accept({"SelectByName Left Arm"});
  EXPECT_THAT(selectedNames(), ElementsAre("Left Arm"));
  accept({"ClearSelection"});
  EXPECT_THAT(selectedNames(), IsEmpty());
}

// Refused lines change nothing and each shows as refused.
TEST_F(SceneCommandsTest, UnknownWordsAndMalformedArgumentsAreRefusedAndChangeNothing) {
  accept({"AddCamera Cam", "AddNull Body", "AddToSelection @Cam"});
  // One line per check that refuses: unknown word, argument count, number,
  // finite number, range, item id or name, stray argument.
  // clang-format off
  const char *const refused[] = {
      "AddNulls", "Bogus 1 2 3", "Position 1 2", "Position 1 2 3 4", "Position 1 2 x", "Position 1,5 2 3",
      "Position inf 0 0", "Reset now", "CreateKey 1 0", "CreateKey x 0 7", "CreateKey 1 x 7", "CreateKey 1 0 x",
      "GoToFrame x", "GoToFrame nan", "ZoomFactor x", "ZoomFactor 0", "FrameSize 640", "FrameSize 0 480",
      "FrameSize 640 -1", "FrameSize 64.5 480", "SchematicPosition 1", "FirstFrame 1.5", "FrameStep 0",
      "AddEnvelope", "AddEnvelope Two Words", "AddEnvelope Scale.X", "RefreshNow please", "LoadObject dir/",
      "LoadObject", "SelectItem 0x10000009", "SelectItem zz", "SelectItem 0x10000000 0x30000000",
      "RemoveFromSelection 0x30000001", "SelectByName Bod", "ClearSelection now"};
  // clang-format on
  for (const std::string line : refused) EXPECT_EQ(run(line), 0) << line;

  EXPECT_THAT(selectedNames(), ElementsAre("Body", "Cam"));
  for (const char *name : {"Cam", "Body"}) {
    expectShown(name, kNeutral, false);
    expectUnkeyed(name);
    EXPECT_EQ(channelsNamed(name, "Dissolve"), 0u);
    EXPECT_EQ(std::make_pair(item(name).schematicX, item(name).schematicY), std::make_pair(0.0, 0.0));
  }
  const lwsim::SceneItem defaults;
  EXPECT_EQ(std::make_tuple(item("Cam").zoomFactor, item("Cam").resolutionWidth, item("Cam").resolutionHeight),
            std::make_tuple(defaults.zoomFactor, defaults.resolutionWidth, defaults.resolutionHeight));
  EXPECT_EQ(scene().time(), 0.0);
  for (const lwsim::FrameRange *range : {&scene().renderRange(), &scene().previewRange()})
    EXPECT_THAT((std::array{range->first, range->last, range->step}), ElementsAre(1, 60, 1));
  EXPECT_EQ(scene().items().size(), 2u);
  std::vector<std::string> expected;
  for (const std::string line : refused) expected.push_back("refused: " + line);
  EXPECT_THAT(transcript(), ElementsAreArray(expected));
  EXPECT_EQ(run("RefreshNow"), 1);
}

// Position, Rotation (degrees) and Scale set the shown pose of the selected
// items without keying, their Add forms add to it, a camera has no scale,
// Reset shows the neutral pose and GoToFrame drops the pose for the
// envelopes' values at the new time.
TEST_F(SceneCommandsTest, PoseCommandsSetTheShownPoseOfTheSelectedItemsWithoutKeying) {
  accept({"AddNull Other", "AddCamera Cam", "AddNull A", "AddToSelection @Cam", "Position 1.5 -2 0.25",
          "Rotation 90 -45 180", "Scale 2 0.5 +3"});
  expectShown("A", {1.5, -2.0, 0.25, kPi / 2, -kPi / 4, kPi, 2.0, 0.5, 3.0}, true);
  expectShown("Cam", {1.5, -2.0, 0.25, kPi / 2, -kPi / 4, kPi, 1, 1, 1}, true);
  expectShown("Other", kNeutral, false);
  for (const char *name : {"A", "Cam", "Other"}) expectUnkeyed(name);

  // The envelopes show 2 and 0.5 until the item is posed.
  accept({"AddNull B"});
  envelope("B", "Position.X").createKey(0.0, 2.0);
  envelope("B", "Scale.Y").createKey(0.0, 0.5);
  accept({"AddPosition 1 -1 0.5", "AddPosition 1 1 1", "AddRotation 90 0 -30", "AddRotation 90 10 0",
          "AddScale 1 1 -0.25"});
  expectShown("B", {4.0, 0.0, 1.5, kPi, kPi / 18, -kPi / 6, 2.0, 1.5, 0.75}, true);
  EXPECT_EQ(envelope("B", "Position.X").keyCount(), 1u) << "posing keys nothing";

  accept({"SelectByName A", "Reset"});
  expectShown("A", kNeutral, true);
  expectShown("B", {4.0, 0.0, 1.5, kPi, kPi / 18, -kPi / 6, 2.0, 1.5, 0.75}, true);

  envelope("B", "Position.X").createKey(1.0, 4.0);
  accept({"GoToFrame 15"});
  EXPECT_DOUBLE_EQ(scene().time(), 0.5) << "30 frames per second";
  expectShown("B", {3.0, 0, 0, 0, 0, 0, 1, 0.5, 1}, false);
  scene().setFramesPerSecond(24.0);
  for (const auto &[frame, seconds] : {std::pair{"36", 1.5}, {"6.6", 0.275}, {"-12", -0.5}}) {
    accept({std::string("GoToFrame ") + frame});
    EXPECT_DOUBLE_EQ(scene().time(), seconds) << frame;
  }
}

// Layout's Auto Key Create keys what posing changes at the current time:
// "modified" the changed channels, "existing" the posed channels' keys at
// that time, "all" every motion channel.
TEST_F(SceneCommandsTest, AutoKeyCreateKeysPosedItemsAtTheCurrentTimeByItsMode) {
  accept({"AddNull A", "GoToFrame 15"});
  host_.snapshots().setAutoKeyCreate(LWAKC_MODIFIED);
  accept({"Position 2 0 0"});
  EXPECT_EQ(keyAt("A", "Position.X", 0.5), 2.0);
  EXPECT_EQ(envelope("A", "Position.Y").keyCount(), 1u) << "an unchanged channel";

  host_.snapshots().setAutoKeyCreate(LWAKC_EXISTING);
  accept({"GoToFrame 30", "Position 3 3 0"});
  EXPECT_EQ(envelope("A", "Position.X").keyCount(), 2u) << "no key at 1 s to update";
  accept({"GoToFrame 15", "Position 4 5 0"});
  EXPECT_EQ(keyAt("A", "Position.X", 0.5), 4.0);
  EXPECT_EQ(envelope("A", "Position.Y").keyCount(), 1u);

  host_.snapshots().setAutoKeyCreate(LWAKC_ALL);
  accept({"Rotation 90 0 0"});
  for (std::size_t slot = 0; slot < 9; ++slot)
    EXPECT_NEAR(keyAt("A", lwsim::kMotionChannels[slot], 0.5), shown("A", slot), 1e-12) << slot;

  host_.snapshots().setAutoKeyCreate(LWAKC_OFF);
  accept({"GoToFrame 45", "Position 9 9 9"});
  EXPECT_EQ(envelope("A", "Position.X").findKey(1.5), nullptr);
}

// CreateKey keys the masked channels of the selected items with the shown
// pose, keeps the other keys, replaces one at the same time and keys only
// the six channels of a camera.
TEST_F(SceneCommandsTest, CreateKeyKeysTheMaskedChannelsOfTheSelectedItemsWithTheShownPose) {
  accept({"AddNull Other", "AddNull A", "Position 1 2 3", "Rotation 0 30 0", "Scale 1 1 4", "AddCamera B",
          "Position -1 -2 -3", "Rotation 0 -60 0", "AddToSelection @A"});
  // Position.X, Rotation.P and Scale.Z: bits 0, 4 and 8.
  accept({"CreateKey 1.5 0 273"});
  for (const char *name : {"A", "B"}) {
    for (std::size_t slot = 0; slot < (name[0] == 'A' ? 9 : 6); ++slot) {
      const lwsim::Envelope &motion = envelope(name, lwsim::kMotionChannels[slot]);
      ASSERT_EQ(motion.keyCount(), slot == 0 || slot == 4 || slot == 8 ? 2u : 1u) << name << slot;
      EXPECT_EQ(motion.key(0).value, kNeutral[slot]) << "the existing key is kept";
    }
  }
  EXPECT_EQ(keyAt("A", "Position.X", 1.5), 1.0);
  EXPECT_NEAR(keyAt("A", "Rotation.P", 1.5), kPi / 6, 1e-12);
  EXPECT_EQ(keyAt("A", "Scale.Z", 1.5), 4.0);
  EXPECT_EQ(keyAt("B", "Position.X", 1.5), -1.0);
  EXPECT_NEAR(keyAt("B", "Rotation.P", 1.5), -kPi / 3, 1e-12);
  expectUnkeyed("Other");

  accept({"Position 7 8 9", "CreateKey 1.5 0 1"});
  EXPECT_EQ(envelope("A", "Position.X").keyCount(), 2u);
  EXPECT_EQ(keyAt("A", "Position.X", 1.5), 7.0);
  EXPECT_EQ(keyAt("B", "Position.X", 1.5), 7.0);
  accept({"CreateKey 2 0 0x1FF"});
  for (std::size_t slot = 0; slot < 9; ++slot)
    EXPECT_NEAR(keyAt("A", lwsim::kMotionChannels[slot], 2.0), shown("A", slot), 1e-12) << slot;
  EXPECT_EQ(keyAt("B", "Position.Z", 2.0), 9.0);
  for (std::size_t slot = 6; slot < 9; ++slot)
    EXPECT_EQ(scene().findChannel(item("B"), lwsim::kMotionChannels[slot]), nullptr) << "no channel is added";
  expectUnkeyed("Other");
}

// AddEnvelope adds one channel to each selected item once, starting from
// the parameter's value; ZoomFactor and FrameSize change the selected
// cameras, SchematicPosition every selected item; the range commands set
// the render and preview ranges.
TEST_F(SceneCommandsTest, EnvelopeCameraSchematicAndRangeCommandsChangeTheSelectionOrTheScene) {
  accept({"AddCamera Unselected", "AddNull Body", "AddCamera Cam", "AddToSelection @Body", "ZoomFactor 1.75",
          "FrameSize 1920 1080", "SchematicPosition 1.5 -20", "AddEnvelope Dissolve", "AddEnvelope Dissolve",
          "AddEnvelope ZoomFactor", "FirstFrame 10", "LastFrame 240", "FrameStep 2", "PreviewFirstFrame -5",
          "PreviewLastFrame 120", "PreviewFrameStep 3"});
  const lwsim::SceneItem defaults;
  for (const char *name : {"Unselected", "Body", "Cam"}) {
    const bool camera = name[0] == 'C', selected = name[0] != 'U';
    EXPECT_EQ(item(name).zoomFactor, camera ? 1.75 : defaults.zoomFactor) << name;
    EXPECT_EQ(item(name).resolutionWidth, camera ? 1920 : defaults.resolutionWidth) << name;
    EXPECT_EQ(item(name).resolutionHeight, camera ? 1080 : defaults.resolutionHeight) << name;
    EXPECT_EQ(item(name).schematicX, selected ? 1.5 : 0.0) << name;
    EXPECT_EQ(item(name).schematicY, selected ? -20.0 : 0.0) << name;
    EXPECT_EQ(channelsNamed(name, "Dissolve"), selected ? 1u : 0u) << name;
    EXPECT_EQ(item(name).group->channels().size(), camera ? 8u : selected ? 10u : 6u) << name;
  }
  EXPECT_EQ(channelsNamed("Body", "ZoomFactor"), 0u) << "only a camera has a zoom";
  ASSERT_EQ(envelope("Cam", "ZoomFactor").keyCount(), 1u);
  EXPECT_EQ(envelope("Cam", "ZoomFactor").key(0).value, 1.75);
  const lwsim::FrameRange &render = scene().renderRange(), &preview = scene().previewRange();
  EXPECT_THAT((std::array{render.first, render.last, render.step}), ElementsAre(10, 240, 2));
  EXPECT_THAT((std::array{preview.first, preview.last, preview.step}), ElementsAre(-5, 120, 3));
}

TEST_F(SceneCommandsTest, NumbersAreReadInTheCNotationUnderADecimalCommaLocale) {
  accept({"AddCamera Cam"});
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  const std::vector<int> results = {
      run("GoToFrame 7.5"),    run("Position 1.5 -2.25 0.125"),   run("Rotation 22.5 0 0"),
      run("ZoomFactor 2.5"),   run("SchematicPosition 0.5 1.25"), run("CreateKey 0.5 0 1"),
      run("Position 1,5 0 0"),
  };
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(native, "1,5") << "the locale was in effect";
  EXPECT_THAT(results, ElementsAre(1, 1, 1, 1, 1, 1, 0));
  EXPECT_DOUBLE_EQ(scene().time(), 0.25);
  expectShown("Cam", {1.5, -2.25, 0.125, kPi / 8, 0, 0, 1, 1, 1}, true);
  EXPECT_EQ(std::make_tuple(item("Cam").zoomFactor, item("Cam").schematicX, item("Cam").schematicY),
            std::make_tuple(2.5, 0.5, 1.25));
  EXPECT_EQ(keyAt("Cam", "Position.X", 0.5), 1.5);
}

}  // namespace
