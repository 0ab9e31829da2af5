// The host's scene commands as a module issues them: building items, the
// selection, posing and keying, time, envelopes, camera and scene settings,
// and the lines the host refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/host.h"
#include "support/decimal_comma_locale.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr double kPi = std::numbers::pi;

std::string hexId(const lwsim::SceneItem &item) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(item.id));
  return text;
}

class SceneCommandsTest : public ::testing::Test {
 protected:
  int run(const std::string &line) { return host_.commands().run(line); }
  // Runs a line that must be accepted.
  void accept(const std::string &line) { ASSERT_EQ(run(line), 1) << line; }

  lwsim::Scene &scene() { return host_.scene(); }
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }

  lwsim::SceneItem &item(const std::string &name) {
    lwsim::SceneItem *found = scene().findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }
  std::vector<std::string> selectedNames() {
    std::vector<std::string> names;
    for (const lwsim::SceneItem *selected : scene().selection()) names.push_back(selected->name);
    return names;
  }
  double shown(const std::string &name, std::size_t slot) { return host_.pose().shown(item(name), slot); }
  lwsim::Envelope &envelope(const std::string &name, const std::string &channel) {
    lwsim::Channel *found = scene().findChannel(item(name), channel);
    if (found == nullptr) throw std::runtime_error("no channel " + channel + " of " + name);
    return found->envelope();
  }
  std::size_t channelsNamed(const std::string &name, const std::string &channel) {
    std::size_t count = 0;
    for (const auto &each : item(name).group->channels()) count += each->name() == channel ? 1 : 0;
    return count;
  }
  // Only the key every new item has at time 0.
  void expectUnkeyed(const std::string &name) {
    const std::size_t channels = item(name).type == lwsim::kCamera ? 6 : 9;
    for (std::size_t slot = 0; slot < channels; ++slot) {
      const lwsim::Envelope &motion = envelope(name, lwsim::kMotionChannels[slot]);
      ASSERT_EQ(motion.keyCount(), 1u) << name << " " << lwsim::kMotionChannels[slot];
      EXPECT_EQ(motion.key(0).time, 0.0);
      EXPECT_EQ(motion.key(0).value, slot >= 6 ? 1.0 : 0.0) << name << " " << lwsim::kMotionChannels[slot];
    }
  }

  lwsim::Host host_;
};

// ---- building items ----

TEST_F(SceneCommandsTest, NewItemsGetTheirKindAndNameAndBecomeTheOnlySelection) {
  struct Case {
    const char *line;
    int type;
    std::uintptr_t idBase;
    const char *name;
  };
  const Case cases[] = {
      {"AddNull", lwsim::kObject, lwsim::Scene::kObjectIds, "Null"},
      {"AddNull Left Arm", lwsim::kObject, lwsim::Scene::kObjectIds, "Left Arm"},
      {"AddCamera", lwsim::kCamera, lwsim::Scene::kCameraIds, "Camera"},
      {"AddCamera Close Up", lwsim::kCamera, lwsim::Scene::kCameraIds, "Close Up"},
      {"AddDistantLight", lwsim::kLight, lwsim::Scene::kLightIds, "Light"},
      {"AddPointLight Key Light", lwsim::kLight, lwsim::Scene::kLightIds, "Key Light"},
      {"AddSpotlight", lwsim::kLight, lwsim::Scene::kLightIds, "Light"},
      {"AddAreaLight Fill", lwsim::kLight, lwsim::Scene::kLightIds, "Fill"},
  };
  std::vector<std::uintptr_t> ids;
  for (const Case &c : cases) {
    ASSERT_EQ(run(c.line), 1) << c.line;
    const lwsim::SceneItem &added = *scene().items().back();
    EXPECT_EQ(added.type, c.type) << c.line;
    EXPECT_EQ(added.name, c.name) << c.line;
    EXPECT_EQ(added.fileName, "") << c.line;
    EXPECT_EQ(added.id & 0xF0000000u, c.idBase) << c.line;
    EXPECT_EQ(scene().find(added.id), &added) << c.line;
    EXPECT_THAT(scene().selection(), ElementsAre(&added)) << c.line;
    for (std::uintptr_t earlier : ids) EXPECT_NE(earlier, added.id) << c.line;
    ids.push_back(added.id);
  }
  EXPECT_EQ(scene().items().size(), std::size(cases));
  EXPECT_EQ(scene().items().front()->id, lwsim::Scene::kObjectIds) << "ordinals start at 0";
  EXPECT_THAT(transcript(), IsEmpty());
}

TEST_F(SceneCommandsTest, LoadObjectNamesTheObjectAfterTheFilesBaseName) {
  struct Case {
    const char *path;
    const char *name;
  };
  const Case cases[] = {
      {"Objects/Arm.lwo", "Arm"},
      {"C:\\Content\\Objects\\Hand.v2.lwo", "Hand.v2"},
      {"/content/objects/Upper Body.lwo", "Upper Body"},
      {"Plain", "Plain"},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(run(std::string("LoadObject ") + c.path), 1) << c.path;
    const lwsim::SceneItem &loaded = *scene().items().back();
    EXPECT_EQ(loaded.type, lwsim::kObject);
    EXPECT_EQ(loaded.name, c.name);
    EXPECT_EQ(loaded.fileName, c.path);
    EXPECT_THAT(scene().selection(), ElementsAre(&loaded));
  }
  EXPECT_EQ(run("LoadObject"), 0);
  EXPECT_EQ(scene().items().size(), std::size(cases));
  EXPECT_THAT(transcript(), ElementsAre("refused: LoadObject"));
}

TEST_F(SceneCommandsTest, AddBoneNeedsASelectedObjectOrBone) {
  EXPECT_EQ(run("AddBone"), 0) << "nothing selected";
  accept("AddCamera");
  EXPECT_EQ(run("AddBone"), 0) << "a camera selected";
  accept("AddPointLight");
  EXPECT_EQ(run("AddBone Tip"), 0) << "a light selected";
  EXPECT_EQ(scene().items().size(), 2u);

  accept("AddNull Body");
  accept("AddBone Upper Arm");
  const lwsim::SceneItem &upper = item("Upper Arm");
  EXPECT_EQ(upper.type, lwsim::kBone);
  EXPECT_EQ(upper.owner, &item("Body"));
  EXPECT_EQ(upper.parent, &item("Body"));
  EXPECT_EQ(upper.id & 0xF0000000u, lwsim::Scene::kBoneIds);
  EXPECT_THAT(scene().selection(), ElementsAre(&upper));

  accept("AddBone");  // a bone selected: the new bone belongs to its object
  const lwsim::SceneItem &second = *scene().items().back();
  EXPECT_EQ(second.type, lwsim::kBone);
  EXPECT_EQ(second.name, "Bone");
  EXPECT_EQ(second.owner, &item("Body"));
  EXPECT_THAT(scene().selection(), ElementsAre(&second));

  accept("ClearSelection");
  EXPECT_EQ(run("AddBone"), 0);
  EXPECT_EQ(scene().items().size(), 5u);
  EXPECT_THAT(transcript(),
              ElementsAre("refused: AddBone", "refused: AddBone", "refused: AddBone Tip", "refused: AddBone"));
}

TEST_F(SceneCommandsTest, RenameRenamesTheFirstSelectedItemAndItsChannelGroup) {
  EXPECT_EQ(run("Rename Nobody"), 0) << "nothing selected";
  accept("AddNull First");
  accept("AddNull Second");
  accept("SelectByName First");
  accept("AddToSelection " + hexId(item("Second")));
  lwsim::SceneItem &first = item("First");
  accept("Rename Left Arm");
  EXPECT_EQ(first.name, "Left Arm");
  EXPECT_EQ(first.group->name(), "Left Arm");
  EXPECT_EQ(scene().findByName("Left Arm"), &first);
  EXPECT_EQ(scene().findByName("First"), nullptr);
  EXPECT_EQ(item("Second").group->name(), "Second");
  EXPECT_EQ(run("Rename"), 0) << "no name";
  EXPECT_EQ(first.name, "Left Arm");
  EXPECT_THAT(transcript(), ElementsAre("refused: Rename Nobody", "refused: Rename"));
}

// ---- selection ----

TEST_F(SceneCommandsTest, SelectionCommandsChooseItemsByIdAndName) {
  accept("AddNull Alpha");
  accept("AddNull Beta");
  accept("AddNull Left Arm");
  accept("SelectItem " + hexId(item("Beta")));
  EXPECT_THAT(selectedNames(), ElementsAre("Beta"));
  accept("SelectItem " + std::to_string(item("Alpha").id));  // decimal works too
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha"));
  accept("AddToSelection " + hexId(item("Left Arm")));
  accept("AddToSelection " + hexId(item("Beta")));
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha", "Left Arm", "Beta"));
  accept("AddToSelection " + hexId(item("Alpha")));
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha", "Left Arm", "Beta")) << "no item twice, order kept";
  accept("RemoveFromSelection " + hexId(item("Left Arm")));
  accept("RemoveFromSelection " + hexId(item("Left Arm")));
  EXPECT_THAT(selectedNames(), ElementsAre("Alpha", "Beta"));
  accept("SelectByName Left Arm");
  EXPECT_THAT(selectedNames(), ElementsAre("Left Arm"));

  const std::vector<std::string> refused = {
      "SelectItem",
      "SelectItem 0x10000009",
      "SelectItem 0x0",
      "SelectItem zz",
      "SelectItem " + hexId(item("Alpha")) + " " + hexId(item("Beta")),
      "AddToSelection",
      "AddToSelection 0x30000001",
      "RemoveFromSelection",
      "RemoveFromSelection 0x30000001",
      "SelectByName Nobody",
      "SelectByName Left",
      "SelectByName",
      "ClearSelection now",
  };
  for (const std::string &line : refused) EXPECT_EQ(run(line), 0) << line;
  EXPECT_THAT(selectedNames(), ElementsAre("Left Arm")) << "refused lines keep the selection";
  accept("ClearSelection");
  EXPECT_THAT(selectedNames(), IsEmpty());

  std::vector<std::string> expected;
  for (const std::string &line : refused) expected.push_back("refused: " + line);
  EXPECT_THAT(transcript(), ElementsAreArray(expected));
}

// ---- refusals ----

TEST_F(SceneCommandsTest, UnknownWordsAndMalformedArgumentsAreRefusedAndChangeNothing) {
  accept("AddCamera Cam");
  accept("AddNull Body");
  accept("AddToSelection " + hexId(item("Cam")));
  const lwsim::SceneItem cameraBefore = item("Cam");
  const std::vector<std::string> refused = {
      "AddNulls",
      "Bogus 1 2 3",
      "Position",
      "Position 1 2",
      "Position 1 2 3 4",
      "Position 1 2 x",
      "Position 1,5 2 3",
      "Rotation 90 0",
      "Scale a b c",
      "AddPosition 1",
      "AddRotation",
      "AddScale 1 2 3 4",
      "Reset now",
      "CreateKey",
      "CreateKey 1 0",
      "CreateKey 1 0 7 1",
      "CreateKey x 0 7",
      "CreateKey 1 x 7",
      "CreateKey 1 0 x",
      "GoToFrame",
      "GoToFrame x",
      "GoToFrame 1 2",
      "ZoomFactor",
      "ZoomFactor 2 3",
      "ZoomFactor x",
      "FrameSize 640",
      "FrameSize 640 480 1",
      "FrameSize 0 480",
      "FrameSize 640 -1",
      "FrameSize 64.5 480",
      "FrameSize a b",
      "SchematicPosition 1",
      "SchematicPosition 1 2 3",
      "SchematicPosition a b",
      "FirstFrame",
      "FirstFrame 1.5",
      "LastFrame x",
      "FrameStep 1 2",
      "PreviewFirstFrame",
      "PreviewLastFrame 2.5",
      "PreviewFrameStep y",
      "AddEnvelope",
      "AddEnvelope Two Words",
      "AddEnvelope Scale.X",
      "RefreshNow please",
      "GoToFrame nan",
      "GoToFrame inf",
      "Position inf 0 0",
      "ZoomFactor 0",
      "ZoomFactor -2",
      "FrameStep 0",
      "PreviewFrameStep -3",
      "LoadObject dir/",
      "LoadObject ",
  };
  for (const std::string &line : refused) EXPECT_EQ(run(line), 0) << line;

  for (const char *name : {"Cam", "Body"}) {
    for (std::size_t slot = 0; slot < 9; ++slot) EXPECT_FALSE(host_.pose().isPosed(item(name), slot)) << name;
    expectUnkeyed(name);
    EXPECT_EQ(channelsNamed(name, "Dissolve"), 0u);
    EXPECT_EQ(item(name).schematicX, 0.0);
    EXPECT_EQ(item(name).schematicY, 0.0);
  }
  EXPECT_EQ(item("Cam").zoomFactor, cameraBefore.zoomFactor);
  EXPECT_EQ(item("Cam").resolutionWidth, cameraBefore.resolutionWidth);
  EXPECT_EQ(item("Cam").resolutionHeight, cameraBefore.resolutionHeight);
  EXPECT_EQ(scene().time(), 0.0);
  const lwsim::FrameRange defaults;
  for (const lwsim::FrameRange *range : {&scene().renderRange(), &scene().previewRange()}) {
    EXPECT_EQ(range->first, defaults.first);
    EXPECT_EQ(range->last, defaults.last);
    EXPECT_EQ(range->step, defaults.step);
  }
  EXPECT_EQ(scene().items().size(), 2u);

  std::vector<std::string> expected;
  for (const std::string &line : refused) expected.push_back("refused: " + line);
  EXPECT_THAT(transcript(), ElementsAreArray(expected));
  EXPECT_EQ(run("RefreshNow"), 1);
}

// ---- posing ----

TEST_F(SceneCommandsTest, PoseCommandsSetTheShownPoseOfTheSelectedItemsWithoutKeying) {
  accept("AddNull Other");
  accept("AddNull A");
  accept("AddNull B");
  accept("AddToSelection " + hexId(item("A")));
  accept("Position 1.5 -2 0.25");
  accept("Rotation 90 -45 180");
  accept("Scale 2 0.5 +3");
  const double expected[9] = {1.5, -2.0, 0.25, kPi / 2, -kPi / 4, kPi, 2.0, 0.5, 3.0};
  for (const char *name : {"A", "B"}) {
    for (std::size_t slot = 0; slot < 9; ++slot) {
      EXPECT_NEAR(shown(name, slot), expected[slot], 1e-12) << name << " slot " << slot;
      EXPECT_TRUE(host_.pose().isPosed(item(name), slot));
    }
    expectUnkeyed(name);
  }
  for (std::size_t slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(shown("Other", slot), slot >= 6 ? 1.0 : 0.0) << slot;
    EXPECT_FALSE(host_.pose().isPosed(item("Other"), slot));
  }
  expectUnkeyed("Other");
}

TEST_F(SceneCommandsTest, AddFormsAddToTheShownPose) {
  accept("AddNull A");
  // The envelopes show 2 and 0.5 until the item is posed.
  envelope("A", "Position.X").createKey(0.0, 2.0);
  envelope("A", "Scale.Y").createKey(0.0, 0.5);
  accept("AddPosition 1 -1 0.5");
  EXPECT_DOUBLE_EQ(shown("A", 0), 3.0);
  EXPECT_DOUBLE_EQ(shown("A", 1), -1.0);
  EXPECT_DOUBLE_EQ(shown("A", 2), 0.5);
  accept("AddPosition 1 1 1");
  EXPECT_DOUBLE_EQ(shown("A", 0), 4.0);
  EXPECT_DOUBLE_EQ(shown("A", 1), 0.0);
  EXPECT_DOUBLE_EQ(shown("A", 2), 1.5);
  accept("AddRotation 90 0 -30");
  accept("AddRotation 90 10 0");
  EXPECT_NEAR(shown("A", 3), kPi, 1e-12);
  EXPECT_NEAR(shown("A", 4), kPi / 18, 1e-12);
  EXPECT_NEAR(shown("A", 5), -kPi / 6, 1e-12);
  accept("AddScale 1 1 -0.25");
  EXPECT_DOUBLE_EQ(shown("A", 6), 2.0);
  EXPECT_DOUBLE_EQ(shown("A", 7), 1.5);
  EXPECT_DOUBLE_EQ(shown("A", 8), 0.75);
  EXPECT_EQ(envelope("A", "Position.X").keyCount(), 1u);
  EXPECT_EQ(envelope("A", "Position.X").key(0).value, 2.0) << "posing keys nothing";
}

TEST_F(SceneCommandsTest, ACameraIsPosedWithoutScale) {
  accept("AddCamera Cam");
  accept("Position 1 2 3");
  accept("Scale 2 2 2");
  EXPECT_EQ(shown("Cam", 0), 1.0);
  EXPECT_EQ(shown("Cam", 2), 3.0);
  for (std::size_t slot = 6; slot < 9; ++slot) {
    EXPECT_EQ(shown("Cam", slot), 1.0);
    EXPECT_FALSE(host_.pose().isPosed(item("Cam"), slot));
  }
}

TEST_F(SceneCommandsTest, ResetShowsTheNeutralPoseOfTheSelectedItems) {
  accept("AddNull Kept");
  accept("AddNull Reset");
  accept("SelectByName Kept");
  accept("AddToSelection " + hexId(item("Reset")));
  accept("Position 1 2 3");
  accept("Rotation 10 20 30");
  accept("Scale 4 5 6");
  accept("SelectByName Reset");
  accept("Reset");
  const double neutral[9] = {0, 0, 0, 0, 0, 0, 1, 1, 1};
  const double kept[9] = {1, 2, 3, 10 * kPi / 180, 20 * kPi / 180, 30 * kPi / 180, 4, 5, 6};
  for (std::size_t slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(shown("Reset", slot), neutral[slot]) << slot;
    EXPECT_NEAR(shown("Kept", slot), kept[slot], 1e-12) << slot;
  }
}

// Layout's Auto Key Create keys what posing changes at the current time:
// "modified" the changed channels, "existing" the posed channels' keys at
// that time, "all" every motion channel.
TEST_F(SceneCommandsTest, AutoKeyCreateKeysPosedItemsAtTheCurrentTimeByItsMode) {
  accept("AddNull A");
  accept("GoToFrame 15");
  host_.snapshots().setAutoKeyCreate(LWAKC_MODIFIED);
  accept("Position 2 0 0");
  ASSERT_NE(envelope("A", "Position.X").findKey(0.5), nullptr);
  EXPECT_EQ(envelope("A", "Position.X").findKey(0.5)->value, 2.0);
  EXPECT_EQ(envelope("A", "Position.Y").keyCount(), 1u) << "an unchanged channel";

  host_.snapshots().setAutoKeyCreate(LWAKC_EXISTING);
  accept("GoToFrame 30");
  accept("Position 3 3 0");
  EXPECT_EQ(envelope("A", "Position.X").keyCount(), 2u) << "no key at 1 s to update";
  accept("GoToFrame 15");
  accept("Position 4 5 0");
  EXPECT_EQ(envelope("A", "Position.X").findKey(0.5)->value, 4.0);
  EXPECT_EQ(envelope("A", "Position.Y").keyCount(), 1u);

  host_.snapshots().setAutoKeyCreate(LWAKC_ALL);
  accept("Rotation 90 0 0");
  for (std::size_t slot = 0; slot < 9; ++slot) {
    const lwsim::EnvelopeKey *key = envelope("A", lwsim::kMotionChannels[slot]).findKey(0.5);
    ASSERT_NE(key, nullptr) << slot;
    EXPECT_NEAR(key->value, shown("A", slot), 1e-12) << slot;
  }

  host_.snapshots().setAutoKeyCreate(LWAKC_OFF);
  accept("GoToFrame 45");
  accept("Position 9 9 9");
  EXPECT_EQ(envelope("A", "Position.X").findKey(1.5), nullptr);
}

// ---- keying ----

TEST_F(SceneCommandsTest, CreateKeyKeysTheMaskedChannelsOfTheSelectedItemsWithTheShownPose) {
  accept("AddNull Other");
  accept("AddNull A");
  accept("Position 1 2 3");
  accept("Rotation 0 30 0");
  accept("Scale 1 1 4");
  accept("AddNull B");
  accept("Position -1 -2 -3");
  accept("Rotation 0 -60 0");
  accept("Scale 1 1 0.5");
  accept("AddToSelection " + hexId(item("A")));
  // Position.X, Rotation.P and Scale.Z: bits 0, 4 and 8.
  accept("CreateKey 1.5 0 273");
  const struct {
    const char *name;
    double x, pitch, scaleZ;
  } keyed[] = {{"A", 1.0, kPi / 6, 4.0}, {"B", -1.0, -kPi / 3, 0.5}};
  for (const auto &k : keyed) {
    for (std::size_t slot = 0; slot < 9; ++slot) {
      const lwsim::Envelope &motion = envelope(k.name, lwsim::kMotionChannels[slot]);
      const bool masked = slot == 0 || slot == 4 || slot == 8;
      ASSERT_EQ(motion.keyCount(), masked ? 2u : 1u) << k.name << " " << lwsim::kMotionChannels[slot];
      EXPECT_EQ(motion.key(0).time, 0.0);
      EXPECT_EQ(motion.key(0).value, slot >= 6 ? 1.0 : 0.0) << "the existing key is kept";
    }
    ASSERT_NE(envelope(k.name, "Position.X").findKey(1.5), nullptr);
    EXPECT_EQ(envelope(k.name, "Position.X").findKey(1.5)->value, k.x) << k.name;
    ASSERT_NE(envelope(k.name, "Rotation.P").findKey(1.5), nullptr);
    EXPECT_NEAR(envelope(k.name, "Rotation.P").findKey(1.5)->value, k.pitch, 1e-12) << k.name;
    ASSERT_NE(envelope(k.name, "Scale.Z").findKey(1.5), nullptr);
    EXPECT_EQ(envelope(k.name, "Scale.Z").findKey(1.5)->value, k.scaleZ) << k.name;
  }
  expectUnkeyed("Other");

  // A key at the same time is replaced; a hexadecimal mask keys all nine.
  accept("Position 7 8 9");
  accept("CreateKey 1.5 0 1");
  EXPECT_EQ(envelope("A", "Position.X").keyCount(), 2u);
  EXPECT_EQ(envelope("A", "Position.X").findKey(1.5)->value, 7.0);
  EXPECT_EQ(envelope("B", "Position.X").findKey(1.5)->value, 7.0);
  accept("CreateKey 2 0 0x1FF");
  for (std::size_t slot = 0; slot < 9; ++slot) {
    const lwsim::EnvelopeKey *key = envelope("A", lwsim::kMotionChannels[slot]).findKey(2.0);
    ASSERT_NE(key, nullptr) << lwsim::kMotionChannels[slot];
    EXPECT_NEAR(key->value, shown("A", slot), 1e-12) << lwsim::kMotionChannels[slot];
  }
  EXPECT_EQ(envelope("A", "Position.Z").findKey(2.0)->value, 9.0);
  expectUnkeyed("Other");
}

TEST_F(SceneCommandsTest, CreateKeyOnACameraKeysOnlyItsSixChannels) {
  accept("AddCamera Cam");
  accept("Position 1 2 3");
  accept("CreateKey 1 0 511");
  for (std::size_t slot = 0; slot < 6; ++slot)
    EXPECT_EQ(envelope("Cam", lwsim::kMotionChannels[slot]).keyCount(), 2u) << lwsim::kMotionChannels[slot];
  EXPECT_EQ(envelope("Cam", "Position.Y").findKey(1.0)->value, 2.0);
  for (std::size_t slot = 6; slot < 9; ++slot)
    EXPECT_EQ(scene().findChannel(item("Cam"), lwsim::kMotionChannels[slot]), nullptr) << "no channel is added";
}

// ---- time ----

TEST_F(SceneCommandsTest, GoToFrameSetsTheTimeAndDropsThePose) {
  accept("AddNull A");
  accept("GoToFrame 15");
  EXPECT_DOUBLE_EQ(scene().time(), 0.5) << "30 frames per second";
  scene().setFramesPerSecond(24.0);
  accept("GoToFrame 36");
  EXPECT_DOUBLE_EQ(scene().time(), 1.5);
  accept("GoToFrame 6.6");
  EXPECT_DOUBLE_EQ(scene().time(), 0.275);

  envelope("A", "Position.X").createKey(1.0, 4.0);
  accept("Position 9 9 9");
  accept("GoToFrame 24");
  EXPECT_DOUBLE_EQ(scene().time(), 1.0);
  EXPECT_FALSE(host_.pose().isPosed(item("A"), 0));
  EXPECT_EQ(shown("A", 0), 4.0) << "the envelope's value at the new time";
  EXPECT_EQ(shown("A", 1), 0.0);
  accept("GoToFrame -12");
  EXPECT_DOUBLE_EQ(scene().time(), -0.5);
}

// ---- envelopes and settings ----

TEST_F(SceneCommandsTest, AddEnvelopeAddsOneChannelToEachSelectedItemOnce) {
  accept("AddNull Unselected");
  accept("AddNull A");
  accept("AddPointLight Lamp");
  accept("AddToSelection " + hexId(item("A")));
  const std::size_t channelsBefore = item("A").group->channels().size();
  accept("AddEnvelope Dissolve");
  accept("AddEnvelope Dissolve");
  EXPECT_EQ(channelsNamed("A", "Dissolve"), 1u);
  EXPECT_EQ(channelsNamed("Lamp", "Dissolve"), 1u);
  EXPECT_EQ(channelsNamed("Unselected", "Dissolve"), 0u);
  EXPECT_EQ(item("A").group->channels().size(), channelsBefore + 1);
  EXPECT_NE(scene().findChannel(item("A"), "Dissolve"), nullptr);
}

TEST_F(SceneCommandsTest, AddEnvelopeStartsFromTheParametersCurrentValue) {
  accept("AddCamera Cam");
  accept("ZoomFactor 2.5");
  accept("AddNull Body");
  accept("AddToSelection " + hexId(item("Cam")));
  accept("AddEnvelope ZoomFactor");
  const lwsim::Envelope &zoom = envelope("Cam", "ZoomFactor");
  ASSERT_EQ(zoom.keyCount(), 1u);
  EXPECT_EQ(zoom.key(0).value, 2.5);
  EXPECT_EQ(channelsNamed("Body", "ZoomFactor"), 0u) << "only a camera has a zoom";
}

TEST_F(SceneCommandsTest, NamesLoseTheirOuterBlanks) {
  accept("AddNull   Two  Words  ");
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"Two  Words"});
  accept("Rename  Arm ");
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"Arm"});
  accept("LoadObject  /models/Leg.lwo ");
  EXPECT_EQ(item("Leg").fileName, "/models/Leg.lwo");
}

TEST_F(SceneCommandsTest, CameraSettingsChangeTheSelectedCamerasOnly) {
  accept("AddCamera Unselected");
  accept("AddNull Body");
  accept("AddCamera Cam");
  accept("AddToSelection " + hexId(item("Body")));
  const lwsim::SceneItem defaults = item("Unselected");
  accept("ZoomFactor 1.75");
  accept("FrameSize 1920 1080");
  EXPECT_EQ(item("Cam").zoomFactor, 1.75);
  EXPECT_EQ(item("Cam").resolutionWidth, 1920);
  EXPECT_EQ(item("Cam").resolutionHeight, 1080);
  for (const char *name : {"Unselected", "Body"}) {
    EXPECT_EQ(item(name).zoomFactor, defaults.zoomFactor) << name;
    EXPECT_EQ(item(name).resolutionWidth, defaults.resolutionWidth) << name;
    EXPECT_EQ(item(name).resolutionHeight, defaults.resolutionHeight) << name;
  }
  EXPECT_NE(defaults.zoomFactor, 1.75);
  EXPECT_NE(defaults.resolutionWidth, 1920);
}

TEST_F(SceneCommandsTest, SchematicPositionMovesEverySelectedItem) {
  accept("AddNull Unselected");
  accept("AddCamera Cam");
  accept("AddNull Body");
  accept("AddToSelection " + hexId(item("Cam")));
  accept("SchematicPosition 1.5 -20");
  for (const char *name : {"Cam", "Body"}) {
    EXPECT_EQ(item(name).schematicX, 1.5) << name;
    EXPECT_EQ(item(name).schematicY, -20.0) << name;
  }
  EXPECT_EQ(item("Unselected").schematicX, 0.0);
  EXPECT_EQ(item("Unselected").schematicY, 0.0);
}

TEST_F(SceneCommandsTest, RangeCommandsSetTheScenesRenderAndPreviewRanges) {
  accept("FirstFrame 10");
  accept("LastFrame 240");
  accept("FrameStep 2");
  accept("PreviewFirstFrame -5");
  accept("PreviewLastFrame 120");
  accept("PreviewFrameStep 3");
  EXPECT_EQ(scene().renderRange().first, 10);
  EXPECT_EQ(scene().renderRange().last, 240);
  EXPECT_EQ(scene().renderRange().step, 2);
  EXPECT_EQ(scene().previewRange().first, -5);
  EXPECT_EQ(scene().previewRange().last, 120);
  EXPECT_EQ(scene().previewRange().step, 3);
}

// ---- numbers whatever the locale ----

TEST_F(SceneCommandsTest, NumbersAreReadInTheCNotationUnderADecimalCommaLocale) {
  accept("AddCamera Cam");
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
  EXPECT_EQ(shown("Cam", 0), 1.5);
  EXPECT_EQ(shown("Cam", 1), -2.25);
  EXPECT_EQ(shown("Cam", 2), 0.125);
  EXPECT_NEAR(shown("Cam", 3), kPi / 8, 1e-12);
  EXPECT_EQ(item("Cam").zoomFactor, 2.5);
  EXPECT_EQ(item("Cam").schematicX, 0.5);
  EXPECT_EQ(item("Cam").schematicY, 1.25);
  ASSERT_NE(envelope("Cam", "Position.X").findKey(0.5), nullptr);
  EXPECT_EQ(envelope("Cam", "Position.X").findKey(0.5)->value, 1.5);
}

}  // namespace
