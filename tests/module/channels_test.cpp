// Channel naming, grouping and walking on both sides of the tool layer, and
// the key setter's existence cache, against scenes in the simulated host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/channels/clip_channels.h"
#include "common/channels/key_channels.h"
#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "sim/host.h"
#include "sim/services/channel_services.h"

namespace {

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }
LWChannelID idOf(lwsim::Channel &channel) { return reinterpret_cast<LWChannelID>(&channel); }

class Channels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  }
  void TearDown() override { lwp::endChannelBatch(); }

  lwsim::Scene &scene() { return host_.scene(); }
  LWChannelID channel(lwsim::SceneItem &item, const std::string &path) {
    return idOf(scene().ensureChannel(item, path));
  }

  // Paths of a channel list relative to the item, for readable comparisons.
  std::vector<std::string> pathsOf(const lwp::ChannelList &channels, LWItemID item) {
    std::vector<std::string> paths;
    for (LWChannelID c : channels) paths.push_back(lwp::channelPath(c, item));
    return paths;
  }

  // An object with a bone, morph channels, a subgroup named like the bone
  // and a nested tree whose depth-first and breadth-first orders differ.
  lwsim::SceneItem &riggedBody() {
    lwsim::SceneItem &body = scene().addObject("Body", "body.lwo");
    scene().addBone(body, "Arm");
    scene().ensureChannel(body, "Dissolve");
    scene().addMorphMap(body, "Face.Smile");
    scene().addMorphMap(body, "Blink");
    scene().ensureChannel(body, "Arm.Twist");  // not the bone's group
    scene().ensureChannel(body, "Extra.Top");
    scene().ensureChannel(body, "Extra.Deep.Knob");
    scene().ensureChannel(body, "Extra.Deep.Deeper.Bottom");
    scene().ensureChannel(body, "Extra.Side.Wing");
    return body;
  }

  lwsim::Host host_;
};

const std::vector<std::string> kMotion = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                                          "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};

std::vector<std::string> motionThen(std::vector<std::string> rest) {
  std::vector<std::string> paths = kMotion;
  paths.insert(paths.end(), rest.begin(), rest.end());
  return paths;
}

TEST_F(Channels, PathsNameTheGroupsBetweenTheItemAndTheChannel) {
  lwsim::SceneItem &body = riggedBody();
  lwsim::SceneItem &other = scene().addObject("Other");
  EXPECT_EQ(lwp::channelPath(channel(body, "Position.X"), idOf(body)), "Position.X");
  EXPECT_EQ(lwp::channelPath(channel(body, "Extra.Deep.Knob"), idOf(body)), "Extra.Deep.Knob");
  // A bone's channels sit below the object's group; another item's channel
  // gets every group up to the root.
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  EXPECT_EQ(lwp::channelPath(channel(arm, "Rotation.P"), idOf(body)), "Arm.Rotation.P");
  EXPECT_EQ(lwp::channelPath(channel(other, "Scale.Y"), idOf(body)), "Other.Scale.Y");
}

TEST_F(Channels, GroupsAndAxesFollowThePathPatterns) {
  lwsim::SceneItem &body = scene().addObject("Body");
  scene().addMorphMap(body, "Arm.Bend.Left");
  scene().addMorphMap(body, "Face.Smile");
  const struct {
    const char *path;
    int group;
    int axis;
  } cases[] = {
      {"Position.X", lwp::kGroupPosition, 0}, {"Position.Z", lwp::kGroupPosition, 2},
      {"Rotation.H", lwp::kGroupRotation, 0}, {"Rotation.B", lwp::kGroupRotation, 2},
      {"Scale.Y", lwp::kGroupScale, 1},       {"Position.H", lwp::kGroupMisc, 0},
      {"Rotation.X", lwp::kGroupMisc, 0},     {"position.x", lwp::kGroupMisc, 0},
      {"Position.XY", lwp::kGroupMisc, 0},    {"MorphGroup.Smile", lwp::kGroupMorph, 0},
      {"Face.Smile", lwp::kGroupMorph, 0},    {"Face.Frown", lwp::kGroupMisc, 0},
      {"Arm.Bend.Left", lwp::kGroupMisc, 0},  {".Smile", lwp::kGroupMisc, 0},
      {"Face.", lwp::kGroupMisc, 0},          {"Dissolve", lwp::kGroupMisc, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path);
    const lwp::GroupAxis result = lwp::channelGroupAxis(c.path);
    EXPECT_EQ(result.group, c.group);
    EXPECT_EQ(result.axis, c.axis);
    EXPECT_EQ(lwp::channelGroupOf(c.path), c.group);
  }
  // A lower-case motion name is a morph channel only when a map has it.
  scene().addMorphMap(body, "position.x");
  EXPECT_EQ(lwp::channelGroupOf("position.x"), lwp::kGroupMorph);
  EXPECT_FALSE(lwp::isMorphPath("Arm.Bend.Left"));
}

TEST_F(Channels, ClipSideWalksDepthFirstAndLeavesOutGroupsNamedLikeBones) {
  lwsim::SceneItem &body = riggedBody();
  EXPECT_EQ(pathsOf(lwp::itemChannels(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Deep.Deeper.Bottom", "Extra.Side.Wing"}));
  EXPECT_EQ(lwp::findChannel(idOf(body), "Extra.Side.Wing"), channel(body, "Extra.Side.Wing"));
  EXPECT_EQ(lwp::findChannel(idOf(body), "Arm.Twist"), nullptr);
  EXPECT_EQ(lwp::findChannel(idOf(body), "Arm.Position.X"), nullptr);
  EXPECT_EQ(lwp::findChannel(idOf(body), "extra.top"), nullptr);
  EXPECT_EQ(lwp::findChannel(idOf(body), ""), nullptr);
}

TEST_F(Channels, KeySetterSideWalksBreadthFirstAndLeavesOutOnlyTheBonesGroups) {
  lwsim::SceneItem &body = riggedBody();
  EXPECT_EQ(pathsOf(lwp::itemChannelsKS(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Arm.Twist", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Side.Wing", "Extra.Deep.Deeper.Bottom"}));
  // Any other item keeps every subgroup, bones' included where it has any.
  lwsim::SceneItem &sun = scene().addLight("Sun");
  scene().ensureChannel(sun, "Color.R");
  scene().ensureChannel(sun, "Color.Tint.Amount");
  scene().ensureChannel(sun, "Intensity");
  EXPECT_EQ(pathsOf(lwp::itemChannelsKS(idOf(sun)), idOf(sun)),
            motionThen({"Intensity", "Color.R", "Color.Tint.Amount"}));
}

TEST_F(Channels, SlotsAndMorphChannelsOnTheKeySetterSide) {
  lwsim::SceneItem &body = riggedBody();
  scene().addMorphMap(body, "Deep.Knob");  // names a group that is not directly below the object's
  for (int slot = 0; slot < 9; ++slot)
    EXPECT_EQ(lwp::channelSlot(channel(body, kMotion[static_cast<std::size_t>(slot)]), idOf(body)), slot);
  EXPECT_EQ(lwp::channelSlot(channel(body, "Dissolve"), idOf(body)), lwp::kSlotDissolve);
  EXPECT_EQ(lwp::channelSlot(channel(body, "Face.Smile"), idOf(body)), lwp::kSlotMorph);
  EXPECT_EQ(lwp::channelSlot(channel(body, "MorphGroup.Blink"), idOf(body)), lwp::kSlotMorph);
  EXPECT_EQ(lwp::channelSlot(channel(body, "Extra.Top"), idOf(body)), lwp::kSlotOther);
  EXPECT_EQ(lwp::channelSlot(channel(body, "Extra.Deep.Knob"), idOf(body)), lwp::kSlotOther);
  // Slots are by name in the item's own group only.
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  EXPECT_EQ(lwp::channelSlot(channel(arm, "Position.X"), idOf(body)), lwp::kSlotOther);
  EXPECT_EQ(lwp::channelSlot(channel(arm, "Position.X"), idOf(arm)), 0);
  EXPECT_EQ(lwp::channelName(channel(body, "Face.Smile")), "Smile");
  EXPECT_EQ(lwp::channelName(nullptr), "");
  // Only objects have morph channels.
  lwsim::SceneItem &sun = scene().addLight("Sun");
  EXPECT_FALSE(lwp::isMorphChannel(channel(sun, "MorphGroup.Glow"), idOf(sun)));
  EXPECT_TRUE(lwp::isMorphChannel(channel(body, "MorphGroup.Blink"), idOf(body)));
}

TEST_F(Channels, SceneChannelsCoverEveryItemsTree) {
  lwsim::SceneItem &body = riggedBody();
  lwsim::SceneItem &sun = scene().addLight("Sun");
  scene().ensureChannel(sun, "Color.R");
  const lwp::ChannelList all = lwp::allSceneChannels();
  // Body: 9 motion + Dissolve + 2 morph + Arm.Twist + 4 in Extra; its bone's
  // 9 below its group; the light's 9 and Color.R.
  EXPECT_EQ(all.size(), 17u + 9u + 10u);
  EXPECT_EQ(all.front(), channel(body, "Position.X"));
  EXPECT_EQ(all.back(), channel(sun, "Color.R"));
  EXPECT_TRUE(lwp::channelExists(channel(*scene().findByName("Arm"), "Scale.Z")));
  EXPECT_FALSE(lwp::channelExists(reinterpret_cast<LWChannelID>(&host_)));
}

TEST_F(Channels, ABatchListsTheSceneOnceAndMissesChannelsMadeInsideIt) {
  lwsim::SceneItem &body = riggedBody();
  const LWChannelID known = channel(body, "Position.Y");
  lwsim::ChannelWalkCalls &calls = lwsim::channelWalkCalls();

  // Outside a batch every question walks the scene.
  const std::size_t before = calls.nextGroup;
  EXPECT_TRUE(lwp::channelExists(known));
  const std::size_t perWalk = calls.nextGroup - before;
  ASSERT_GT(perWalk, 0u);
  EXPECT_TRUE(lwp::channelExists(known));
  EXPECT_EQ(calls.nextGroup - before, 2 * perWalk);

  lwp::beginChannelBatch();
  const std::size_t batchStart = calls.nextGroup;
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(lwp::channelExists(known));
  EXPECT_EQ(calls.nextGroup - batchStart, perWalk);
  const LWChannelID late = channel(body, "Extra.Late");
  EXPECT_FALSE(lwp::channelExists(late));
  lwp::endChannelBatch();

  EXPECT_TRUE(lwp::channelExists(late));
  lwp::beginChannelBatch();
  EXPECT_TRUE(lwp::channelExists(late));
}

}  // namespace
