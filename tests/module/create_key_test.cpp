// Create Key: the key window and the key time, the viewport pose against
// the envelope value as the master's marks decide, the probe leaving the
// envelopes as they were, shapes and behaviours, dissolve keys, and the
// undo of a run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "key_operations_fixture.h"
#include "key_setter/master/master_ring.h"
#include "key_setter/operations/run_settings.h"

namespace key_operations_test {
namespace {

using lwp::cks::runOperation;
using ::testing::ElementsAre;
using ::testing::Pair;

class CreateKey : public KeyOperationsTest {
 protected:
  static lwp::cks::RunSettings createAt(double frame) {
    auto settings = settingsFor(lwp::cks::kOpCreateKey);
    settings.frame = frame;
    return settings;
  }
  void activateMaster() { ASSERT_EQ(run("ActivateMasterUnique .QD:ZaraRazEzedud"), 1); }
};

TEST_F(CreateKey, TheKeysOfTheWindowAreReplacedAndTheNewKeySitsAtTheFrameTyped) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  const FrameKeys before = {{0, 4}, {11.994, 6}, {12.003, 7}, {12.004, 8}};
  setKeys(x, before);
  runOperation(createAt(12.004));
  ASSERT_EQ(x.envelope().keyCount(), 3u);
  EXPECT_EQ(x.envelope().key(2).time, 12.004 * (1.0 / kFps));
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 4), Pair(11.994, 6), Pair(12.004, 4)));
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->name(), "KeySetter");

  // Both replaced keys come back with the undo, the one off the frame too.
  history().undo();
  EXPECT_EQ(keysOf(x), before);
  history().redo();
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 4), Pair(11.994, 6), Pair(12.004, 4)));
}

TEST_F(CreateKey, EachItemIsProbedWithItsIdAndTheMaskOfItsKeyedMotionChannels) {
  lwsim::SceneItem &a = addNull("A");
  lwsim::SceneItem &b = addNull("B");
  ASSERT_EQ(run("SelectByName A"), 1);
  selectAlso(b);
  auto settings = createAt(12.004);
  settings.axes.fill(false);
  settings.axes[1] = settings.axes[5] = true;
  const std::size_t before = fixture_.commandLines().size();
  runOperation(settings);
  std::vector<std::string> lines = fixture_.commandLines();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
  char selectA[32], selectB[32];
  std::snprintf(selectA, sizeof selectA, "SelectItem 0x%x", static_cast<unsigned>(a.id));
  std::snprintf(selectB, sizeof selectB, "SelectItem 0x%x", static_cast<unsigned>(b.id));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_THAT(
      std::vector<std::string>(lines.begin(), lines.begin() + 4),
      ElementsAre(selectA, "CreateKey 0.400133333333333 0 0x022", selectB, "CreateKey 0.400133333333333 0 0x022"));
}

TEST_F(CreateKey, WithoutAResetEveryItemKeysTheViewportPose) {
  activateMaster();
  lwsim::SceneItem &null = addNull("Null");
  host().pose().set(null, 0, 9.0);
  runOperation(createAt(10));
  EXPECT_THAT(keysOf(channel(null, "Position.X")), ElementsAre(Pair(0, 0), Pair(10, 9)));
  EXPECT_THAT(keysOf(channel(null, "Scale.Y")), ElementsAre(Pair(0, 1), Pair(10, 1)));
}

TEST_F(CreateKey, AfterAResetMarkedGroupsKeyThePoseAndTheRestTheirEnvelopes) {
  activateMaster();
  lwsim::SceneItem &a = addNull("A");
  lwsim::SceneItem &b = addNull("B");
  for (lwsim::SceneItem *item : {&a, &b}) setKeys(channel(*item, "Position.X"), {{0, 2}});
  lwp::cks::sendMasterReset();
  ASSERT_EQ(run("SelectByName A"), 1);
  ASSERT_EQ(run("Position 5 0 0"), 1);  // the master marks A's position
  // Shown but never seen by the master: A's heading and B's position.
  host().pose().set(a, 3, 1.5);
  host().pose().set(b, 0, 9.0);
  ASSERT_EQ(run("SelectByName B"), 1);
  auto settings = createAt(10);
  settings.scope = lwp::kTargetAllItems;
  runOperation(settings);

  EXPECT_THAT(keysOf(channel(a, "Position.X")), ElementsAre(Pair(0, 2), Pair(10, 5)));
  EXPECT_THAT(keysOf(channel(a, "Rotation.H")), ElementsAre(Pair(0, 0), Pair(10, 0)));
  EXPECT_THAT(keysOf(channel(b, "Position.X")), ElementsAre(Pair(0, 2), Pair(10, 2)));
  // The probe's own keys are gone: one new key per channel, no more.
  EXPECT_THAT(keysOf(channel(b, "Position.Y")), ElementsAre(Pair(0, 0), Pair(10, 0)));
}

TEST_F(CreateKey, TheProbeLeavesTheEnvelopesAsTheyWereBeforeTheRunKeysThem) {
  activateMaster();
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  lwsim::Channel &y = channel(null, "Position.Y");
  setKeys(x, {{0, 1}, {10, 8}});
  lwp::cks::sendMasterReset();
  host().pose().set(null, 0, 3.0);  // shown, but not marked
  runOperation(createAt(10));
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1), Pair(10, 1)));
  // The undo brings back the key as it stood, not as the probe keyed it,
  // and leaves no key where the probe made one.
  history().undo();
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 1), Pair(10, 8)));
  EXPECT_THAT(keysOf(y), ElementsAre(Pair(0, 0)));
}

TEST_F(CreateKey, TheValueOfAnUnmarkedChannelIsTakenAtTheCurrentTime) {
  activateMaster();
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  setKeys(x, {{0, 0}, {20, 20}});
  goToFrame(5);
  lwp::cks::sendMasterReset();
  runOperation(createAt(20));
  EXPECT_THAT(keysOf(x), ElementsAre(Pair(0, 0), Pair(20, 5)));
}

TEST_F(CreateKey, BezierIsWrittenAsTheTwoDimensionalShape) {
  lwsim::SceneItem &null = addNull("Null");
  auto settings = createAt(4);
  settings.extraOpen = true;
  settings.keyShape = true;
  settings.shapeIndex = 2;
  runOperation(settings);
  EXPECT_EQ(keyAtFrame(channel(null, "Rotation.P"), 4).shape, 5);
}

TEST_F(CreateKey, TensionContinuityAndBiasAreClampedToTheUnitRange) {
  lwsim::SceneItem &null = addNull("Null");
  auto settings = createAt(4);
  settings.extraOpen = true;
  settings.keyShape = true;
  settings.shapeIndex = 0;
  settings.tension = 3.0;
  settings.continuity = -2.0;
  settings.bias = 0.5;
  runOperation(settings);
  const lwsim::EnvelopeKey &key = keyAtFrame(channel(null, "Scale.Z"), 4);
  EXPECT_EQ(key.shape, 0);
  EXPECT_EQ(key.tension, 1.0);
  EXPECT_EQ(key.continuity, -1.0);
  EXPECT_EQ(key.bias, 0.5);
}

TEST_F(CreateKey, AKeyShapeChosenWhileTheExtraSectionIsFoldedIsNotApplied) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  x.envelope().findKey(0.0)->shape = 3;  // the key at the current time is linear
  auto settings = createAt(4);
  settings.keyShape = true;
  settings.shapeIndex = 4;
  runOperation(settings);
  EXPECT_EQ(keyAtFrame(x, 4).shape, 3);
}

TEST_F(CreateKey, PreAsIsWithPostRepeatChangesOnlyThePostBehaviour) {
  lwsim::SceneItem &null = addNull("Null");
  lwsim::Channel &x = channel(null, "Position.X");
  x.envelope().setPreBehavior(lwsim::kLinear);
  auto settings = createAt(4);
  settings.extraOpen = true;
  settings.behavior = true;
  settings.preIndex = 0;
  settings.postIndex = 3;
  runOperation(settings);
  EXPECT_EQ(x.envelope().preBehavior(), lwsim::kLinear);
  EXPECT_EQ(x.envelope().postBehavior(), 2);
  history().undo();
  EXPECT_EQ(x.envelope().postBehavior(), lwsim::kConstant);
  EXPECT_EQ(x.envelope().keyCount(), 1u);
}

TEST_F(CreateKey, BehaviourEntriesFollowTheKeysOnlyWhenAPopupChangesSomething) {
  addNull("Null");
  auto settings = createAt(4);
  settings.extraOpen = true;
  settings.behavior = true;
  runOperation(settings);  // both "As is"
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_EQ(committedGroup()->entries().size(), 9u);
  settings.preIndex = 1;
  settings.frame = 5;
  runOperation(settings);
  EXPECT_EQ(committedGroup()->entries().size(), 18u);
  // Folded, the section's behaviours are not applied.
  settings.extraOpen = false;
  settings.frame = 6;
  runOperation(settings);
  EXPECT_EQ(committedGroup()->entries().size(), 9u);
}

TEST_F(CreateKey, DissolveGivesMeshesAnEnvelopeKeyedAtTheChosenValue) {
  lwsim::SceneItem &mesh = addMesh("Body");
  lwsim::SceneItem &null = addNull("Null");
  ASSERT_EQ(run("SelectByName Body"), 1);
  selectAlso(null);
  auto settings = createAt(6);
  settings.dissolve = true;
  settings.dissolveFull = true;
  runOperation(settings);
  const lwsim::Channel *dissolve = scene().findChannel(mesh, "Dissolve");
  ASSERT_NE(dissolve, nullptr);
  EXPECT_THAT(keysOf(*dissolve), ElementsAre(Pair(0, 0), Pair(6, 1)));
  EXPECT_EQ(scene().findChannel(null, "Dissolve"), nullptr);
  history().undo();
  EXPECT_THAT(keysOf(*dissolve), ElementsAre(Pair(0, 0)));
}

TEST_F(CreateKey, MorphAndOtherChannelsKeyTheirCurrentValues) {
  lwsim::SceneItem &mesh = addMesh("Face");
  scene().addMorphMap(mesh, "Mouth.Smile");
  lwsim::Channel &smile = channel(mesh, "Mouth.Smile");
  lwsim::Channel &knob = channel(mesh, "Extra.Knob");
  setKeys(smile, {{0, 0.25}});
  setKeys(knob, {{0, 0.75}});
  auto settings = createAt(8);
  runOperation(settings);  // "Misc" is off
  EXPECT_THAT(keysOf(smile), ElementsAre(Pair(0, 0.25), Pair(8, 0.25)));
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 0.75)));
  settings.misc = true;
  settings.morph = false;
  settings.frame = 9;
  runOperation(settings);
  EXPECT_THAT(keysOf(smile), ElementsAre(Pair(0, 0.25), Pair(8, 0.25)));
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 0.75), Pair(9, 0.75)));
}

}  // namespace
}  // namespace key_operations_test
