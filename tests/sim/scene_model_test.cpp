// The host's scene model, built as a script builds it (scene commands) or
// through the scene itself: item ids, iteration, parent links, names, the
// motion channels of new items, bone and morph groups, channel paths.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/host.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using lwsim::Channel;
using lwsim::ChannelGroup;
using lwsim::Envelope;
using lwsim::SceneItem;

std::vector<std::string> channelNames(const ChannelGroup &group) {
  std::vector<std::string> names;
  for (const auto &channel : group.channels()) names.push_back(channel->name());
  return names;
}

std::vector<std::string> subgroupNames(const ChannelGroup &group) {
  std::vector<std::string> names;
  for (const auto &sub : group.groups()) names.push_back(sub->name());
  return names;
}

const std::vector<std::string> kNineMotionChannels = {"Position.X", "Position.Y", "Position.Z",
                                                      "Rotation.H", "Rotation.P", "Rotation.B",
                                                      "Scale.X",    "Scale.Y",    "Scale.Z"};
const std::vector<std::string> kSixMotionChannels(kNineMotionChannels.begin(), kNineMotionChannels.begin() + 6);

class SceneModelTest : public ::testing::Test {
 protected:
  // Runs a Layout command that must be accepted.
  void run(const std::string &line) { ASSERT_EQ(host.commands().run(line), 1) << line; }

  SceneItem &item(const std::string &name) {
    SceneItem *found = scene.findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }

  // The items of a type in the order first/next give them.
  std::vector<std::string> walk(int type, const SceneItem *object = nullptr) const {
    std::vector<std::string> names;
    for (const SceneItem *at = scene.first(type, object); at != nullptr; at = scene.next(*at))
      names.push_back(at->name);
    return names;
  }

  std::vector<std::string> children(const SceneItem *parent) const {
    std::vector<std::string> names;
    for (const SceneItem *at = scene.firstChild(parent); at != nullptr; at = scene.nextChild(parent, *at))
      names.push_back(at->name);
    return names;
  }

  lwsim::Host host;
  lwsim::Scene &scene = host.scene();
};

// --- item ids -------------------------------------------------------------

TEST_F(SceneModelTest, IdsCarryTheTypeAboveAnOrdinalCountedPerType) {
  run("AddNull First");
  run("AddDistantLight Sun");
  run("LoadObject /models/parts/Arm.lwo");
  run("AddBone Upper");
  run("AddCamera Main");
  EXPECT_EQ(host.commands().run("AddBone Lower"), 0) << "a camera has no bones";
  run("SelectByName First");
  run("AddBone Root");
  run("AddPointLight Fill");
  run("AddCamera Side");

  EXPECT_EQ(item("First").id, 0x10000000u);
  EXPECT_EQ(item("Arm").id, 0x10000001u);
  EXPECT_EQ(item("Sun").id, 0x20000000u);
  EXPECT_EQ(item("Fill").id, 0x20000001u);
  EXPECT_EQ(item("Main").id, 0x30000000u);
  EXPECT_EQ(item("Side").id, 0x30000001u);
  // Bone ordinals run over the whole scene, whatever the object.
  EXPECT_EQ(item("Upper").id, 0x40000000u);
  EXPECT_EQ(item("Root").id, 0x40000001u);
  EXPECT_EQ(scene.findByName("Lower"), nullptr);
}

TEST_F(SceneModelTest, FindAnswersOnlyIdsOfItemsInTheScene) {
  run("AddNull Only");
  EXPECT_EQ(scene.find(std::uintptr_t{0x10000000}), &item("Only"));
  EXPECT_EQ(scene.find(reinterpret_cast<const void *>(std::uintptr_t{0x10000000})), &item("Only"));
  EXPECT_EQ(scene.find(std::uintptr_t{0}), nullptr);
  EXPECT_EQ(scene.find(std::uintptr_t{0x10000001}), nullptr);
  EXPECT_EQ(scene.find(std::uintptr_t{0x20000000}), nullptr);
  EXPECT_EQ(scene.find(std::uintptr_t{0x00000001}), nullptr);
}

TEST_F(SceneModelTest, FindByNameAnswersTheFirstItemOfThatName) {
  run("AddNull Twin");
  run("AddCamera Twin");
  EXPECT_EQ(item("Twin").type, lwsim::kObject);
  EXPECT_EQ(scene.findByName("twin"), nullptr) << "names compare case-sensitively";
  EXPECT_EQ(scene.findByName(""), nullptr);
}

// --- iteration --------------------------------------------------------------

TEST_F(SceneModelTest, FirstAndNextWalkEachTypeInCreationOrder) {
  EXPECT_EQ(scene.first(lwsim::kObject, nullptr), nullptr) << "an empty scene";
  run("AddNull A");
  run("AddDistantLight L1");
  run("AddCamera C1");
  run("AddNull B");
  run("AddBone B-bone");
  run("AddPointLight L2");
  run("LoadObject /m/C.lwo");
  run("AddCamera C2");

  EXPECT_THAT(walk(lwsim::kObject), ElementsAre("A", "B", "C"));
  EXPECT_THAT(walk(lwsim::kLight), ElementsAre("L1", "L2"));
  EXPECT_THAT(walk(lwsim::kCamera), ElementsAre("C1", "C2"));
  EXPECT_EQ(scene.next(item("C")), nullptr);
}

TEST_F(SceneModelTest, BonesAreWalkedOnlyThroughTheirObject) {
  run("AddNull A");
  run("AddBone A1");
  run("AddNull B");
  run("AddBone B1");
  run("SelectByName A");
  run("AddBone A2");
  run("SelectByName B1");
  run("AddBone B2");  // a selected bone adds to its object
  run("AddNull Bare");

  EXPECT_EQ(scene.first(lwsim::kBone, nullptr), nullptr);
  EXPECT_THAT(walk(lwsim::kBone, &item("A")), ElementsAre("A1", "A2"));
  EXPECT_THAT(walk(lwsim::kBone, &item("B")), ElementsAre("B1", "B2"));
  EXPECT_THAT(walk(lwsim::kBone, &item("Bare")), ElementsAre());
  EXPECT_THAT(walk(lwsim::kObject), ElementsAre("A", "B", "Bare")) << "bones are not objects";
  EXPECT_EQ(item("B2").owner, &item("B"));
}

// --- parent links -----------------------------------------------------------

TEST_F(SceneModelTest, ChildrenComeInCreationOrderWhateverTheParentingOrder) {
  run("AddNull Root");
  run("AddNull First");
  run("AddNull Other");
  run("AddNull Second");
  run("AddNull Grandchild");
  ASSERT_TRUE(scene.setParent(item("Second"), &item("Root")));
  ASSERT_TRUE(scene.setParent(item("First"), &item("Root")));
  ASSERT_TRUE(scene.setParent(item("Grandchild"), &item("First")));

  EXPECT_THAT(children(&item("Root")), ElementsAre("First", "Second"));
  EXPECT_THAT(children(&item("First")), ElementsAre("Grandchild"));
  EXPECT_THAT(children(&item("Other")), ElementsAre());
  EXPECT_THAT(children(nullptr), ElementsAre()) << "top-level items are nobody's children";
  EXPECT_EQ(item("Grandchild").parent, &item("First"));
  EXPECT_EQ(item("First").parent, &item("Root"));
  EXPECT_EQ(item("Root").parent, nullptr);

  ASSERT_TRUE(scene.setParent(item("First"), nullptr));
  EXPECT_THAT(children(&item("Root")), ElementsAre("Second"));
  EXPECT_EQ(item("First").parent, nullptr);
  EXPECT_THAT(children(&item("First")), ElementsAre("Grandchild")) << "the subtree goes with it";
}

TEST_F(SceneModelTest, ItemsOfAnyTypeCanBeParented) {
  run("AddNull Rig");
  run("AddCamera Cam");
  run("AddDistantLight Key");
  ASSERT_TRUE(scene.setParent(item("Cam"), &item("Rig")));
  ASSERT_TRUE(scene.setParent(item("Key"), &item("Cam")));
  EXPECT_THAT(children(&item("Rig")), ElementsAre("Cam"));
  EXPECT_THAT(children(&item("Cam")), ElementsAre("Key"));
}

TEST_F(SceneModelTest, ABonesParentIsItsObject) {
  run("AddNull Body");
  run("AddNull Prop");
  run("SelectByName Body");
  run("AddBone Spine");
  run("AddBone Neck");
  EXPECT_EQ(item("Spine").parent, &item("Body"));
  EXPECT_EQ(item("Neck").parent, &item("Body"));
  // The child walk agrees with the parent links.
  ASSERT_TRUE(scene.setParent(item("Prop"), &item("Body")));
  EXPECT_THAT(children(&item("Body")), ElementsAre("Prop", "Spine", "Neck"));
}

TEST_F(SceneModelTest, ParentingThatWouldMakeACycleIsRefusedAndChangesNothing) {
  run("AddNull Top");
  run("AddNull Middle");
  run("AddNull Bottom");
  run("AddNull Aside");
  ASSERT_TRUE(scene.setParent(item("Middle"), &item("Top")));
  ASSERT_TRUE(scene.setParent(item("Bottom"), &item("Middle")));

  EXPECT_FALSE(scene.setParent(item("Top"), &item("Top")));
  EXPECT_FALSE(scene.setParent(item("Top"), &item("Middle")));
  EXPECT_FALSE(scene.setParent(item("Top"), &item("Bottom")));
  EXPECT_FALSE(scene.setParent(item("Middle"), &item("Bottom")));
  EXPECT_EQ(item("Top").parent, nullptr);
  EXPECT_EQ(item("Middle").parent, &item("Top"));
  EXPECT_EQ(item("Bottom").parent, &item("Middle"));

  EXPECT_TRUE(scene.setParent(item("Bottom"), &item("Top"))) << "moving up the same tree is no cycle";
  EXPECT_TRUE(scene.setParent(item("Top"), &item("Aside")));
  EXPECT_THAT(children(&item("Top")), ElementsAre("Middle", "Bottom"));
}

// --- names ------------------------------------------------------------------

TEST_F(SceneModelTest, RenamingRenamesTheItemAndItsChannelGroup) {
  run("AddNull Before");
  scene.rename(item("Before"), "After");
  EXPECT_EQ(scene.findByName("Before"), nullptr);
  EXPECT_EQ(item("After").group->name(), "After");
  EXPECT_EQ(scene.findChannel(item("After"), "Position.X")->parent(), item("After").group) << "same group, renamed";
}

TEST_F(SceneModelTest, RenamingABoneRenamesItsGroupBelowTheObject) {
  run("AddNull Body");
  run("AddBone Bone");
  run("Rename Spine");
  EXPECT_THAT(subgroupNames(*item("Body").group), ElementsAre("Spine"));
  EXPECT_EQ(item("Spine").group->parent(), item("Body").group);
}

// --- motion channels --------------------------------------------------------

TEST_F(SceneModelTest, NewItemsHaveNineMotionChannelsAndACameraSix) {
  run("AddNull Null");
  run("AddDistantLight Light");
  run("AddCamera Camera");
  run("SelectByName Null");
  run("AddBone Bone");
  EXPECT_THAT(channelNames(*item("Null").group), ElementsAreArray(kNineMotionChannels));
  EXPECT_THAT(channelNames(*item("Light").group), ElementsAreArray(kNineMotionChannels));
  EXPECT_THAT(channelNames(*item("Bone").group), ElementsAreArray(kNineMotionChannels));
  EXPECT_THAT(channelNames(*item("Camera").group), ElementsAreArray(kSixMotionChannels));
  for (const char *scale : {"Scale.X", "Scale.Y", "Scale.Z"})
    EXPECT_EQ(scene.findChannel(item("Camera"), scale), nullptr) << scale;
  for (const auto &name : kNineMotionChannels) EXPECT_NE(scene.findChannel(item("Null"), name), nullptr) << name;
}

TEST_F(SceneModelTest, MotionChannelsStartWithOneKeyAtZeroAndConstantBehaviours) {
  run("AddNull Null");
  run("AddBone Bone");
  run("AddDistantLight Light");
  run("AddCamera Camera");
  for (const char *name : {"Null", "Bone", "Light", "Camera"}) {
    for (const auto &channel : item(name).group->channels()) {
      SCOPED_TRACE(std::string(name) + " " + channel->name());
      const Envelope &envelope = channel->envelope();
      ASSERT_EQ(envelope.keyCount(), 1u);
      const lwsim::EnvelopeKey &key = envelope.key(0);
      EXPECT_EQ(key.time, 0.0);
      EXPECT_EQ(key.value, channel->name().rfind("Scale.", 0) == 0 ? 1.0 : 0.0);
      EXPECT_EQ(key.shape, 0);
      EXPECT_EQ(key.tension, 0.0);
      EXPECT_EQ(key.continuity, 0.0);
      EXPECT_EQ(key.bias, 0.0);
      EXPECT_THAT(key.params, ElementsAre(0.0, 0.0, 0.0, 0.0));
      EXPECT_EQ(envelope.preBehavior(), lwsim::kConstant);
      EXPECT_EQ(envelope.postBehavior(), lwsim::kConstant);
      EXPECT_EQ(channel->parent(), item(name).group);
    }
  }
}

// --- groups below an item's group -------------------------------------------

TEST_F(SceneModelTest, BoneGroupsSitBelowTheirObjectsGroup) {
  run("AddNull Body");
  run("AddBone Hip");
  run("AddBone Knee");
  run("AddNull Other");
  run("AddBone Tail");
  const ChannelGroup &body = *item("Body").group;
  EXPECT_THAT(subgroupNames(body), ElementsAre("Hip", "Knee"));
  EXPECT_THAT(subgroupNames(*item("Other").group), ElementsAre("Tail"));
  EXPECT_EQ(body.parent(), nullptr);
  EXPECT_FALSE(body.isBoneGroup());
  for (const char *bone : {"Hip", "Knee"}) {
    EXPECT_EQ(item(bone).group->parent(), &body) << bone;
    EXPECT_EQ(item(bone).group->name(), bone);
    EXPECT_TRUE(item(bone).group->isBoneGroup()) << bone;
  }
  EXPECT_EQ(scene.groupAfter(nullptr), &body);
  EXPECT_EQ(scene.groupAfter(&body), item("Other").group) << "bone groups are not top-level groups";
  EXPECT_EQ(scene.groupAfter(item("Other").group), nullptr);
}

TEST_F(SceneModelTest, MorphMapsGiveSubgroupsAndChannels) {
  run("AddNull Face");
  run("AddBone Jaw");
  lwsim::SceneItem &face = item("Face");
  scene.addMorphMap(face, "Mouth.Smile");
  scene.addMorphMap(face, "Blink");
  scene.addMorphMap(face, "Mouth.Frown");
  scene.addMorphMap(face, "Wink");
  scene.addMorphMap(face, "Brow.Up");

  const ChannelGroup &group = *face.group;
  EXPECT_THAT(subgroupNames(group), ElementsAre("Jaw", "Mouth", "MorphGroup", "Brow"));
  EXPECT_THAT(channelNames(*group.findGroup("Mouth")), ElementsAre("Smile", "Frown"));
  EXPECT_THAT(channelNames(*group.findGroup("MorphGroup")), ElementsAre("Blink", "Wink"));
  EXPECT_THAT(channelNames(*group.findGroup("Brow")), ElementsAre("Up"));
  EXPECT_THAT(channelNames(group), ElementsAreArray(kNineMotionChannels)) << "no morph channel at the top";
  EXPECT_FALSE(group.findGroup("Mouth")->isBoneGroup());
  EXPECT_EQ(group.findGroup("Mouth")->parent(), &group);
  EXPECT_EQ(scene.findChannel(face, "Mouth.Smile"), group.findGroup("Mouth")->findChannel("Smile"));
  EXPECT_EQ(scene.findChannel(face, "MorphGroup.Blink"), group.findGroup("MorphGroup")->findChannel("Blink"));
  EXPECT_EQ(scene.findChannel(face, "Mouth.Smile")->envelope().keyCount(), 0u);
  EXPECT_THAT(scene.morphMaps(), ElementsAre("Mouth.Smile", "Blink", "Mouth.Frown", "Wink", "Brow.Up"));
}

TEST_F(SceneModelTest, AMorphMapIsListedOnceAndGivesEachObjectOneChannel) {
  run("AddNull A");
  run("AddNull B");
  scene.addMorphMap(item("A"), "Face.Smile");
  scene.addMorphMap(item("A"), "Face.Smile");
  scene.addMorphMap(item("B"), "Face.Smile");
  EXPECT_THAT(scene.morphMaps(), ElementsAre("Face.Smile"));
  EXPECT_THAT(subgroupNames(*item("A").group), ElementsAre("Face"));
  EXPECT_THAT(channelNames(*item("A").group->findGroup("Face")), ElementsAre("Smile"));
  EXPECT_THAT(channelNames(*item("B").group->findGroup("Face")), ElementsAre("Smile"));
  EXPECT_NE(scene.findChannel(item("A"), "Face.Smile"), scene.findChannel(item("B"), "Face.Smile"));
}

// --- channel paths ----------------------------------------------------------

TEST_F(SceneModelTest, FindChannelFollowsPathsRelativeToTheItemsGroup) {
  run("AddNull Body");
  run("AddBone Arm");
  SceneItem &body = item("Body");
  scene.addMorphMap(body, "Face.Smile");
  EXPECT_EQ(scene.findChannel(body, "Position.X"), body.group->channels()[0].get());
  EXPECT_EQ(scene.findChannel(body, "Scale.Z"), body.group->channels()[8].get());
  EXPECT_EQ(scene.findChannel(body, "Face.Smile")->parent()->name(), "Face");
  EXPECT_EQ(scene.findChannel(body, "Arm.Rotation.H"), nullptr)
      << "a bone's channels are reached through the bone, not its object";
  EXPECT_EQ(scene.findChannel(item("Arm"), "Rotation.H"), item("Arm").group->findChannel("Rotation.H"));
  EXPECT_EQ(scene.findChannel(body, "Position"), nullptr);
  EXPECT_EQ(scene.findChannel(body, "Face"), nullptr) << "a group is no channel";
  EXPECT_EQ(scene.findChannel(body, "Face.Frown"), nullptr);
  EXPECT_EQ(scene.findChannel(body, "Smile"), nullptr);
  EXPECT_EQ(scene.findChannel(body, ""), nullptr);
  EXPECT_EQ(scene.findChannel(body, "position.x"), nullptr);
}

TEST_F(SceneModelTest, EnsureChannelFindsOrAddsTheChannelAndItsGroups) {
  run("AddNull Body");
  SceneItem &body = item("Body");
  const std::size_t groups = body.group->groups().size();

  EXPECT_EQ(&scene.ensureChannel(body, "Position.Y"), scene.findChannel(body, "Position.Y"));
  EXPECT_EQ(body.group->channels().size(), 9u) << "an existing channel is not added again";
  EXPECT_EQ(body.group->groups().size(), groups);

  Channel &dissolve = scene.ensureChannel(body, "Dissolve");
  EXPECT_EQ(dissolve.parent(), body.group);
  EXPECT_EQ(dissolve.envelope().keyCount(), 0u) << "a new channel's envelope is empty";
  EXPECT_EQ(&scene.ensureChannel(body, "Dissolve"), &dissolve);

  Channel &smile = scene.ensureChannel(body, "Face.Smile");
  Channel &frown = scene.ensureChannel(body, "Face.Frown");
  Channel &bend = scene.ensureChannel(body, "Limb.Elbow.Bend");
  EXPECT_EQ(smile.parent(), frown.parent()) << "the subgroup is made once";
  EXPECT_EQ(smile.parent()->parent(), body.group);
  EXPECT_EQ(bend.name(), "Bend");
  EXPECT_EQ(bend.parent()->name(), "Elbow");
  EXPECT_EQ(bend.parent()->parent()->name(), "Limb");
  EXPECT_EQ(bend.parent()->parent()->parent(), body.group);
  EXPECT_EQ(scene.findChannel(body, "Limb.Elbow.Bend"), &bend);
  EXPECT_EQ(&scene.ensureChannel(body, "Limb.Elbow.Bend"), &bend);

  std::vector<std::string> expected = kNineMotionChannels;
  expected.push_back("Dissolve");
  EXPECT_THAT(channelNames(*body.group), ElementsAreArray(expected));
  EXPECT_THAT(subgroupNames(*body.group), ElementsAre("Face", "Limb"));
}

TEST_F(SceneModelTest, EnsureChannelOfABoneStaysInTheBonesGroup) {
  run("AddNull Body");
  run("AddBone Arm");
  Channel &twist = scene.ensureChannel(item("Arm"), "Twist");
  EXPECT_EQ(twist.parent(), item("Arm").group);
  EXPECT_EQ(item("Body").group->findChannel("Twist"), nullptr);
  EXPECT_EQ(scene.findChannel(item("Body"), "Arm.Twist"), nullptr);
}

TEST_F(SceneModelTest, AMorphMapNamedLikeABoneGetsItsOwnGroup) {
  run("AddNull Face");
  run("AddBone Jaw");
  SceneItem &face = item("Face");
  scene.addMorphMap(face, "Jaw.Open");
  const Channel *open = scene.findChannel(face, "Jaw.Open");
  ASSERT_NE(open, nullptr);
  EXPECT_NE(open->parent(), item("Jaw").group);
  EXPECT_EQ(item("Jaw").group->findChannel("Open"), nullptr);
}

}  // namespace
