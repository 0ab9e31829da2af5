// The host's scene services as a plug-in calls them: the records looked up by
// their global ids ("LW Item Info 9", "LW Object Info 14", "LW Bone Info 7",
// "LW Camera Info 10", "Scene Objects 9", "Channel Info 3", "Animation
// Envelopes 4") and the snapshots ("LW Interface Info 8", "LW Scene Info 12",
// "LW Time Info"), over a scene built with Layout commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/host/lwchannel.h"
#include "plugin/host/lwenvelope.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwinterface.h"
#include "plugin/host/lwitem.h"
#include "plugin/host/lwobjects.h"
#include "plugin/host/lwscene.h"
#include "sim/host.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using lwsim::SceneItem;

constexpr double kTolerance = 1e-9;

const std::vector<std::string> kNineMotionChannels = {"Position.X", "Position.Y", "Position.Z",
                                                      "Rotation.H", "Rotation.P", "Rotation.B",
                                                      "Scale.X",    "Scale.Y",    "Scale.Z"};

LWItemID idOf(const SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }
LWItemID idOf(std::uintptr_t id) { return reinterpret_cast<LWItemID>(id); }
LWChanGroupID groupOf(const lwsim::ChannelGroup *group) {
  return reinterpret_cast<LWChanGroupID>(const_cast<lwsim::ChannelGroup *>(group));
}
LWChannelID channelOf(const lwsim::Channel *channel) {
  return reinterpret_cast<LWChannelID>(const_cast<lwsim::Channel *>(channel));
}
LWEnvelopeID envelopeOf(lwsim::Channel &channel) { return reinterpret_cast<LWEnvelopeID>(&channel.envelope()); }

// Handles of one kind offered where another is expected.
LWChanGroupID asGroup(LWChannelID channel) { return reinterpret_cast<LWChanGroupID>(channel); }
LWChannelID asChannel(LWChanGroupID group) { return reinterpret_cast<LWChannelID>(group); }
LWEnvelopeID asEnvelope(LWChannelID channel) { return reinterpret_cast<LWEnvelopeID>(channel); }

std::vector<double> vector3(const LWDVector v) { return {v[0], v[1], v[2]}; }

MATCHER_P3(Near3, x, y, z, "") {
  return std::abs(arg[0] - x) < kTolerance && std::abs(arg[1] - y) < kTolerance && std::abs(arg[2] - z) < kTolerance;
}

class SceneServices : public ::testing::Test {
 protected:
  template <typename Record>
  Record *record(const char *id) {
    void *found = host.globals().lookup(id);
    if (found == nullptr) throw std::runtime_error(std::string("no global ") + id);
    return static_cast<Record *>(found);
  }

  void run(const std::string &line) { ASSERT_EQ(host.commands().run(line), 1) << line; }

  SceneItem &item(const std::string &name) {
    SceneItem *found = scene.findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }

  // Sets a key of the item's channel (made when missing) with a straight span
  // arriving at it.
  void key(SceneItem &owner, const std::string &path, double time, double value) {
    scene.ensureChannel(owner, path).envelope().createKey(time, value)->shape = SHAPE_LINE;
  }

  std::vector<double> param(LWItemID id, int which, double time) {
    LWDVector out = {7.0, 7.0, 7.0};
    items->param(id, which, time, out);
    return vector3(out);
  }

  lwsim::Host host;
  lwsim::Scene &scene = host.scene();
  LWItemInfo *items = record<LWItemInfo>(LWITEMINFO_GLOBAL);
  LWObjectInfo *objects = record<LWObjectInfo>(LWOBJECTINFO_GLOBAL);
  LWBoneInfo *bones = record<LWBoneInfo>(LWBONEINFO_GLOBAL);
  LWCameraInfo *cameras = record<LWCameraInfo>(LWCAMERAINFO_GLOBAL);
  LWObjectFuncs *sceneObjects = record<LWObjectFuncs>(LWOBJECTFUNCS_GLOBAL);
  LWChannelInfo *channels = record<LWChannelInfo>(LWCHANNELINFO_GLOBAL);
  LWEnvelopeFuncs *envelopes = record<LWEnvelopeFuncs>(LWENVELOPEFUNCS_GLOBAL);
};

// ============================================================================
// "LW Item Info 9"
// ============================================================================

using ItemInfoTest = SceneServices;

TEST_F(ItemInfoTest, FirstAndNextWalkEachTypeInCreationOrder) {
  EXPECT_EQ(items->first(LWI_OBJECT, nullptr), nullptr);
  run("AddNull A");
  run("AddCamera Cam");
  run("AddNull B");
  run("AddBone B1");
  run("AddBone B2");
  run("AddDistantLight Sun");
  run("AddNull C");

  auto walk = [&](int type, LWItemID object) {
    std::vector<std::string> names;
    for (LWItemID id = items->first(type, object); id != nullptr; id = items->next(id))
      names.push_back(items->name(id));
    return names;
  };
  EXPECT_THAT(walk(LWI_OBJECT, nullptr), ElementsAre("A", "B", "C"));
  EXPECT_THAT(walk(LWI_LIGHT, nullptr), ElementsAre("Sun"));
  EXPECT_THAT(walk(LWI_CAMERA, nullptr), ElementsAre("Cam"));
  EXPECT_THAT(walk(LWI_BONE, idOf(item("B"))), ElementsAre("B1", "B2"));
  EXPECT_THAT(walk(LWI_BONE, idOf(item("A"))), ElementsAre());
  EXPECT_EQ(items->first(LWI_BONE, nullptr), nullptr) << "bones are reached only through their object";
  EXPECT_EQ(items->first(LWI_OBJECT, nullptr), idOf(std::uintptr_t{0x10000000}));
}

TEST_F(ItemInfoTest, TypeNameAndChannelGroupOfEachItem) {
  run("AddNull Null");
  run("AddBone Bone");
  run("AddDistantLight Light");
  run("AddCamera Camera");
  const std::vector<std::pair<const char *, int>> expected = {
      {"Null", LWI_OBJECT}, {"Bone", LWI_BONE}, {"Light", LWI_LIGHT}, {"Camera", LWI_CAMERA}};
  for (const auto &[name, type] : expected) {
    const LWItemID id = idOf(item(name));
    EXPECT_EQ(items->type(id), type) << name;
    EXPECT_STREQ(items->name(id), name);
    EXPECT_EQ(items->chanGroup(id), groupOf(item(name).group)) << name;
  }
  EXPECT_EQ(channels->groupParent(items->chanGroup(idOf(item("Bone")))), items->chanGroup(idOf(item("Null"))));
}

TEST_F(ItemInfoTest, NameFollowsARename) {
  run("AddNull Before");
  const LWItemID id = idOf(item("Before"));
  run("Rename After");
  EXPECT_STREQ(items->name(id), "After");
  EXPECT_STREQ(channels->groupName(items->chanGroup(id)), "After");
}

TEST_F(ItemInfoTest, ChildrenAndParents) {
  run("AddNull Root");
  run("AddNull Arm");
  run("AddNull Leg");
  run("AddNull Hand");
  run("SelectByName Root");
  run("AddBone Spine");
  ASSERT_TRUE(scene.setParent(item("Leg"), &item("Root")));
  ASSERT_TRUE(scene.setParent(item("Arm"), &item("Root")));
  ASSERT_TRUE(scene.setParent(item("Hand"), &item("Arm")));
  const LWItemID root = idOf(item("Root")), arm = idOf(item("Arm")), leg = idOf(item("Leg"));
  const LWItemID hand = idOf(item("Hand")), spine = idOf(item("Spine"));

  EXPECT_EQ(items->firstChild(root), arm);
  EXPECT_EQ(items->nextChild(root, arm), leg);
  EXPECT_EQ(items->nextChild(root, leg), spine) << "a bone is a child of its object";
  EXPECT_EQ(items->nextChild(root, spine), nullptr);
  EXPECT_EQ(items->firstChild(arm), hand);
  EXPECT_EQ(items->nextChild(arm, hand), nullptr);
  EXPECT_EQ(items->firstChild(hand), nullptr);

  EXPECT_EQ(items->parent(root), nullptr);
  EXPECT_EQ(items->parent(arm), root);
  EXPECT_EQ(items->parent(hand), arm);
  EXPECT_EQ(items->parent(spine), root);
}

TEST_F(ItemInfoTest, ParamReadsPositionRotationAndScaleFromTheEnvelopesAtTheTimeAsked) {
  run("AddNull Mover");
  SceneItem &mover = item("Mover");
  key(mover, "Position.X", 1.0, 2.0);
  key(mover, "Position.Y", 2.0, -4.0);
  key(mover, "Position.Z", 0.0, 5.0);
  key(mover, "Rotation.H", 1.0, 1.5);
  key(mover, "Rotation.B", 2.0, -1.0);
  key(mover, "Scale.X", 1.0, 3.0);
  key(mover, "Scale.Z", 2.0, 0.5);
  const LWItemID id = idOf(mover);

  EXPECT_THAT(param(id, LWIP_POSITION, 0.0), Near3(0.0, 0.0, 5.0));
  EXPECT_THAT(param(id, LWIP_POSITION, 0.5), Near3(1.0, -1.0, 5.0));
  EXPECT_THAT(param(id, LWIP_POSITION, 1.0), Near3(2.0, -2.0, 5.0));
  EXPECT_THAT(param(id, LWIP_POSITION, 3.0), Near3(2.0, -4.0, 5.0)) << "constant after the last key";
  EXPECT_THAT(param(id, LWIP_POSITION, -1.0), Near3(0.0, 0.0, 5.0)) << "constant before the first key";

  EXPECT_THAT(param(id, LWIP_ROTATION, 0.0), Near3(0.0, 0.0, 0.0));
  EXPECT_THAT(param(id, LWIP_ROTATION, 0.5), Near3(0.75, 0.0, -0.25));
  EXPECT_THAT(param(id, LWIP_ROTATION, 2.0), Near3(1.5, 0.0, -1.0));

  EXPECT_THAT(param(id, LWIP_SCALING, 0.0), Near3(1.0, 1.0, 1.0));
  EXPECT_THAT(param(id, LWIP_SCALING, 0.5), Near3(2.0, 1.0, 0.875));
  EXPECT_THAT(param(id, LWIP_SCALING, 2.0), Near3(3.0, 1.0, 0.5));
}

TEST_F(ItemInfoTest, ParamOfANewItemIsItsRestPose) {
  run("AddNull Fresh");
  run("AddBone Bone");
  for (const char *name : {"Fresh", "Bone"}) {
    const LWItemID id = idOf(item(name));
    EXPECT_THAT(param(id, LWIP_POSITION, 2.0), Near3(0.0, 0.0, 0.0)) << name;
    EXPECT_THAT(param(id, LWIP_ROTATION, 2.0), Near3(0.0, 0.0, 0.0)) << name;
    EXPECT_THAT(param(id, LWIP_SCALING, 2.0), Near3(1.0, 1.0, 1.0)) << name;
  }
}

TEST_F(ItemInfoTest, ACameraWithoutScaleChannelsHasScaleOne) {
  run("AddCamera Cam");
  key(item("Cam"), "Position.Z", 1.0, -10.0);
  const LWItemID id = idOf(item("Cam"));
  EXPECT_THAT(param(id, LWIP_SCALING, 0.0), Near3(1.0, 1.0, 1.0));
  EXPECT_THAT(param(id, LWIP_SCALING, 1.0), Near3(1.0, 1.0, 1.0));
  EXPECT_THAT(param(id, LWIP_POSITION, 0.5), Near3(0.0, 0.0, -5.0));
}

TEST_F(ItemInfoTest, PivotAndPivotRotationAreStoredValuesAtAnyTime) {
  run("AddNull Hinge");
  SceneItem &hinge = item("Hinge");
  EXPECT_THAT(param(idOf(hinge), LWIP_PIVOT, 0.0), Near3(0.0, 0.0, 0.0));
  EXPECT_THAT(param(idOf(hinge), LWIP_PIVOT_ROT, 0.0), Near3(0.0, 0.0, 0.0));
  hinge.pivot = {1.0, -2.0, 3.5};
  hinge.pivotRotation = {0.25, 0.5, -0.75};
  key(hinge, "Position.X", 1.0, 10.0);
  for (double time : {0.0, 0.5, 4.0}) {
    EXPECT_THAT(param(idOf(hinge), LWIP_PIVOT, time), Near3(1.0, -2.0, 3.5)) << time;
    EXPECT_THAT(param(idOf(hinge), LWIP_PIVOT_ROT, time), Near3(0.25, 0.5, -0.75)) << time;
  }
}

TEST_F(ItemInfoTest, UnknownParamAnswersZeros) {
  run("AddNull Null");
  EXPECT_THAT(param(idOf(item("Null")), 0, 0.0), Near3(0.0, 0.0, 0.0));
  EXPECT_THAT(param(idOf(item("Null")), 99, 0.0), Near3(0.0, 0.0, 0.0));
  items->param(idOf(item("Null")), LWIP_POSITION, 0.0, nullptr);  // nothing to write to
}

TEST_F(ItemInfoTest, UnknownIdsAnswerNothing) {
  run("AddNull Null");
  run("AddBone Bone");
  for (std::uintptr_t raw : {std::uintptr_t{0}, std::uintptr_t{0x10000002}, std::uintptr_t{0x20000001},
                             std::uintptr_t{0x40000007}, std::uintptr_t{0x12345678}}) {
    SCOPED_TRACE(raw);
    const LWItemID unknown = idOf(raw);
    EXPECT_EQ(items->next(unknown), nullptr);
    EXPECT_EQ(items->firstChild(unknown), nullptr);
    EXPECT_EQ(items->nextChild(unknown, idOf(item("Bone"))), nullptr);
    EXPECT_EQ(items->nextChild(idOf(item("Null")), unknown), nullptr);
    EXPECT_EQ(items->parent(unknown), nullptr);
    const int type = items->type(unknown);
    EXPECT_TRUE(type < LWI_OBJECT || type > LWI_BONE) << "no item type: " << type;
    EXPECT_EQ(items->name(unknown), nullptr);
    EXPECT_EQ(items->chanGroup(unknown), nullptr);
    EXPECT_EQ(items->first(LWI_BONE, unknown), nullptr);
    for (int which : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING, LWIP_PIVOT, LWIP_PIVOT_ROT})
      EXPECT_THAT(param(unknown, which, 0.0), Near3(0.0, 0.0, 0.0)) << which;
  }
  EXPECT_EQ(items->first(LWI_LIGHT, nullptr), nullptr);
  EXPECT_EQ(items->first(LWI_CAMERA, nullptr), nullptr);
}

// ============================================================================
// "LW Object Info 14", "LW Bone Info 7", "LW Camera Info 10", "Scene Objects 9"
// ============================================================================

using ItemDetailsTest = SceneServices;

TEST_F(ItemDetailsTest, ObjectFileNameIsThePathItWasLoadedFrom) {
  run("LoadObject /models/robot/Arm.lwo");
  run("AddNull Null");
  run("AddBone Bone");
  run("AddCamera Camera");
  run("AddDistantLight Light");
  EXPECT_STREQ(objects->filename(idOf(item("Arm"))), "/models/robot/Arm.lwo");
  for (const char *name : {"Null", "Bone", "Camera", "Light"})
    EXPECT_EQ(objects->filename(idOf(item(name))), nullptr) << name;
  EXPECT_EQ(objects->filename(nullptr), nullptr);
  EXPECT_EQ(objects->filename(idOf(std::uintptr_t{0x10000009})), nullptr);
}

TEST_F(ItemDetailsTest, BoneRestPositionAndRotationAreStoredValues) {
  run("AddNull Body");
  run("AddBone Arm");
  run("AddBone Leg");
  SceneItem &arm = item("Arm");
  arm.restPosition = {0.5, 1.0, -1.5};
  arm.restRotation = {0.1, -0.2, 0.3};
  LWDVector out = {7.0, 7.0, 7.0};
  bones->restParam(idOf(arm), LWIP_POSITION, out);
  EXPECT_THAT(vector3(out), ElementsAre(0.5, 1.0, -1.5));
  bones->restParam(idOf(arm), LWIP_ROTATION, out);
  EXPECT_THAT(vector3(out), ElementsAre(0.1, -0.2, 0.3));
  bones->restParam(idOf(item("Leg")), LWIP_POSITION, out);
  EXPECT_THAT(vector3(out), ElementsAre(0.0, 0.0, 0.0)) << "a new bone rests at the origin";

  // Not a bone, an unknown id or an unknown parameter: zeros.
  item("Body").restPosition = {4.0, 4.0, 4.0};
  for (LWItemID id : {idOf(item("Body")), idOf(std::uintptr_t{0x40000009}), LWItemID{nullptr}}) {
    LWDVector zeros = {7.0, 7.0, 7.0};
    bones->restParam(id, LWIP_POSITION, zeros);
    EXPECT_THAT(vector3(zeros), ElementsAre(0.0, 0.0, 0.0));
  }
  LWDVector unknown = {7.0, 7.0, 7.0};
  bones->restParam(idOf(arm), 3, unknown);
  EXPECT_THAT(vector3(unknown), ElementsAre(0.0, 0.0, 0.0));
  bones->restParam(idOf(arm), LWIP_POSITION, nullptr);
}

TEST_F(ItemDetailsTest, CameraZoomFactorIsTheStoredValue) {
  run("AddCamera Main");
  const LWItemID main = idOf(item("Main"));
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 0.0), 3.2) << "a new camera's zoom";
  run("ZoomFactor 2.5");
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 0.0), 2.5);
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 10.0), 2.5);
  run("AddNull Null");
  EXPECT_EQ(cameras->zoomFactor(idOf(item("Null")), 0.0), 0.0);
  EXPECT_EQ(cameras->zoomFactor(idOf(std::uintptr_t{0x30000002}), 0.0), 0.0);
  EXPECT_EQ(cameras->zoomFactor(nullptr, 0.0), 0.0);
}

TEST_F(ItemDetailsTest, CameraWithAZoomFactorChannelTakesItsZoomFromTheEnvelope) {
  run("AddCamera Main");
  run("AddCamera Other");
  key(item("Main"), "ZoomFactor", 0.0, 1.0);
  key(item("Main"), "ZoomFactor", 2.0, 5.0);
  run("SelectByName Main");
  run("ZoomFactor 9");
  const LWItemID main = idOf(item("Main"));
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 1.0), 3.0);
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 2.0), 5.0);
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(main, 7.0), 5.0);
  EXPECT_DOUBLE_EQ(cameras->zoomFactor(idOf(item("Other")), 1.0), 3.2) << "only that camera";
}

TEST_F(ItemDetailsTest, CameraResolution) {
  run("AddCamera Main");
  run("AddCamera Side");
  int width = -1, height = -1;
  cameras->resolution(idOf(item("Main")), &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  run("FrameSize 1920 1080");  // the selected camera: Side
  cameras->resolution(idOf(item("Side")), &width, &height);
  EXPECT_EQ(width, 1920);
  EXPECT_EQ(height, 1080);
  cameras->resolution(idOf(item("Main")), &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);

  run("AddNull Null");
  for (LWItemID id : {idOf(item("Null")), idOf(std::uintptr_t{0x30000009}), LWItemID{nullptr}}) {
    width = height = -1;
    cameras->resolution(id, &width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
  }
  cameras->resolution(idOf(item("Side")), nullptr, &height);
  EXPECT_EQ(height, 1080);
  cameras->resolution(idOf(item("Side")), &width, nullptr);
  EXPECT_EQ(width, 1920);
}

TEST_F(ItemDetailsTest, SceneObjectsListTheMorphMapsOnly) {
  EXPECT_EQ(sceneObjects->numVMaps(LWVMAP_MORF), 0);
  EXPECT_EQ(sceneObjects->vmapName(LWVMAP_MORF, 0), nullptr);
  run("AddNull Face");
  run("AddNull Head");
  scene.addMorphMap(item("Face"), "Mouth.Smile");
  scene.addMorphMap(item("Face"), "Blink");
  scene.addMorphMap(item("Head"), "Mouth.Smile");

  ASSERT_EQ(sceneObjects->numVMaps(LWVMAP_MORF), 2);
  EXPECT_STREQ(sceneObjects->vmapName(LWVMAP_MORF, 0), "Mouth.Smile");
  EXPECT_STREQ(sceneObjects->vmapName(LWVMAP_MORF, 1), "Blink");
  EXPECT_EQ(sceneObjects->vmapName(LWVMAP_MORF, 2), nullptr);
  EXPECT_EQ(sceneObjects->vmapName(LWVMAP_MORF, -1), nullptr);
  // 'WGHT', 'TXUV', 'SPOT' and none.
  for (LWID other : {0x57474854u, 0x54585556u, 0x53504F54u, 0u}) {
    EXPECT_EQ(sceneObjects->numVMaps(other), 0) << other;
    EXPECT_EQ(sceneObjects->vmapName(other, 0), nullptr) << other;
  }
}

// ============================================================================
// "Channel Info 3"
// ============================================================================

using ChannelInfoTest = SceneServices;

TEST_F(ChannelInfoTest, TopLevelGroupsAreOnePerItemInCreationOrder) {
  EXPECT_EQ(channels->nextGroup(nullptr, nullptr), nullptr) << "an empty scene";
  run("AddNull Body");
  run("AddBone Spine");
  run("AddDistantLight Sun");
  run("AddCamera Cam");
  run("LoadObject /m/Prop.lwo");
  std::vector<std::string> names;
  for (LWChanGroupID g = channels->nextGroup(nullptr, nullptr); g != nullptr; g = channels->nextGroup(nullptr, g)) {
    names.push_back(channels->groupName(g));
    EXPECT_EQ(channels->groupParent(g), nullptr) << names.back();
  }
  EXPECT_THAT(names, ElementsAre("Body", "Sun", "Cam", "Prop"));
  EXPECT_EQ(channels->nextGroup(nullptr, nullptr), items->chanGroup(idOf(item("Body"))));
}

TEST_F(ChannelInfoTest, MotionChannelsComeFirstThenChannelsAddedLater) {
  run("AddNull Body");
  run("AddEnvelope Dissolve");
  scene.ensureChannel(item("Body"), "Extra");
  run("AddCamera Cam");
  const LWChanGroupID body = items->chanGroup(idOf(item("Body")));
  const LWChanGroupID cam = items->chanGroup(idOf(item("Cam")));

  auto names = [&](LWChanGroupID group) {
    std::vector<std::string> out;
    for (LWChannelID c = channels->nextChannel(group, nullptr); c != nullptr; c = channels->nextChannel(group, c)) {
      out.push_back(channels->channelName(c));
      EXPECT_EQ(channels->channelParent(c), group) << out.back();
    }
    return out;
  };
  std::vector<std::string> expected = kNineMotionChannels;
  expected.insert(expected.end(), {"Dissolve", "Extra"});
  EXPECT_THAT(names(body), ElementsAreArray(expected));
  EXPECT_THAT(names(cam), ElementsAreArray(kNineMotionChannels.begin(), kNineMotionChannels.begin() + 6));
}

// Every group from parent 0 down and every channel of each, as paths.
TEST_F(ChannelInfoTest, WalkingEveryGroupReachesEveryChannelOfTheScene) {
  run("AddNull Face");
  run("AddBone Jaw");
  scene.addMorphMap(item("Face"), "Mouth.Smile");
  scene.addMorphMap(item("Face"), "Blink");
  scene.ensureChannel(item("Jaw"), "Twist");
  run("AddCamera Cam");

  std::vector<std::string> paths;
  std::function<void(LWChanGroupID, const std::string &)> visit = [&](LWChanGroupID group, const std::string &above) {
    const std::string path = above + channels->groupName(group) + "/";
    for (LWChannelID c = channels->nextChannel(group, nullptr); c != nullptr; c = channels->nextChannel(group, c))
      paths.push_back(path + channels->channelName(c));
    for (LWChanGroupID sub = channels->nextGroup(group, nullptr); sub != nullptr;
         sub = channels->nextGroup(group, sub)) {
      EXPECT_EQ(channels->groupParent(sub), group);
      visit(sub, path);
    }
  };
  for (LWChanGroupID g = channels->nextGroup(nullptr, nullptr); g != nullptr; g = channels->nextGroup(nullptr, g))
    visit(g, "");

  std::vector<std::string> expected;
  for (const auto &motion : kNineMotionChannels) expected.push_back("Face/" + motion);
  for (const auto &motion : kNineMotionChannels) expected.push_back("Face/Jaw/" + motion);
  expected.insert(expected.end(), {"Face/Jaw/Twist", "Face/Mouth/Smile", "Face/MorphGroup/Blink"});
  for (std::size_t slot = 0; slot < 6; ++slot) expected.push_back("Cam/" + kNineMotionChannels[slot]);
  EXPECT_THAT(paths, ElementsAreArray(expected));
}

TEST_F(ChannelInfoTest, ChannelEnvelopeAndEvaluateAreThoseOfTheChannel) {
  run("AddNull Mover");
  key(item("Mover"), "Position.Y", 2.0, 8.0);
  lwsim::Channel *y = scene.findChannel(item("Mover"), "Position.Y");
  const LWChannelID id = channelOf(y);
  EXPECT_EQ(channels->channelEnvelope(id), envelopeOf(*y));
  EXPECT_NE(channels->channelEnvelope(id),
            channels->channelEnvelope(channelOf(scene.findChannel(item("Mover"), "Position.X"))));
  for (double time : {-1.0, 0.0, 0.5, 1.0, 2.0, 3.0}) {
    EXPECT_DOUBLE_EQ(channels->channelEvaluate(id, time), y->envelope().evaluate(time)) << time;
    EXPECT_DOUBLE_EQ(channels->channelEvaluate(id, time), envelopes->evaluate(channels->channelEnvelope(id), time));
  }
  EXPECT_DOUBLE_EQ(channels->channelEvaluate(id, 1.0), 4.0);
  EXPECT_DOUBLE_EQ(channels->channelEvaluate(channelOf(scene.findChannel(item("Mover"), "Scale.Y")), 1.0), 1.0);
}

TEST_F(ChannelInfoTest, AHandleOfTheWrongKindAnswersNothing) {
  run("AddNull Body");
  run("AddBone Arm");
  const LWChanGroupID body = items->chanGroup(idOf(item("Body")));
  const LWChannelID x = channels->nextChannel(body, nullptr);
  ASSERT_NE(x, nullptr);
  const LWEnvelopeID envelope = channels->channelEnvelope(x);

  EXPECT_EQ(channels->nextGroup(asGroup(x), nullptr), nullptr) << "a channel as the parent";
  EXPECT_EQ(channels->nextGroup(nullptr, asGroup(x)), nullptr) << "a channel as the previous group";
  EXPECT_EQ(channels->nextGroup(body, asGroup(x)), nullptr);
  EXPECT_EQ(channels->nextChannel(asGroup(x), nullptr), nullptr) << "a channel as the group";
  EXPECT_EQ(channels->nextChannel(body, asChannel(body)), nullptr) << "a group as the previous channel";
  EXPECT_EQ(channels->groupName(asGroup(x)), nullptr);
  EXPECT_EQ(channels->groupParent(asGroup(x)), nullptr);
  EXPECT_EQ(channels->channelName(asChannel(body)), nullptr);
  EXPECT_EQ(channels->channelParent(asChannel(body)), nullptr);
  EXPECT_EQ(channels->channelEnvelope(asChannel(body)), nullptr);
  EXPECT_EQ(channels->channelEvaluate(asChannel(body), 0.0), 0.0);
  EXPECT_EQ(channels->channelName(reinterpret_cast<LWChannelID>(envelope)), nullptr) << "an envelope is no channel";
  EXPECT_EQ(channels->groupName(reinterpret_cast<LWChanGroupID>(envelope)), nullptr);

  int stranger = 0;
  EXPECT_EQ(channels->groupName(reinterpret_cast<LWChanGroupID>(&stranger)), nullptr);
  EXPECT_EQ(channels->channelName(reinterpret_cast<LWChannelID>(&stranger)), nullptr);
  EXPECT_EQ(channels->nextGroup(reinterpret_cast<LWChanGroupID>(&stranger), nullptr), nullptr);
  EXPECT_EQ(channels->nextChannel(reinterpret_cast<LWChanGroupID>(&stranger), nullptr), nullptr);
  EXPECT_EQ(channels->nextChannel(nullptr, nullptr), nullptr);
  EXPECT_EQ(channels->groupName(nullptr), nullptr);
  EXPECT_EQ(channels->channelName(nullptr), nullptr);
  EXPECT_EQ(channels->groupParent(nullptr), nullptr);
  EXPECT_EQ(channels->channelParent(nullptr), nullptr);
  EXPECT_EQ(channels->channelEnvelope(nullptr), nullptr);
  EXPECT_EQ(channels->channelEvaluate(nullptr, 0.0), 0.0);
}

TEST_F(ChannelInfoTest, APreviousOfAnotherParentAnswersNothing) {
  run("AddNull Body");
  run("AddBone Arm");
  run("AddNull Other");
  const LWChanGroupID body = items->chanGroup(idOf(item("Body")));
  const LWChanGroupID arm = items->chanGroup(idOf(item("Arm")));
  const LWChanGroupID other = items->chanGroup(idOf(item("Other")));
  const LWChannelID armX = channels->nextChannel(arm, nullptr);
  const LWChannelID otherX = channels->nextChannel(other, nullptr);

  EXPECT_EQ(channels->nextChannel(body, armX), nullptr) << "a channel of a subgroup";
  EXPECT_EQ(channels->nextChannel(body, otherX), nullptr) << "a channel of another item";
  EXPECT_NE(channels->nextChannel(arm, armX), nullptr);
  EXPECT_EQ(channels->nextGroup(nullptr, arm), nullptr) << "a subgroup at the top level";
  EXPECT_EQ(channels->nextGroup(body, other), nullptr) << "a top-level group below an item";
  EXPECT_EQ(channels->nextGroup(other, arm), nullptr) << "a subgroup of another group";
  EXPECT_EQ(channels->nextGroup(body, arm), nullptr) << "the last subgroup";
  EXPECT_EQ(channels->nextGroup(nullptr, body), other);
}

TEST_F(ChannelInfoTest, HandlesOfARemovedGroupAreDead) {
  run("AddNull Body");
  lwsim::Channel &smile = scene.ensureChannel(item("Body"), "Face.Smile");
  lwsim::ChannelGroup *face = smile.parent();
  const LWChanGroupID faceId = groupOf(face);
  const LWChannelID smileId = channelOf(&smile);
  const LWEnvelopeID smileEnvelope = envelopeOf(smile);
  ASSERT_STREQ(channels->groupName(faceId), "Face");
  item("Body").group->removeGroup(face);

  EXPECT_EQ(channels->groupName(faceId), nullptr);
  EXPECT_EQ(channels->groupParent(faceId), nullptr);
  EXPECT_EQ(channels->nextGroup(faceId, nullptr), nullptr);
  EXPECT_EQ(channels->nextGroup(groupOf(item("Body").group), faceId), nullptr);
  EXPECT_EQ(channels->nextChannel(faceId, nullptr), nullptr);
  EXPECT_EQ(channels->channelName(smileId), nullptr);
  EXPECT_EQ(channels->channelParent(smileId), nullptr);
  EXPECT_EQ(channels->channelEnvelope(smileId), nullptr);
  EXPECT_EQ(channels->channelEvaluate(smileId, 0.0), 0.0);
  EXPECT_EQ(envelopes->evaluate(smileEnvelope, 0.0), 0.0);
  EXPECT_EQ(envelopes->createKey(smileEnvelope, 0.0, 1.0), nullptr);
  EXPECT_EQ(envelopes->nextKey(smileEnvelope, nullptr), nullptr);
}

// ============================================================================
// "Animation Envelopes 4"
// ============================================================================

class EnvelopeFuncsTest : public SceneServices {
 protected:
  void SetUp() override {
    run("AddNull Body");
    extra = envelopeOf(scene.ensureChannel(item("Body"), "Extra"));
    other = envelopeOf(scene.ensureChannel(item("Body"), "Other"));
  }

  std::vector<double> times(LWEnvelopeID env) {
    std::vector<double> out;
    for (LWEnvKeyframeID k = envelopes->nextKey(env, nullptr); k != nullptr; k = envelopes->nextKey(env, k)) {
      double time = -1.0;
      EXPECT_EQ(envelopes->keyGet(env, k, LWKEY_TIME, &time), 1);
      out.push_back(time);
    }
    return out;
  }

  double value(LWEnvelopeID env, LWEnvKeyframeID k) {
    double out = -1.0;
    EXPECT_EQ(envelopes->keyGet(env, k, LWKEY_VALUE, &out), 1);
    return out;
  }

  int count(LWEnvelopeID env) {
    int out = -1;
    EXPECT_EQ(envelopes->egGet(env, nullptr, LWENVTAG_KEYCOUNT, &out), 1);
    return out;
  }

  LWEnvelopeID extra = nullptr;  // empty envelopes of two channels
  LWEnvelopeID other = nullptr;
};

TEST_F(EnvelopeFuncsTest, CreateKeyKeepsKeysInTimeOrder) {
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), nullptr) << "no key yet";
  EXPECT_EQ(count(extra), 0);
  const LWEnvKeyframeID two = envelopes->createKey(extra, 2.0, 20.0);
  const LWEnvKeyframeID zero = envelopes->createKey(extra, 0.0, 0.5);
  const LWEnvKeyframeID one = envelopes->createKey(extra, 1.0, 10.0);
  ASSERT_NE(two, nullptr);
  EXPECT_NE(zero, two);
  EXPECT_NE(one, zero);
  EXPECT_THAT(times(extra), ElementsAre(0.0, 1.0, 2.0));
  EXPECT_EQ(count(extra), 3);
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), zero);
  EXPECT_EQ(envelopes->nextKey(extra, zero), one);
  EXPECT_EQ(envelopes->nextKey(extra, one), two);
  EXPECT_EQ(envelopes->nextKey(extra, two), nullptr);
  EXPECT_DOUBLE_EQ(value(extra, one), 10.0);
}

TEST_F(EnvelopeFuncsTest, CreateKeyAtAnExistingTimeReplacesItsValue) {
  const LWEnvKeyframeID first = envelopes->createKey(extra, 1.0, 10.0);
  int shape = SHAPE_STEP;
  ASSERT_EQ(envelopes->keySet(extra, first, LWKEY_SHAPE, &shape), 1);
  const LWEnvKeyframeID again = envelopes->createKey(extra, 1.0, -3.0);
  EXPECT_EQ(again, first);
  EXPECT_EQ(count(extra), 1);
  EXPECT_DOUBLE_EQ(value(extra, first), -3.0);
  int kept = -1;
  envelopes->keyGet(extra, first, LWKEY_SHAPE, &kept);
  EXPECT_EQ(kept, SHAPE_STEP) << "only the value is replaced";
}

TEST_F(EnvelopeFuncsTest, DestroyKeyRemovesThatKeyOnly) {
  const LWEnvKeyframeID a = envelopes->createKey(extra, 0.0, 1.0);
  const LWEnvKeyframeID b = envelopes->createKey(extra, 1.0, 2.0);
  const LWEnvKeyframeID c = envelopes->createKey(extra, 2.0, 3.0);
  envelopes->destroyKey(extra, b);
  EXPECT_THAT(times(extra), ElementsAre(0.0, 2.0));
  EXPECT_EQ(envelopes->nextKey(extra, a), c);
  EXPECT_EQ(envelopes->findKey(extra, 1.0), nullptr);
  envelopes->destroyKey(extra, a);
  envelopes->destroyKey(extra, c);
  EXPECT_EQ(count(extra), 0);
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), nullptr);
}

TEST_F(EnvelopeFuncsTest, FindKeyAnswersTheKeyAtThatTime) {
  const LWEnvKeyframeID a = envelopes->createKey(extra, 0.5, 1.0);
  const LWEnvKeyframeID b = envelopes->createKey(extra, 1.5, 2.0);
  EXPECT_EQ(envelopes->findKey(extra, 0.5), a);
  EXPECT_EQ(envelopes->findKey(extra, 1.5), b);
  EXPECT_EQ(envelopes->findKey(extra, 1.5 + 1e-12), b) << "the same time up to rounding";
  EXPECT_EQ(envelopes->findKey(extra, 1.0), nullptr);
  EXPECT_EQ(envelopes->findKey(extra, 1.5001), nullptr);
  EXPECT_EQ(envelopes->findKey(other, 0.5), nullptr) << "each envelope has its own keys";
}

TEST_F(EnvelopeFuncsTest, KeySetAndKeyGetOfEveryTag) {
  const LWEnvKeyframeID k = envelopes->createKey(extra, 1.0, 0.0);
  struct DoubleTag {
    LWKeyTag tag;
    double value;
  };
  const std::vector<DoubleTag> doubles = {
      {LWKEY_VALUE, 4.25},      {LWKEY_TIME, 1.75},     {LWKEY_TENSION, -0.5},
      {LWKEY_CONTINUITY, 0.25}, {LWKEY_BIAS, 0.75},     {LWKEY_PARAM_0, -1.25},
      {LWKEY_PARAM_1, 2.5},     {LWKEY_PARAM_2, 0.125}, {LWKEY_PARAM_3, -3.0625},
  };
  for (DoubleTag each : doubles) {
    SCOPED_TRACE(each.tag);
    EXPECT_EQ(envelopes->keySet(extra, k, each.tag, &each.value), 1);
    double read = 0.0;
    EXPECT_EQ(envelopes->keyGet(extra, k, each.tag, &read), 1);
    EXPECT_EQ(read, each.value);
  }
  // All nine stay set side by side.
  for (const DoubleTag &each : doubles) {
    double read = 0.0;
    envelopes->keyGet(extra, k, each.tag, &read);
    EXPECT_EQ(read, each.value) << each.tag;
  }

  // The shape is an int: exactly one int is read and written.
  struct {
    int shape;
    int guard;
  } in{SHAPE_BEZ2, 0x7FF80000}, out{-1, 0x5A5A5A5A};
  EXPECT_EQ(envelopes->keySet(extra, k, LWKEY_SHAPE, &in.shape), 1);
  EXPECT_EQ(envelopes->keyGet(extra, k, LWKEY_SHAPE, &out.shape), 1);
  EXPECT_EQ(out.shape, SHAPE_BEZ2);
  EXPECT_EQ(out.guard, 0x5A5A5A5A);
  const lwsim::EnvelopeKey &stored = scene.findChannel(item("Body"), "Extra")->envelope().key(0);
  EXPECT_EQ(stored.shape, SHAPE_BEZ2);
  EXPECT_EQ(stored.time, 1.75);
  EXPECT_EQ(stored.value, 4.25);
  EXPECT_THAT(stored.params, ElementsAre(-1.25, 2.5, 0.125, -3.0625));
}

TEST_F(EnvelopeFuncsTest, UnknownTagIsRefused) {
  const LWEnvKeyframeID k = envelopes->createKey(extra, 1.0, 3.0);
  double value = 9.0;
  EXPECT_EQ(envelopes->keySet(extra, k, 10, &value), 0);
  EXPECT_EQ(envelopes->keyGet(extra, k, 10, &value), 0);
  EXPECT_EQ(envelopes->keyGet(extra, k, -1, &value), 0);
  EXPECT_EQ(value, 9.0);
  EXPECT_DOUBLE_EQ(this->value(extra, k), 3.0);
}

TEST_F(EnvelopeFuncsTest, SettingAKeysTimeReordersTheKeys) {
  const LWEnvKeyframeID a = envelopes->createKey(extra, 0.0, 1.0);
  const LWEnvKeyframeID b = envelopes->createKey(extra, 1.0, 2.0);
  const LWEnvKeyframeID c = envelopes->createKey(extra, 2.0, 3.0);
  double later = 1.5;
  ASSERT_EQ(envelopes->keySet(extra, a, LWKEY_TIME, &later), 1);
  EXPECT_THAT(times(extra), ElementsAre(1.0, 1.5, 2.0));
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), b);
  EXPECT_EQ(envelopes->nextKey(extra, b), a);
  EXPECT_EQ(envelopes->nextKey(extra, a), c);
  EXPECT_EQ(envelopes->findKey(extra, 1.5), a);
  EXPECT_EQ(envelopes->findKey(extra, 0.0), nullptr);

  double earliest = -1.0;
  ASSERT_EQ(envelopes->keySet(extra, c, LWKEY_TIME, &earliest), 1);
  EXPECT_THAT(times(extra), ElementsAre(-1.0, 1.0, 1.5));
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), c);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, -1.0), 3.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 1.5), 1.0);

  double occupied = 1.0;
  EXPECT_EQ(envelopes->keySet(extra, c, LWKEY_TIME, &occupied), 0) << "a key cannot move onto another";
  EXPECT_THAT(times(extra), ElementsAre(-1.0, 1.0, 1.5));
}

TEST_F(EnvelopeFuncsTest, BehavioursAndKeyCount) {
  int pre = -1, post = -1;
  EXPECT_EQ(envelopes->egGet(extra, nullptr, LWENVTAG_PREBEHAVE, &pre), 1);
  EXPECT_EQ(envelopes->egGet(extra, nullptr, LWENVTAG_POSTBEHAVE, &post), 1);
  EXPECT_EQ(pre, BEH_CONSTANT);
  EXPECT_EQ(post, BEH_CONSTANT);

  int repeat = BEH_REPEAT, linear = BEH_LINEAR;
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &repeat), 1);
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_POSTBEHAVE, &linear), 1);
  envelopes->egGet(extra, nullptr, LWENVTAG_PREBEHAVE, &pre);
  envelopes->egGet(extra, nullptr, LWENVTAG_POSTBEHAVE, &post);
  EXPECT_EQ(pre, BEH_REPEAT);
  EXPECT_EQ(post, BEH_LINEAR);
  envelopes->egGet(other, nullptr, LWENVTAG_PREBEHAVE, &pre);
  EXPECT_EQ(pre, BEH_CONSTANT) << "each envelope has its own";

  envelopes->createKey(extra, 0.0, 0.0);
  envelopes->createKey(extra, 1.0, 0.0);
  EXPECT_EQ(count(extra), 2);
  int forced = 7;
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_KEYCOUNT, &forced), 0) << "the key count is read-only";
  EXPECT_EQ(count(extra), 2);
  EXPECT_EQ(envelopes->egSet(extra, nullptr, 99, &forced), 0);
  int unknownBehaviour = 6;
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &unknownBehaviour), 0);
  EXPECT_EQ(envelopes->egGet(extra, nullptr, 99, &forced), 0);
  EXPECT_EQ(forced, 7);

  const LWChanGroupID group = items->chanGroup(idOf(item("Body")));
  int viaGroup = -1;
  EXPECT_EQ(envelopes->egGet(extra, group, LWENVTAG_POSTBEHAVE, &viaGroup), 1);
  EXPECT_EQ(viaGroup, BEH_LINEAR);
}

TEST_F(EnvelopeFuncsTest, EvaluateFollowsKeysAndBehaviours) {
  EXPECT_EQ(envelopes->evaluate(extra, 1.0), 0.0) << "an empty envelope";
  int shape = SHAPE_LINE;
  envelopes->createKey(extra, 0.0, 1.0);
  envelopes->keySet(extra, envelopes->createKey(extra, 2.0, 5.0), LWKEY_SHAPE, &shape);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 0.5), 2.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 2.0), 5.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 3.0), 5.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, -1.0), 1.0);
  int repeat = BEH_REPEAT, reset = BEH_RESET;
  envelopes->egSet(extra, nullptr, LWENVTAG_POSTBEHAVE, &repeat);
  envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &reset);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 2.5), 2.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, -1.0), 0.0);

  // The motion channels' envelopes are the ones param reads.
  const LWEnvelopeID x = envelopeOf(*scene.findChannel(item("Body"), "Position.X"));
  envelopes->keySet(x, envelopes->createKey(x, 1.0, 4.0), LWKEY_SHAPE, &shape);
  LWDVector position = {};
  items->param(idOf(item("Body")), LWIP_POSITION, 0.25, position);
  EXPECT_DOUBLE_EQ(position[0], 1.0);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(x, 0.25), 1.0);
}

TEST_F(EnvelopeFuncsTest, AKeyOfAnotherEnvelopeIsRefusedAndNothingChanges) {
  const LWEnvKeyframeID mine = envelopes->createKey(extra, 1.0, 1.0);
  const LWEnvKeyframeID theirs = envelopes->createKey(other, 1.0, 2.0);
  envelopes->destroyKey(extra, theirs);
  EXPECT_EQ(count(other), 1);
  EXPECT_EQ(count(extra), 1);
  EXPECT_EQ(envelopes->nextKey(extra, theirs), nullptr);
  double value = 9.0;
  EXPECT_EQ(envelopes->keySet(extra, theirs, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(envelopes->keyGet(extra, theirs, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(value, 9.0);
  EXPECT_DOUBLE_EQ(this->value(other, theirs), 2.0);
  EXPECT_DOUBLE_EQ(this->value(extra, mine), 1.0);
}

TEST_F(EnvelopeFuncsTest, ADestroyedKeyIsRefusedAndNothingChanges) {
  const LWEnvKeyframeID gone = envelopes->createKey(extra, 1.0, 1.0);
  const LWEnvKeyframeID kept = envelopes->createKey(extra, 2.0, 2.0);
  envelopes->destroyKey(extra, gone);
  envelopes->destroyKey(extra, gone);
  EXPECT_THAT(times(extra), ElementsAre(2.0));
  EXPECT_EQ(envelopes->nextKey(extra, gone), nullptr);
  double value = 9.0;
  int shape = SHAPE_STEP;
  EXPECT_EQ(envelopes->keySet(extra, gone, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(envelopes->keySet(extra, gone, LWKEY_SHAPE, &shape), 0);
  EXPECT_EQ(envelopes->keyGet(extra, gone, LWKEY_TIME, &value), 0);
  EXPECT_EQ(value, 9.0);
  EXPECT_DOUBLE_EQ(this->value(extra, kept), 2.0);
}

TEST_F(EnvelopeFuncsTest, NullPointersAnswerZeroAndChangeNothing) {
  const LWEnvKeyframeID k = envelopes->createKey(extra, 1.0, 1.0);
  EXPECT_EQ(envelopes->keySet(extra, k, LWKEY_VALUE, nullptr), 0);
  EXPECT_EQ(envelopes->keySet(extra, k, LWKEY_SHAPE, nullptr), 0);
  EXPECT_EQ(envelopes->keySet(extra, k, LWKEY_TIME, nullptr), 0);
  EXPECT_EQ(envelopes->keyGet(extra, k, LWKEY_VALUE, nullptr), 0);
  EXPECT_EQ(envelopes->keyGet(extra, k, LWKEY_SHAPE, nullptr), 0);
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, nullptr), 0);
  EXPECT_EQ(envelopes->egGet(extra, nullptr, LWENVTAG_KEYCOUNT, nullptr), 0);
  EXPECT_THAT(times(extra), ElementsAre(1.0));
  EXPECT_DOUBLE_EQ(value(extra, k), 1.0);

  double value = 9.0;
  int code = BEH_RESET;
  EXPECT_EQ(envelopes->keySet(extra, nullptr, LWKEY_VALUE, &value), 0) << "no key";
  EXPECT_EQ(envelopes->keyGet(extra, nullptr, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(envelopes->createKey(nullptr, 0.0, 1.0), nullptr) << "no envelope";
  EXPECT_EQ(envelopes->findKey(nullptr, 1.0), nullptr);
  EXPECT_EQ(envelopes->nextKey(nullptr, nullptr), nullptr);
  EXPECT_EQ(envelopes->keyGet(nullptr, k, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(envelopes->keySet(nullptr, k, LWKEY_VALUE, &value), 0);
  EXPECT_EQ(envelopes->egSet(nullptr, nullptr, LWENVTAG_PREBEHAVE, &code), 0);
  EXPECT_EQ(envelopes->egGet(nullptr, nullptr, LWENVTAG_PREBEHAVE, &code), 0);
  EXPECT_EQ(envelopes->evaluate(nullptr, 1.0), 0.0);
  envelopes->destroyKey(nullptr, k);
  envelopes->destroyKey(extra, nullptr);
  EXPECT_EQ(value, 9.0);
  EXPECT_EQ(code, BEH_RESET);
  EXPECT_EQ(count(extra), 1);
}

TEST_F(EnvelopeFuncsTest, AChannelOrGroupIsNoEnvelope) {
  lwsim::Channel *x = scene.findChannel(item("Body"), "Position.X");
  const LWEnvelopeID notEnvelope = asEnvelope(channelOf(x));
  EXPECT_EQ(envelopes->createKey(notEnvelope, 3.0, 1.0), nullptr);
  EXPECT_EQ(envelopes->nextKey(notEnvelope, nullptr), nullptr);
  int count = -1;
  EXPECT_EQ(envelopes->egGet(notEnvelope, nullptr, LWENVTAG_KEYCOUNT, &count), 0);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(envelopes->evaluate(reinterpret_cast<LWEnvelopeID>(x->parent()), 0.0), 0.0);
  EXPECT_EQ(x->envelope().keyCount(), 1u);
}

// ============================================================================
// Snapshots: "LW Interface Info 8", "LW Scene Info 12", "LW Time Info"
// ============================================================================

class SnapshotsTest : public SceneServices {
 protected:
  LWInterfaceInfo *interface() { return record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL); }
  LWSceneInfo *sceneInfo() { return record<LWSceneInfo>(LWSCENEINFO_GLOBAL); }
  LWTimeInfo *timeInfo() { return record<LWTimeInfo>(LWTIMEINFO_GLOBAL); }

  static std::vector<LWItemID> selection(const LWInterfaceInfo *info) {
    std::vector<LWItemID> ids;
    for (const LWItemID *at = info->selItems; *at != nullptr; ++at) ids.push_back(*at);
    return ids;
  }

  // The 32-bit integer at byte offset 100, read as the master reads it.
  static std::int32_t autoKeyMode(const LWInterfaceInfo *info) {
    std::int32_t flag = -1;
    std::memcpy(&flag, reinterpret_cast<const unsigned char *>(info) + 100, sizeof flag);
    return flag;
  }
};

TEST_F(SnapshotsTest, InterfaceInfoOfAFreshScene) {
  const LWInterfaceInfo *info = interface();
  EXPECT_EQ(info->curTime, 0.0);
  ASSERT_NE(info->selItems, nullptr);
  EXPECT_EQ(info->selItems[0], nullptr) << "nothing selected";
  EXPECT_EQ(info->previewStart, 1);
  EXPECT_EQ(info->previewEnd, 60);
  EXPECT_EQ(info->previewStep, 1);
  EXPECT_EQ(autoKeyMode(info), LWAKC_OFF);
}

TEST_F(SnapshotsTest, InterfaceInfoShowsTimeSelectionAndPreviewRange) {
  run("AddNull A");
  run("AddNull B");
  run("AddCamera C");
  run("GoToFrame 12");
  run("SelectItem 0x30000000");
  run("AddToSelection 0x10000000");
  run("AddToSelection 0x10000001");
  run("AddToSelection 0x10000000");  // already selected: the order stays
  run("PreviewFirstFrame 5");
  run("PreviewLastFrame 48");
  run("PreviewFrameStep 2");
  const LWInterfaceInfo *info = interface();
  EXPECT_DOUBLE_EQ(info->curTime, 12.0 / 30.0);
  EXPECT_THAT(selection(info), ElementsAre(idOf(item("C")), idOf(item("A")), idOf(item("B"))));
  EXPECT_EQ(info->selItems[3], nullptr);
  EXPECT_EQ(info->previewStart, 5);
  EXPECT_EQ(info->previewEnd, 48);
  EXPECT_EQ(info->previewStep, 2);

  run("SelectByName B");
  EXPECT_THAT(selection(interface()), ElementsAre(idOf(item("B"))));
  run("ClearSelection");
  EXPECT_THAT(selection(interface()), ElementsAre());
}

TEST_F(SnapshotsTest, SchematicPositionOfEachItem) {
  run("AddNull A");
  run("SchematicPosition 12.5 -40");
  run("AddNull B");
  const LWInterfaceInfo *info = interface();
  double x = -1.0, y = -1.0;
  info->schemaPos(idOf(item("A")), &x, &y);
  EXPECT_EQ(x, 12.5);
  EXPECT_EQ(y, -40.0);
  info->schemaPos(idOf(item("B")), &x, &y);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 0.0);
  x = y = -1.0;
  info->schemaPos(idOf(std::uintptr_t{0x10000009}), &x, &y);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 0.0);
  info->schemaPos(idOf(item("A")), nullptr, &y);
  EXPECT_EQ(y, -40.0);
  info->schemaPos(idOf(item("A")), &x, nullptr);
  EXPECT_EQ(x, 12.5);
}

TEST_F(SnapshotsTest, TheAutoKeyCreateModeSitsAtByteOffset100) {
  EXPECT_EQ(autoKeyMode(interface()), LWAKC_OFF);
  host.snapshots().setAutoKeyCreate(LWAKC_EXISTING);
  const LWInterfaceInfo *keying = interface();
  EXPECT_EQ(autoKeyMode(keying), LWAKC_EXISTING);
  EXPECT_EQ(keying->autoKeyCreate, LWAKC_EXISTING);
  host.snapshots().setAutoKeyCreate(LWAKC_OFF);
  EXPECT_EQ(autoKeyMode(interface()), LWAKC_OFF);
  EXPECT_EQ(autoKeyMode(keying), LWAKC_EXISTING) << "a snapshot keeps what it saw";
}

TEST_F(SnapshotsTest, EachLookupIsAFreshSnapshotAndEarlierOnesStayReadable) {
  run("AddNull A");
  run("AddNull B");
  run("SelectByName A");
  const LWInterfaceInfo *before = interface();
  const LWSceneInfo *sceneBefore = sceneInfo();
  const LWTimeInfo *timeBefore = timeInfo();

  run("GoToFrame 30");
  run("SelectByName B");
  run("AddToSelection 0x10000000");
  run("PreviewLastFrame 90");
  run("LastFrame 120");
  const LWInterfaceInfo *after = interface();
  const LWSceneInfo *sceneAfter = sceneInfo();
  const LWTimeInfo *timeAfter = timeInfo();
  EXPECT_NE(before, after);
  EXPECT_NE(sceneBefore, sceneAfter);
  EXPECT_NE(timeBefore, timeAfter);

  EXPECT_EQ(before->curTime, 0.0);
  EXPECT_THAT(selection(before), ElementsAre(idOf(item("A"))));
  EXPECT_EQ(before->previewEnd, 60);
  EXPECT_EQ(sceneBefore->frameEnd, 60);
  EXPECT_EQ(timeBefore->frame, 0);

  EXPECT_DOUBLE_EQ(after->curTime, 1.0);
  EXPECT_THAT(selection(after), ElementsAre(idOf(item("B")), idOf(item("A"))));
  EXPECT_EQ(after->previewEnd, 90);
  EXPECT_EQ(sceneAfter->frameEnd, 120);
  EXPECT_EQ(timeAfter->frame, 30);

  // A few more lookups later the first snapshot still reads the same.
  for (int i = 0; i < 8; ++i) interface();
  EXPECT_THAT(selection(before), ElementsAre(idOf(item("A"))));
  EXPECT_EQ(before->curTime, 0.0);
}

TEST_F(SnapshotsTest, SceneInfoOfAFreshScene) {
  const LWSceneInfo *info = sceneInfo();
  EXPECT_STREQ(info->name, "Untitled");
  EXPECT_EQ(info->filename, nullptr);
  EXPECT_EQ(info->frameStart, 1);
  EXPECT_EQ(info->frameEnd, 60);
  EXPECT_EQ(info->frameStep, 1);
  EXPECT_EQ(info->framesPerSecond, 30.0);
  EXPECT_EQ(info->frameWidth, 640);
  EXPECT_EQ(info->frameHeight, 480);
}

TEST_F(SnapshotsTest, SceneInfoShowsRenderRangeRateAndFrameSize) {
  run("AddCamera Main");
  run("FrameSize 1280 720");
  run("AddCamera Second");
  run("FrameSize 320 200");
  run("FirstFrame 10");
  run("LastFrame 250");
  run("FrameStep 5");
  run("PreviewFirstFrame 2");
  scene.setFramesPerSecond(24.0);
  scene.setFile("Walk", "/scenes/Walk.lws");
  const LWSceneInfo *info = sceneInfo();
  EXPECT_EQ(info->frameStart, 10);
  EXPECT_EQ(info->frameEnd, 250);
  EXPECT_EQ(info->frameStep, 5);
  EXPECT_EQ(info->framesPerSecond, 24.0);
  EXPECT_EQ(info->frameWidth, 1280) << "the first camera's resolution";
  EXPECT_EQ(info->frameHeight, 720);
  EXPECT_STREQ(info->name, "Walk");
  EXPECT_STREQ(info->filename, "/scenes/Walk.lws");
}

TEST_F(SnapshotsTest, TimeInfoShowsTheTimeAndFrame) {
  const LWTimeInfo *start = timeInfo();
  EXPECT_EQ(start->time, 0.0);
  EXPECT_EQ(start->frame, 0);
  run("GoToFrame 15");
  const LWTimeInfo *half = timeInfo();
  EXPECT_DOUBLE_EQ(half->time, 0.5);
  EXPECT_EQ(half->frame, 15);

  scene.setFramesPerSecond(24.0);
  run("GoToFrame 7");
  const LWTimeInfo *seventh = timeInfo();
  EXPECT_DOUBLE_EQ(seventh->time, 7.0 / 24.0);
  EXPECT_EQ(seventh->frame, 7);
  EXPECT_DOUBLE_EQ(interface()->curTime, 7.0 / 24.0);

  run("GoToFrame -3");
  EXPECT_DOUBLE_EQ(timeInfo()->time, -3.0 / 24.0);
  EXPECT_EQ(timeInfo()->frame, -3);
  EXPECT_EQ(host.commands().run("GoToFrame later"), 0);
  EXPECT_EQ(timeInfo()->frame, -3);
}

}  // namespace
