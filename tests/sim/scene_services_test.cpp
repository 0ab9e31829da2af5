// The host's scene as a plug-in sees it: the records looked up by their
// global ids ("LW Item Info 9", "LW Object Info 14", "LW Bone Info 7",
// "LW Camera Info 10", "Scene Objects 9", "Channel Info 3", "Animation
// Envelopes 4") and the snapshots ("LW Interface Info 8", "LW Scene Info 12",
// "LW Time Info"), over scenes an lwsim script builds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
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
#include "support/script_session.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsNull;

constexpr double kPi = 3.14159265358979323846;
const std::vector<std::string> kMotion = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                                          "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};

LWItemID idOf(std::uintptr_t raw) { return reinterpret_cast<LWItemID>(raw); }
template <class To, class From>
To as(From from) {
  return reinterpret_cast<To>(from);
}

// Answers that must all be null, checked at once.
template <class... Pointers>
std::vector<const void *> ptrs(Pointers... answers) {
  return {static_cast<const void *>(answers)...};
}

MATCHER_P3(Near3, x, y, z, "") {
  return std::abs(arg[0] - x) < 1e-9 && std::abs(arg[1] - y) < 1e-9 && std::abs(arg[2] - z) < 1e-9;
}

class SceneServices : public ::testing::Test {
 protected:
  template <typename Record>
  Record *record(const char *id) {
    return static_cast<Record *>(host.globals().lookup(id));
  }
  void script(const std::string &text) { lwtest::runScript(host, text); }
  lwsim::SceneItem &item(const std::string &name) {
    lwsim::SceneItem *found = scene.findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }
  LWItemID id(const std::string &name) { return idOf(item(name).id); }
  LWEnvelopeID envelope(const std::string &name, const std::string &path) {
    return as<LWEnvelopeID>(&scene.ensureChannel(item(name), path).envelope());
  }
  std::vector<double> vector3(const LWDVector v) { return {v[0], v[1], v[2]}; }
  std::vector<double> param(LWItemID item, int which, double time) {
    LWDVector out = {7.0, 7.0, 7.0};
    items->param(item, which, time, out);
    return vector3(out);
  }
  std::vector<std::string> children(LWItemID parent) {
    std::vector<std::string> names;
    for (LWItemID at = items->firstChild(parent); at != nullptr; at = items->nextChild(parent, at))
      names.push_back(items->name(at));
    return names;
  }
  std::vector<double> times(LWEnvelopeID env) {
    std::vector<double> out;
    for (LWEnvKeyframeID k = envelopes->nextKey(env, nullptr); k != nullptr; k = envelopes->nextKey(env, k)) {
      out.push_back(-1.0);
      EXPECT_EQ(envelopes->keyGet(env, k, LWKEY_TIME, &out.back()), 1);
    }
    return out;
  }
  double value(LWEnvelopeID env, LWEnvKeyframeID k) {
    double out = -1.0;
    EXPECT_EQ(envelopes->keyGet(env, k, LWKEY_VALUE, &out), 1);
    return out;
  }
  int tag(LWEnvelopeID env, int which) {
    int out = -1;
    EXPECT_EQ(envelopes->egGet(env, nullptr, which, &out), 1);
    return out;
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

// Items by type and through their parents; the motion read from the
// envelopes at the time asked (straight spans: shape 3), pivots as stored.
TEST_F(SceneServices, ItemInfoWalksTheItemsAndReadsTheirMotion) {
  EXPECT_EQ(items->first(LWI_OBJECT, nullptr), nullptr) << "an empty scene";
  script(
      "AddNull Root\nAddCamera Cam\nAddNull Arm\nAddNull Leg\nAddBone Knee\nSelectByName Root\nAddBone Spine\n"
      "AddBone Tail\nAddDistantLight Sun\nAddNull Hand\nRename Palm\n@parent Leg Root\n@parent Arm Root\n"
      "@parent Palm Arm\n@key Root Position.X 1 2 3\n@key Root Position.Y 2 -4 3\n@key Root Position.Z 0 5 3\n"
      "@key Root Rotation.H 1 1.5 3\n@key Root Rotation.B 2 -1 3\n@key Root Scale.X 1 3 3\n@key Root Scale.Z 2 0.5 3\n"
      "@key Cam Position.Z 1 -10 3\n@pivot Arm 1 -2 3.5 90 0 -45\n@key Arm Position.X 1 10 3\n");
  auto walk = [&](int type, LWItemID object) {
    std::vector<std::string> names;
    for (LWItemID at = items->first(type, object); at != nullptr; at = items->next(at))
      names.push_back(items->name(at));
    return names;
  };
  EXPECT_THAT(walk(LWI_OBJECT, nullptr), ElementsAre("Root", "Arm", "Leg", "Palm"));
  EXPECT_THAT(walk(LWI_LIGHT, nullptr), ElementsAre("Sun"));
  EXPECT_THAT(walk(LWI_CAMERA, nullptr), ElementsAre("Cam"));
  EXPECT_THAT(walk(LWI_BONE, id("Root")), ElementsAre("Spine", "Tail"));
  EXPECT_THAT(walk(LWI_BONE, id("Arm")), ElementsAre());
  EXPECT_EQ(items->first(LWI_BONE, nullptr), nullptr) << "bones are reached only through their object";
  EXPECT_EQ(scene.findByName("root"), nullptr) << "names compare case-sensitively";

  // Ids carry the type above an ordinal from 0 counted per type; bones count
  // over the whole scene. A name follows a rename, the item's group too.
  const struct {
    const char *name;
    std::uintptr_t id;
    int type;
    const char *parent;
  } table[] = {{"Root", 0x10000000, LWI_OBJECT, nullptr}, {"Palm", 0x10000003, LWI_OBJECT, "Arm"},
               {"Sun", 0x20000000, LWI_LIGHT, nullptr},   {"Cam", 0x30000000, LWI_CAMERA, nullptr},
               {"Knee", 0x40000000, LWI_BONE, "Leg"},     {"Tail", 0x40000002, LWI_BONE, "Root"}};
  for (const auto &each : table) {
    EXPECT_EQ(id(each.name), idOf(each.id)) << each.name;
    EXPECT_EQ(items->type(idOf(each.id)), each.type) << each.name;
    EXPECT_STREQ(items->name(idOf(each.id)), each.name);
    EXPECT_STREQ(channels->groupName(items->chanGroup(idOf(each.id))), each.name);
    EXPECT_EQ(items->parent(idOf(each.id)), each.parent ? id(each.parent) : nullptr) << each.name;
  }
  EXPECT_THAT(children(id("Root")), ElementsAre("Arm", "Leg", "Spine", "Tail")) << "creation order, bones too";
  EXPECT_THAT(children(id("Arm")), ElementsAre("Palm"));
  EXPECT_THAT(children(id("Palm")), ElementsAre());

  // Constant before the first key and after the last; a new item rests; a
  // camera has no scale channels; unknown parameters answer zeros.
  const struct {
    const char *name;
    int which;
    double time, x, y, z;
  } params[] = {{"Root", LWIP_POSITION, -1.0, 0.0, 0.0, 5.0},
                {"Root", LWIP_POSITION, 0.5, 1.0, -1.0, 5.0},
                {"Root", LWIP_POSITION, 3.0, 2.0, -4.0, 5.0},
                {"Root", LWIP_ROTATION, 0.5, 0.75, 0.0, -0.25},
                {"Root", LWIP_SCALING, 0.5, 2.0, 1.0, 0.875},
                {"Spine", LWIP_POSITION, 2.0, 0.0, 0.0, 0.0},
                {"Leg", LWIP_SCALING, 2.0, 1.0, 1.0, 1.0},
                {"Cam", LWIP_SCALING, 1.0, 1.0, 1.0, 1.0},
                {"Cam", LWIP_POSITION, 0.5, 0.0, 0.0, -5.0},
                {"Arm", LWIP_PIVOT, 4.0, 1.0, -2.0, 3.5},
                {"Arm", LWIP_PIVOT_ROT, 0.5, kPi / 2, 0.0, -kPi / 4},
                {"Root", LWIP_PIVOT, 0.0, 0.0, 0.0, 0.0},
                {"Root", 99, 0.0, 0.0, 0.0, 0.0}};
  for (const auto &each : params)
    EXPECT_THAT(param(id(each.name), each.which, each.time), Near3(each.x, each.y, each.z))
        << each.name << " " << each.which << " at " << each.time;
  items->param(id("Root"), LWIP_POSITION, 0.0, nullptr);  // nothing to write to

  for (std::uintptr_t raw : {std::uintptr_t{0}, std::uintptr_t{0x10000004}, std::uintptr_t{0x20000001},
                             std::uintptr_t{0x40000007}, std::uintptr_t{0x12345678}}) {
    SCOPED_TRACE(raw);
    const LWItemID unknown = idOf(raw);
    EXPECT_THAT(
        ptrs(scene.find(raw), items->next(unknown), items->firstChild(unknown), items->nextChild(unknown, id("Spine")),
             items->nextChild(id("Root"), unknown), items->parent(unknown), items->name(unknown),
             items->chanGroup(unknown), items->first(LWI_BONE, unknown)),
        Each(IsNull()));
    EXPECT_TRUE(items->type(unknown) < LWI_OBJECT || items->type(unknown) > LWI_BONE);
    for (int which : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING, LWIP_PIVOT, LWIP_PIVOT_ROT})
      EXPECT_THAT(param(unknown, which, 0.0), Near3(0.0, 0.0, 0.0)) << which;
  }
}

// Parenting that would make a cycle is refused and changes nothing; an item
// parented to none takes its subtree along.
TEST_F(SceneServices, ParentingThatWouldMakeACycleIsRefused) {
  script("AddNull Top\nAddNull Middle\nAddNull Bottom\nAddNull Aside\n@parent Middle Top\n@parent Bottom Middle\n");
  const std::pair<const char *, const char *> cycles[] = {
      {"Top", "Top"}, {"Top", "Middle"}, {"Top", "Bottom"}, {"Middle", "Bottom"}};
  for (auto [child, parent] : cycles) EXPECT_FALSE(scene.setParent(item(child), &item(parent))) << child;
  EXPECT_THAT(children(id("Top")), ElementsAre("Middle"));
  EXPECT_THAT(children(id("Middle")), ElementsAre("Bottom"));
  EXPECT_EQ(items->parent(id("Top")), nullptr);
  EXPECT_TRUE(scene.setParent(item("Bottom"), &item("Top"))) << "moving up the same tree is no cycle";
  EXPECT_TRUE(scene.setParent(item("Top"), &item("Aside")));
  EXPECT_THAT(children(id("Top")), ElementsAre("Middle", "Bottom"));
  EXPECT_TRUE(scene.setParent(item("Top"), nullptr));
  EXPECT_THAT(children(id("Aside")), ElementsAre());
  EXPECT_THAT(children(id("Top")), ElementsAre("Middle", "Bottom")) << "the subtree goes with it";
}

TEST_F(SceneServices, ObjectBoneCameraAndSceneObjectRecords) {
  EXPECT_EQ(sceneObjects->numVMaps(LWVMAP_MORF), 0);
  script(
      "LoadObject /models/robot/Arm.lwo\nAddBone Upper\nAddBone Lower\nAddNull Null\nAddCamera Main\n"
      "@key Main ZoomFactor 0 1\n@key Main ZoomFactor 2 5 3\nZoomFactor 9\nAddCamera Side\nZoomFactor 2.5\n"
      "FrameSize 1920 1080\nAddCamera Far\n@rest Upper 0.5 1 -1.5 90 0 -180\n@morph Arm Mouth.Smile\n"
      "@morph Arm Blink\n@morph Null Mouth.Smile\n");
  item("Arm").restPosition = {4.0, 4.0, 4.0};
  const LWItemID unknown = idOf(0x30000009), none = nullptr;

  EXPECT_STREQ(objects->filename(id("Arm")), "/models/robot/Arm.lwo");
  for (LWItemID other : {id("Null"), id("Upper"), id("Main"), unknown, none})
    EXPECT_EQ(objects->filename(other), nullptr);

  LWDVector out = {7.0, 7.0, 7.0};
  bones->restParam(id("Upper"), LWIP_POSITION, out);
  EXPECT_THAT(vector3(out), ElementsAre(0.5, 1.0, -1.5));
  bones->restParam(id("Upper"), LWIP_ROTATION, out);
  EXPECT_THAT(vector3(out), Near3(kPi / 2, 0.0, -kPi));
  // A new bone rests at the origin; no bone, no id or no parameter: zeros.
  const std::pair<LWItemID, int> restless[] = {{id("Lower"), LWIP_POSITION},
                                               {id("Arm"), LWIP_POSITION},
                                               {idOf(0x40000009), LWIP_POSITION},
                                               {none, LWIP_POSITION},
                                               {id("Upper"), 3}};
  for (auto [bone, which] : restless) {
    LWDVector zeros = {7.0, 7.0, 7.0};
    bones->restParam(bone, which, zeros);
    EXPECT_THAT(vector3(zeros), ElementsAre(0.0, 0.0, 0.0)) << which;
  }
  bones->restParam(id("Upper"), LWIP_POSITION, nullptr);

  // A zoom channel wins over the stored zoom; a new camera's is 3.2.
  const struct {
    LWItemID camera;
    double time, zoom;
    int width, height;
  } views[] = {{id("Main"), 0.0, 1.0, 640, 480}, {id("Main"), 1.0, 3.0, 640, 480},
               {id("Main"), 7.0, 5.0, 640, 480}, {id("Side"), 10.0, 2.5, 1920, 1080},
               {id("Far"), 0.0, 3.2, 640, 480},  {id("Null"), 0.0, 0.0, 0, 0},
               {unknown, 0.0, 0.0, 0, 0},        {none, 0.0, 0.0, 0, 0}};
  for (const auto &each : views) {
    EXPECT_DOUBLE_EQ(cameras->zoomFactor(each.camera, each.time), each.zoom) << each.time;
    int width = -1, height = -1;
    cameras->resolution(each.camera, &width, &height);
    EXPECT_EQ(width, each.width);
    EXPECT_EQ(height, each.height);
  }
  int width = -1, height = -1;
  cameras->resolution(id("Side"), nullptr, &height);
  cameras->resolution(id("Side"), &width, nullptr);
  EXPECT_EQ(width, 1920);
  EXPECT_EQ(height, 1080);

  // The scene's morph maps, each once; no other kind of map.
  ASSERT_EQ(sceneObjects->numVMaps(LWVMAP_MORF), 2);
  EXPECT_STREQ(sceneObjects->vmapName(LWVMAP_MORF, 0), "Mouth.Smile");
  EXPECT_STREQ(sceneObjects->vmapName(LWVMAP_MORF, 1), "Blink");
  EXPECT_EQ(sceneObjects->vmapName(LWVMAP_MORF, 2), nullptr);
  EXPECT_EQ(sceneObjects->vmapName(LWVMAP_MORF, -1), nullptr);
  for (LWID other : {0x57474854u, 0x54585556u, 0u}) {  // 'WGHT', 'TXUV', none
    EXPECT_EQ(sceneObjects->numVMaps(other), 0) << other;
    EXPECT_EQ(sceneObjects->vmapName(other, 0), nullptr) << other;
  }
}

// Every group from parent 0 down and every channel of each, as paths: an
// item's motion channels (a camera has six), then channels added later, then
// the bone and morph subgroups in creation order. A morph map named like a
// bone gets a group of its own. Motion channels start with one key at 0.
TEST_F(SceneServices, ChannelInfoWalksEveryGroupAndChannel) {
  EXPECT_EQ(channels->nextGroup(nullptr, nullptr), nullptr) << "an empty scene";
  script(
      "AddNull Face\nAddBone Jaw\nSelectByName Face\nAddEnvelope Dissolve\n@morph Face Mouth.Smile\n"
      "@channel Jaw Twist\n@morph Face Blink\n@morph Face Jaw.Open\n@morph Face Mouth.Frown\n"
      "@channel Face Limb.Elbow.Bend\n@channel Face Extra\nAddCamera Cam\nLoadObject /m/Prop.lwo\n");
  std::vector<std::string> paths;
  std::function<void(LWChanGroupID, LWChanGroupID, const std::string &)> visit = [&](LWChanGroupID group,
                                                                                     LWChanGroupID parent,
                                                                                     const std::string &above) {
    EXPECT_EQ(channels->groupParent(group), parent);
    const std::string path = above + channels->groupName(group) + "/";
    for (LWChannelID c = channels->nextChannel(group, nullptr); c != nullptr; c = channels->nextChannel(group, c)) {
      paths.push_back(path + channels->channelName(c));
      EXPECT_EQ(channels->channelParent(c), group) << paths.back();
      const LWEnvelopeID env = channels->channelEnvelope(c);
      if (std::count(kMotion.begin(), kMotion.end(), channels->channelName(c)) == 0) continue;
      EXPECT_EQ(tag(env, LWENVTAG_KEYCOUNT), 1) << paths.back();
      EXPECT_EQ(tag(env, LWENVTAG_PREBEHAVE), BEH_CONSTANT);
      EXPECT_EQ(tag(env, LWENVTAG_POSTBEHAVE), BEH_CONSTANT);
      EXPECT_THAT(times(env), ElementsAre(0.0));
      EXPECT_EQ(envelopes->evaluate(env, 0.0), paths.back().find("Scale") != std::string::npos ? 1.0 : 0.0);
    }
    for (LWChanGroupID sub = channels->nextGroup(group, nullptr); sub != nullptr; sub = channels->nextGroup(group, sub))
      visit(sub, group, path);
  };
  for (LWChanGroupID g = channels->nextGroup(nullptr, nullptr); g != nullptr; g = channels->nextGroup(nullptr, g))
    visit(g, nullptr, "");

  std::vector<std::string> expected;
  auto add = [&](const std::string &group, std::size_t motion, std::vector<std::string> more) {
    for (std::size_t i = 0; i < motion; ++i) expected.push_back(group + kMotion[i]);
    for (const std::string &name : more) expected.push_back(group + name);
  };
  add("Face/", 9, {"Dissolve", "Extra"});
  add("Face/Jaw/", 9, {"Twist"});
  add("", 0,
      {"Face/Mouth/Smile", "Face/Mouth/Frown", "Face/MorphGroup/Blink", "Face/Jaw/Open", "Face/Limb/Elbow/Bend"});
  add("Cam/", 6, {});
  add("Prop/", 9, {});
  EXPECT_THAT(paths, ElementsAreArray(expected));
  EXPECT_EQ(channels->nextGroup(nullptr, nullptr), items->chanGroup(id("Face")));
  EXPECT_THAT(scene.morphMaps(), ElementsAre("Mouth.Smile", "Blink", "Jaw.Open", "Mouth.Frown"));

  // A channel's envelope and value are those of that channel.
  script("@key Face Position.Y 2 8 3\n");
  const LWChanGroupID face = items->chanGroup(id("Face")), jaw = items->chanGroup(id("Jaw"));
  const LWChannelID x = channels->nextChannel(face, nullptr), y = channels->nextChannel(face, x);
  EXPECT_EQ(channels->channelEnvelope(y), envelope("Face", "Position.Y"));
  EXPECT_NE(channels->channelEnvelope(y), channels->channelEnvelope(x));
  for (double time : {-1.0, 0.5, 1.0, 3.0})
    EXPECT_DOUBLE_EQ(channels->channelEvaluate(y, time), std::clamp(time, 0.0, 2.0) * 4.0) << time;

  // Handles of the wrong kind, of another parent, or unknown answer nothing.
  const LWChanGroupID prop = items->chanGroup(id("Prop"));
  const LWChannelID jawX = channels->nextChannel(jaw, nullptr), propX = channels->nextChannel(prop, nullptr);
  int stranger = 0;
  for (LWChanGroupID bad :
       {as<LWChanGroupID>(x), as<LWChanGroupID>(channels->channelEnvelope(x)), as<LWChanGroupID>(&stranger)}) {
    EXPECT_THAT(ptrs(channels->nextGroup(bad, nullptr), channels->nextGroup(nullptr, bad),
                     channels->nextChannel(bad, nullptr), channels->groupName(bad), channels->groupParent(bad)),
                Each(IsNull()));
  }
  for (LWChannelID bad : {as<LWChannelID>(face), as<LWChannelID>(channels->channelEnvelope(x)),
                          as<LWChannelID>(&stranger), LWChannelID{}}) {
    EXPECT_THAT(ptrs(channels->channelName(bad), channels->channelParent(bad), channels->channelEnvelope(bad)),
                Each(IsNull()));
    EXPECT_EQ(channels->channelEvaluate(bad, 0.0), 0.0);
  }
  // The previous one of another parent: a subgroup's channel, another item's
  // channel, a subgroup at the top level, a top-level group below an item, a
  // subgroup of another group.
  EXPECT_THAT(
      ptrs(channels->nextChannel(nullptr, nullptr), channels->nextChannel(face, jawX),
           channels->nextChannel(face, propX), channels->nextGroup(nullptr, jaw), channels->nextGroup(face, prop),
           channels->nextGroup(prop, jaw), channels->groupName(nullptr), channels->groupParent(nullptr)),
      Each(IsNull()));
  EXPECT_NE(channels->nextChannel(jaw, jawX), nullptr);

  // Handles of a removed group are dead.
  lwsim::Channel &smile = *scene.findChannel(item("Face"), "Mouth.Smile");
  const LWChanGroupID mouth = as<LWChanGroupID>(smile.parent());
  const LWChannelID smileId = as<LWChannelID>(&smile);
  const LWEnvelopeID smileEnvelope = channels->channelEnvelope(smileId);
  item("Face").group->removeGroup(smile.parent());
  EXPECT_THAT(ptrs(channels->groupName(mouth), channels->groupParent(mouth), channels->nextGroup(mouth, nullptr),
                   channels->nextGroup(face, mouth), channels->nextChannel(mouth, nullptr),
                   channels->channelName(smileId), channels->channelEnvelope(smileId),
                   envelopes->createKey(smileEnvelope, 0.0, 1.0), envelopes->nextKey(smileEnvelope, nullptr)),
              Each(IsNull()));
  EXPECT_EQ(envelopes->evaluate(smileEnvelope, 0.0), 0.0);
}

TEST_F(SceneServices, EnvelopeFuncsKeepKeysInTimeOrder) {
  script("AddNull Body\n@channel Body Extra\n@channel Body Other\n");
  const LWEnvelopeID extra = envelope("Body", "Extra"), other = envelope("Body", "Other");
  EXPECT_EQ(envelopes->nextKey(extra, nullptr), nullptr);
  EXPECT_EQ(envelopes->evaluate(extra, 1.0), 0.0) << "an empty envelope";
  const LWEnvKeyframeID two = envelopes->createKey(extra, 2.0, 20.0);
  const LWEnvKeyframeID zero = envelopes->createKey(extra, 0.0, 0.5);
  const LWEnvKeyframeID one = envelopes->createKey(extra, 1.0, 10.0);
  EXPECT_THAT(times(extra), ElementsAre(0.0, 1.0, 2.0));
  EXPECT_EQ(tag(extra, LWENVTAG_KEYCOUNT), 3);
  // A time equal up to rounding finds the key; each envelope has its own.
  EXPECT_THAT((std::vector<LWEnvKeyframeID>{envelopes->nextKey(extra, nullptr), envelopes->nextKey(extra, zero),
                                            envelopes->nextKey(extra, one), envelopes->nextKey(extra, two),
                                            envelopes->findKey(extra, 1.0 + 1e-12), envelopes->findKey(extra, 1.0001),
                                            envelopes->findKey(other, 1.0)}),
              ElementsAre(zero, one, two, nullptr, one, nullptr, nullptr));

  // A key at an existing time replaces only the value.
  int step = SHAPE_STEP;
  ASSERT_EQ(envelopes->keySet(extra, one, LWKEY_SHAPE, &step), 1);
  EXPECT_EQ(envelopes->createKey(extra, 1.0, -3.0), one);
  EXPECT_DOUBLE_EQ(value(extra, one), -3.0);
  int shape = -1;
  envelopes->keyGet(extra, one, LWKEY_SHAPE, &shape);
  EXPECT_EQ(shape, SHAPE_STEP);

  // Moving a key reorders; it cannot move onto another.
  double later = 1.5, earliest = -1.0, occupied = 1.5;
  ASSERT_EQ(envelopes->keySet(extra, zero, LWKEY_TIME, &later), 1);
  ASSERT_EQ(envelopes->keySet(extra, two, LWKEY_TIME, &earliest), 1);
  EXPECT_EQ(envelopes->keySet(extra, one, LWKEY_TIME, &occupied), 0);
  EXPECT_THAT(times(extra), ElementsAre(-1.0, 1.0, 1.5));
  EXPECT_EQ(envelopes->findKey(extra, 1.5), zero);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, -1.0), 20.0);

  // Destroying keys out of order, then a destroyed key or one of another
  // envelope: refused, nothing changes.
  const LWEnvKeyframeID theirs = envelopes->createKey(other, 1.0, 2.0);
  envelopes->destroyKey(extra, zero);
  envelopes->destroyKey(extra, two);
  envelopes->destroyKey(extra, two);
  envelopes->destroyKey(extra, theirs);
  EXPECT_THAT(times(extra), ElementsAre(1.0));
  EXPECT_THAT(times(other), ElementsAre(1.0));
  double untouched = 9.0;
  const std::pair<LWEnvelopeID, LWEnvKeyframeID> refused[] = {
      {extra, two}, {extra, theirs}, {extra, nullptr}, {nullptr, one}};
  for (auto [env, key] : refused) {
    EXPECT_EQ(key != nullptr ? envelopes->nextKey(env, key) : nullptr, nullptr);
    EXPECT_THAT((std::vector<int>{envelopes->keySet(env, key, LWKEY_VALUE, &untouched),
                                  envelopes->keyGet(env, key, LWKEY_VALUE, &untouched)}),
                Each(0));
    envelopes->destroyKey(env, key);
  }
  EXPECT_EQ(untouched, 9.0);
  EXPECT_DOUBLE_EQ(value(other, theirs), 2.0);
  EXPECT_DOUBLE_EQ(value(extra, one), -3.0);
  for (int which : {LWKEY_VALUE, LWKEY_SHAPE, LWKEY_TIME})
    EXPECT_THAT((std::vector<int>{envelopes->keySet(extra, one, which, nullptr),
                                  envelopes->keyGet(extra, one, which, nullptr)}),
                Each(0));
  // No envelope, a channel or a group offered as one.
  const LWEnvelopeID channelNotEnvelope = as<LWEnvelopeID>(scene.findChannel(item("Body"), "Position.X"));
  EXPECT_THAT(ptrs(envelopes->createKey(nullptr, 0.0, 1.0), envelopes->findKey(nullptr, 1.0),
                   envelopes->createKey(channelNotEnvelope, 3.0, 1.0), envelopes->nextKey(channelNotEnvelope, nullptr)),
              Each(IsNull()));
  EXPECT_EQ(envelopes->evaluate(nullptr, 1.0), 0.0);
  EXPECT_EQ(envelopes->evaluate(as<LWEnvelopeID>(item("Body").group), 0.0), 0.0);
}

// Every tag of a key reads back what was set; the shape is an int and exactly
// one int is read and written.
TEST_F(SceneServices, EnvelopeFuncsSetAndGetEveryTagAndBehaviour) {
  script("AddNull Body\n@channel Body Extra\n@channel Body Other\n");
  const LWEnvelopeID extra = envelope("Body", "Extra"), other = envelope("Body", "Other");
  const LWEnvKeyframeID k = envelopes->createKey(extra, 1.0, 0.0);
  const std::pair<LWKeyTag, double> doubles[] = {
      {LWKEY_VALUE, 4.25},      {LWKEY_TIME, 1.75},     {LWKEY_TENSION, -0.5},
      {LWKEY_CONTINUITY, 0.25}, {LWKEY_BIAS, 0.75},     {LWKEY_PARAM_0, -1.25},
      {LWKEY_PARAM_1, 2.5},     {LWKEY_PARAM_2, 0.125}, {LWKEY_PARAM_3, -3.0625}};
  for (auto [which, number] : doubles) EXPECT_EQ(envelopes->keySet(extra, k, which, &number), 1) << which;
  for (auto [which, number] : doubles) {
    double read = 0.0;
    EXPECT_EQ(envelopes->keyGet(extra, k, which, &read), 1);
    EXPECT_EQ(read, number) << which;
  }
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
  EXPECT_THAT(stored.params, ElementsAre(-1.25, 2.5, 0.125, -3.0625));
  double untouched = 9.0;
  for (int unknown : {10, -1})
    EXPECT_THAT((std::vector<int>{envelopes->keySet(extra, k, unknown, &untouched),
                                  envelopes->keyGet(extra, k, unknown, &untouched)}),
                Each(0));
  EXPECT_EQ(untouched, 9.0);

  // Behaviours, per envelope; the key count is read-only; behaviours are 0 to 5.
  int repeat = BEH_REPEAT, linear = BEH_LINEAR, six = 6, forced = 7, code = BEH_RESET;
  EXPECT_EQ(tag(extra, LWENVTAG_PREBEHAVE), BEH_CONSTANT);
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &repeat), 1);
  EXPECT_EQ(envelopes->egSet(extra, nullptr, LWENVTAG_POSTBEHAVE, &linear), 1);
  EXPECT_EQ(tag(extra, LWENVTAG_PREBEHAVE), BEH_REPEAT);
  EXPECT_EQ(tag(extra, LWENVTAG_POSTBEHAVE), BEH_LINEAR);
  EXPECT_EQ(tag(other, LWENVTAG_PREBEHAVE), BEH_CONSTANT);
  EXPECT_THAT(
      (std::vector<int>{
          envelopes->egSet(extra, nullptr, LWENVTAG_KEYCOUNT, &forced), envelopes->egSet(extra, nullptr, 99, &forced),
          envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &six), envelopes->egGet(extra, nullptr, 99, &forced),
          envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, nullptr),
          envelopes->egGet(extra, nullptr, LWENVTAG_KEYCOUNT, nullptr),
          envelopes->egSet(nullptr, nullptr, LWENVTAG_PREBEHAVE, &code),
          envelopes->egGet(nullptr, nullptr, LWENVTAG_PREBEHAVE, &code),
          envelopes->egGet(as<LWEnvelopeID>(item("Body").group), nullptr, LWENVTAG_KEYCOUNT, &code)}),
      Each(0));
  EXPECT_EQ(forced, 7);
  EXPECT_EQ(code, BEH_RESET);
  EXPECT_EQ(tag(extra, LWENVTAG_KEYCOUNT), 1);
  EXPECT_EQ(tag(extra, LWENVTAG_PREBEHAVE), BEH_REPEAT);
  int viaGroup = -1;
  EXPECT_EQ(envelopes->egGet(extra, items->chanGroup(id("Body")), LWENVTAG_POSTBEHAVE, &viaGroup), 1);
  EXPECT_EQ(viaGroup, BEH_LINEAR);

  // A motion channel's envelope is the one param reads.
  int line = SHAPE_LINE;
  const LWEnvelopeID x = envelope("Body", "Position.X");
  envelopes->keySet(x, envelopes->createKey(x, 1.0, 4.0), LWKEY_SHAPE, &line);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(x, 0.25), 1.0);
  EXPECT_THAT(param(id("Body"), LWIP_POSITION, 0.25), Near3(1.0, 0.0, 0.0));
}

// Each lookup is a fresh snapshot; earlier ones keep what they saw.
TEST_F(SceneServices, SnapshotsShowTimeSelectionRangesAndTheAutoKeyMode) {
  // The 32-bit integer at byte offset 100, read as the master reads it.
  auto autoKeyMode = [](const LWInterfaceInfo *info) {
    std::int32_t flag = -1;
    std::memcpy(&flag, reinterpret_cast<const unsigned char *>(info) + 100, sizeof flag);
    return flag;
  };
  auto selection = [](const LWInterfaceInfo *info) {
    std::vector<LWItemID> ids;
    for (const LWItemID *at = info->selItems; *at != nullptr; ++at) ids.push_back(*at);
    return ids;
  };
  const LWInterfaceInfo *fresh = record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL);
  const LWSceneInfo *freshScene = record<LWSceneInfo>(LWSCENEINFO_GLOBAL);
  const LWTimeInfo *freshTime = record<LWTimeInfo>(LWTIMEINFO_GLOBAL);
  EXPECT_THAT(selection(fresh), ElementsAre());
  EXPECT_EQ(fresh->curTime, 0.0);
  EXPECT_EQ(autoKeyMode(fresh), LWAKC_OFF);
  EXPECT_EQ(std::vector<int>({fresh->previewStart, fresh->previewEnd, fresh->previewStep, freshScene->frameStart,
                              freshScene->frameEnd, freshScene->frameStep, freshScene->frameWidth,
                              freshScene->frameHeight, freshTime->frame}),
            std::vector<int>({1, 60, 1, 1, 60, 1, 640, 480, 0}));
  EXPECT_STREQ(freshScene->name, "Untitled");
  EXPECT_EQ(freshScene->filename, nullptr);
  EXPECT_EQ(freshScene->framesPerSecond, 30.0);

  script(
      "@fps 24\nAddNull A\nAddNull B\nAddCamera Main\nFrameSize 1280 720\nAddCamera C\nFrameSize 320 200\n"
      "GoToFrame 12\n"
      "SelectItem 0x30000001\nAddToSelection 0x10000000\nAddToSelection 0x10000001\nAddToSelection 0x10000000\n"
      "PreviewFirstFrame 5\nPreviewLastFrame 48\nPreviewFrameStep 2\nFirstFrame 10\nLastFrame 250\nFrameStep 5\n"
      "@schematic A 12.5 -40\n@autokey existing\n");
  scene.setFile("Walk", "/scenes/Walk.lws");
  const LWInterfaceInfo *info = record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL);
  const LWSceneInfo *sceneInfo = record<LWSceneInfo>(LWSCENEINFO_GLOBAL);
  EXPECT_NE(info, fresh);
  EXPECT_DOUBLE_EQ(info->curTime, 12.0 / 24.0);
  EXPECT_THAT(selection(info), ElementsAre(id("C"), id("A"), id("B"))) << "selection order";
  EXPECT_EQ(autoKeyMode(info), LWAKC_EXISTING);
  EXPECT_EQ(info->autoKeyCreate, LWAKC_EXISTING);
  EXPECT_EQ(
      std::vector<int>({info->previewStart, info->previewEnd, info->previewStep, sceneInfo->frameStart,
                        sceneInfo->frameEnd, sceneInfo->frameStep, sceneInfo->frameWidth, sceneInfo->frameHeight}),
      std::vector<int>({5, 48, 2, 10, 250, 5, 1280, 720}))
      << "the first camera's resolution";
  EXPECT_EQ(sceneInfo->framesPerSecond, 24.0);
  EXPECT_STREQ(sceneInfo->name, "Walk");
  EXPECT_STREQ(sceneInfo->filename, "/scenes/Walk.lws");
  double x = -1.0, y = -1.0;
  info->schemaPos(id("A"), &x, &y);
  EXPECT_EQ(std::vector<double>({x, y}), std::vector<double>({12.5, -40.0}));
  info->schemaPos(id("B"), &x, &y);
  EXPECT_EQ(std::vector<double>({x, y}), std::vector<double>({0.0, 0.0}));
  x = y = -1.0;
  info->schemaPos(idOf(0x10000009), &x, &y);
  EXPECT_EQ(std::vector<double>({x, y}), std::vector<double>({0.0, 0.0}));
  info->schemaPos(id("A"), nullptr, &y);
  info->schemaPos(id("A"), &x, nullptr);
  EXPECT_EQ(std::vector<double>({x, y}), std::vector<double>({12.5, -40.0}));

  script("GoToFrame -3\nSelectByName B\n@autokey off\n");
  const LWTimeInfo *timeInfo = record<LWTimeInfo>(LWTIMEINFO_GLOBAL);
  EXPECT_DOUBLE_EQ(timeInfo->time, -3.0 / 24.0);
  EXPECT_EQ(timeInfo->frame, -3);
  EXPECT_EQ(host.commands().run("GoToFrame later"), 0);
  EXPECT_THAT(selection(record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL)), ElementsAre(id("B")));
  EXPECT_EQ(autoKeyMode(record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL)), LWAKC_OFF);
  for (int i = 0; i < 8; ++i) record<LWInterfaceInfo>(LWINTERFACEINFO_GLOBAL);
  EXPECT_THAT(selection(info), ElementsAre(id("C"), id("A"), id("B"))) << "a snapshot keeps what it saw";
  EXPECT_EQ(autoKeyMode(info), LWAKC_EXISTING);
  EXPECT_THAT(selection(fresh), ElementsAre());
  EXPECT_EQ(freshScene->frameEnd, 60);
  EXPECT_EQ(freshTime->frame, 0);
  EXPECT_EQ(record<LWTimeInfo>(LWTIMEINFO_GLOBAL)->frame, -3);
}

}  // namespace
