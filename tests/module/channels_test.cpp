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

using Paths = std::vector<std::string>;

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }

const Paths kMotion = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                       "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};

Paths motionThen(const Paths &rest) {
  Paths paths = kMotion;
  paths.insert(paths.end(), rest.begin(), rest.end());
  return paths;
}

// An object with a bone, morph channels, a subgroup named like the bone and
// a nested tree whose depth-first and breadth-first orders differ; a light
// with channels of its own.
class Channels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    scene().addBone(body, "Arm");
    scene().ensureChannel(body, "Dissolve");
    scene().addMorphMap(body, "Face.Smile");
    scene().addMorphMap(body, "Blink");
    for (const char *path :
         {"Arm.Twist", "Extra.Top", "Extra.Deep.Knob", "Extra.Deep.Deeper.Bottom", "Extra.Side.Wing"})
      scene().ensureChannel(body, path);
    for (const char *path : {"Color.R", "Color.Tint.Amount", "Intensity"}) scene().ensureChannel(sun, path);
  }
  void TearDown() override { lwp::endChannelBatch(); }

  lwsim::Scene &scene() { return host_.scene(); }
  LWChannelID channel(lwsim::SceneItem &item, const std::string &path) {
    return reinterpret_cast<LWChannelID>(&scene().ensureChannel(item, path));
  }
  // Paths of a channel list relative to the item, for readable comparisons.
  Paths pathsOf(const lwp::ChannelList &channels, LWItemID item) {
    Paths paths;
    for (LWChannelID c : channels) paths.push_back(lwp::channelPath(c, item));
    return paths;
  }

  lwsim::Host host_;
  lwsim::SceneItem &body = host_.scene().addObject("Body", "body.lwo");
  lwsim::SceneItem &sun = host_.scene().addLight("Sun");
};

// Paths name the groups between the item and the channel (a bone's channels
// sit below the object's group; another item's channel gets every group up
// to the root). The clip side walks depth-first and leaves out groups named
// like bones; the key setter walks breadth-first and leaves out only the
// bones' own groups; the scene's channels cover every item's tree.
TEST_F(Channels, PathsAndWalksOfEachSide) {
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  EXPECT_EQ(lwp::channelPath(channel(body, "Extra.Deep.Knob"), idOf(body)), "Extra.Deep.Knob");
  EXPECT_EQ(lwp::channelPath(channel(arm, "Rotation.P"), idOf(body)), "Arm.Rotation.P");
  EXPECT_EQ(lwp::channelPath(channel(sun, "Scale.Y"), idOf(body)), "Sun.Scale.Y");
  EXPECT_EQ(pathsOf(lwp::itemChannels(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Deep.Deeper.Bottom", "Extra.Side.Wing"}));
  EXPECT_EQ(lwp::findChannel(idOf(body), "Extra.Side.Wing"), channel(body, "Extra.Side.Wing"));
  for (const char *path : {"Arm.Twist", "Arm.Position.X", "extra.top", ""})
    EXPECT_EQ(lwp::findChannel(idOf(body), path), nullptr) << path;
  EXPECT_EQ(pathsOf(lwp::itemChannelsKS(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Arm.Twist", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Side.Wing", "Extra.Deep.Deeper.Bottom"}));
  EXPECT_EQ(pathsOf(lwp::itemChannelsKS(idOf(sun)), idOf(sun)),
            motionThen({"Intensity", "Color.R", "Color.Tint.Amount"}));
  // Body: 9 motion + Dissolve + 2 morph + Arm.Twist + 4 in Extra; its bone's
  // 9 below its group; the light's 9 and 3.
  const lwp::ChannelList all = lwp::allSceneChannels();
  EXPECT_EQ(all.size(), 17u + 9u + 12u);
  EXPECT_EQ(all.front(), channel(body, "Position.X"));
  EXPECT_EQ(all.back(), channel(sun, "Color.Tint.Amount"));
  EXPECT_TRUE(lwp::channelExists(channel(arm, "Scale.Z")));
  EXPECT_FALSE(lwp::channelExists(reinterpret_cast<LWChannelID>(&host_)));
}

// Groups and axes follow the path patterns (a lower-case motion name is a
// morph channel only when a map has it); slots are by name in the item's own
// group only; only objects have morph channels, directly below their group.
TEST_F(Channels, GroupsAxesSlotsAndMorphChannels) {
  scene().addMorphMap(body, "Arm.Bend.Left");
  scene().addMorphMap(body, "Deep.Knob");  // names a group that is not directly below the object's
  const struct {
    const char *path;
    int group, axis;
  } cases[] = {
      // clang-format off
      {"Position.X", lwp::kGroupPosition, 0}, {"Position.Z", lwp::kGroupPosition, 2}, {"Rotation.H", lwp::kGroupRotation, 0},
      {"Rotation.B", lwp::kGroupRotation, 2}, {"Scale.Y", lwp::kGroupScale, 1}, {"Position.H", lwp::kGroupMisc, 0},
      {"Rotation.X", lwp::kGroupMisc, 0}, {"position.x", lwp::kGroupMisc, 0}, {"Position.XY", lwp::kGroupMisc, 0},
      {"MorphGroup.Smile", lwp::kGroupMorph, 0}, {"Face.Smile", lwp::kGroupMorph, 0}, {"Face.Frown", lwp::kGroupMisc, 0},
      {"Arm.Bend.Left", lwp::kGroupMisc, 0}, {".Smile", lwp::kGroupMisc, 0}, {"Face.", lwp::kGroupMisc, 0},
      {"Dissolve", lwp::kGroupMisc, 0},
      // clang-format on
  };
  for (const auto &c : cases) {
    EXPECT_EQ(lwp::channelGroupAxis(c.path).group, c.group) << c.path;
    EXPECT_EQ(lwp::channelGroupAxis(c.path).axis, c.axis) << c.path;
    EXPECT_EQ(lwp::channelGroupOf(c.path), c.group) << c.path;
  }
  scene().addMorphMap(body, "position.x");
  EXPECT_EQ(lwp::channelGroupOf("position.x"), lwp::kGroupMorph);
  EXPECT_FALSE(lwp::isMorphPath("Arm.Bend.Left"));

  for (int slot = 0; slot < 9; ++slot)
    EXPECT_EQ(lwp::channelSlot(channel(body, kMotion[static_cast<std::size_t>(slot)]), idOf(body)), slot);
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  const std::pair<LWChannelID, int> slots[] = {
      {channel(body, "Dissolve"), lwp::kSlotDissolve},      {channel(body, "Face.Smile"), lwp::kSlotMorph},
      {channel(body, "MorphGroup.Blink"), lwp::kSlotMorph}, {channel(body, "Extra.Top"), lwp::kSlotOther},
      {channel(body, "Extra.Deep.Knob"), lwp::kSlotOther},  {channel(arm, "Position.X"), lwp::kSlotOther}};
  for (const auto &[channelId, slot] : slots) EXPECT_EQ(lwp::channelSlot(channelId, idOf(body)), slot);
  EXPECT_EQ(lwp::channelSlot(channel(arm, "Position.X"), idOf(arm)), 0);
  EXPECT_EQ(lwp::channelName(channel(body, "Face.Smile")), "Smile");
  EXPECT_EQ(lwp::channelName(nullptr), "");
  EXPECT_FALSE(lwp::isMorphChannel(channel(sun, "MorphGroup.Glow"), idOf(sun)));
  EXPECT_TRUE(lwp::isMorphChannel(channel(body, "MorphGroup.Blink"), idOf(body)));
}

// Outside a batch every question walks the scene; a batch lists it once and
// misses channels made inside it.
TEST_F(Channels, ABatchListsTheSceneOnceAndMissesChannelsMadeInsideIt) {
  const LWChannelID known = channel(body, "Position.Y");
  lwsim::ChannelWalkCalls &calls = lwsim::channelWalkCalls();
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
