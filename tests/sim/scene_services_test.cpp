// The host's scene as a plug-in sees it through the records looked up by
// their global ids, over scenes an lwsim script builds. What the module's own
// workflow tests read through the real module (item and channel walks,
// cameras, interface snapshots, rest poses, zoom) is left to them; here are
// the id scheme, the motion read, the refusals of bad handles and input, and
// the envelope edits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/host/lwchannel.h"
#include "plugin/host/lwenvelope.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwinterface.h"
#include "plugin/host/lwitem.h"
#include "plugin/host/lwobjects.h"
#include "sim/host.h"
#include "support/script_session.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsNull;

constexpr double kPi = 3.14159265358979323846;

LWItemID idOf(std::uintptr_t raw) { return reinterpret_cast<LWItemID>(raw); }
template <class To, class From>
To as(From from) {
  return reinterpret_cast<To>(from);
}
// Appends answers to the list that must hold only null, zero or refusals.
template <class Answer, class... Answers>
void append(std::vector<Answer> &to, Answers... answers) {
  (to.push_back(static_cast<Answer>(answers)), ...);
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
  std::vector<double> param(LWItemID item, int which, double time) {
    LWDVector out = {7.0, 7.0, 7.0};
    items->param(item, which, time, out);
    return {out[0], out[1], out[2]};
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

// Ids carry the type above an ordinal per type (bones counted over the
// scene); bones are reached only through their object; the motion is read
// from the envelopes at the time asked; parenting that would make a
// cycle is refused and an item parented elsewhere takes its subtree along.
TEST_F(SceneServices, IdsMotionAndParenting) {
  script(
      "AddNull Root\nAddCamera Cam\nAddNull Arm\nAddNull Leg\nAddBone Knee\nSelectByName Root\nAddBone Spine\n"
      "AddBone Tail\nAddDistantLight Sun\nAddNull Hand\nRename Palm\n@parent Leg Root\n@parent Arm Root\n"
      "@parent Palm Arm\n@key Root Position.X 1 2 3\n@key Root Position.Y 2 -4 3\n@pivot Arm 1 -2 3.5 90 0 -45\n");
  EXPECT_EQ((std::vector<LWItemID>{id("Root"), id("Palm"), id("Sun"), id("Cam"), id("Knee"), id("Tail")}),
            (std::vector<LWItemID>{idOf(0x10000000), idOf(0x10000003), idOf(0x20000000), idOf(0x30000000),
                                   idOf(0x40000000), idOf(0x40000002)}));
  EXPECT_EQ(items->type(id("Tail")), LWI_BONE);
  EXPECT_EQ(items->first(LWI_BONE, nullptr), nullptr) << "bones are reached only through their object";
  EXPECT_THAT(param(id("Root"), LWIP_POSITION, 0.5), Near3(1.0, -1.0, 0.0));
  EXPECT_THAT(param(id("Arm"), LWIP_PIVOT_ROT, 0.5), Near3(kPi / 2, 0.0, -kPi / 4));
  for (auto [child, parent] : {std::pair{"Root", "Root"}, {"Root", "Arm"}, {"Root", "Palm"}, {"Arm", "Palm"}})
    EXPECT_FALSE(scene.setParent(item(child), &item(parent))) << child;
  EXPECT_THAT(children(id("Arm")), ElementsAre("Palm"));
  EXPECT_EQ(items->parent(id("Root")), nullptr);
  EXPECT_TRUE(scene.setParent(item("Palm"), &item("Root"))) << "moving up the same tree is no cycle";
  EXPECT_TRUE(scene.setParent(item("Root"), &item("Sun")));
  EXPECT_TRUE(scene.setParent(item("Root"), nullptr));
  EXPECT_THAT(children(id("Sun")), ElementsAre());
  EXPECT_THAT(children(id("Root")), ElementsAre("Arm", "Leg", "Spine", "Tail", "Palm")) << "the subtree goes along";
}

// Handles that are unknown, null, of the wrong kind, of another parent or of
// a removed group, and parameters out of range: every service answers
// nothing (null, zero, untouched) and nothing changes.
TEST_F(SceneServices, BadHandlesAndBadInputAnswerNothingInEveryService) {
  script("AddNull Face\nAddBone Jaw\n@morph Face Mouth.Smile\n@channel Face Extra\nAddCamera Cam\nAddNull Prop\n");
  const LWChanGroupID face = items->chanGroup(id("Face")), jaw = items->chanGroup(id("Jaw")),
                      prop = items->chanGroup(id("Prop"));
  const LWChannelID x = channels->nextChannel(face, nullptr), jawX = channels->nextChannel(jaw, nullptr),
                    propX = channels->nextChannel(prop, nullptr);
  const LWEnvelopeID extra = envelope("Face", "Extra"), channelAsEnvelope = as<LWEnvelopeID>(x);
  const LWEnvKeyframeID key = envelopes->createKey(extra, 1.0, 5.0);
  lwsim::Channel &smile = *scene.findChannel(item("Face"), "Mouth.Smile");
  const LWChanGroupID mouth = as<LWChanGroupID>(smile.parent());
  const LWChannelID smileId = as<LWChannelID>(&smile);
  const LWEnvelopeID smileEnvelope = channels->channelEnvelope(smileId);
  item("Face").group->removeGroup(smile.parent());
  int stranger = 0, six = 6, forced = 7, code = BEH_RESET;
  double untouched = 9.0;
  std::vector<const void *> nulls;
  std::vector<double> zeros;
  std::vector<int> refused;
  for (std::uintptr_t raw : {0x0ul, 0x10000009ul, 0x20000000ul, 0x40000007ul, 0x12345678ul}) {
    const LWItemID unknown = idOf(raw);
    append(nulls, scene.find(raw), items->next(unknown), items->firstChild(unknown),
           items->nextChild(unknown, id("Jaw")), items->nextChild(id("Face"), unknown), items->parent(unknown),
           items->name(unknown), items->chanGroup(unknown), items->first(LWI_BONE, unknown),
           objects->filename(unknown));
    EXPECT_TRUE(items->type(unknown) < LWI_OBJECT || items->type(unknown) > LWI_BONE) << raw;
    for (int which : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING, LWIP_PIVOT, LWIP_PIVOT_ROT})
      for (double each : param(unknown, which, 0.0)) zeros.push_back(each);
    LWDVector rest = {7.0, 7.0, 7.0};
    bones->restParam(unknown, LWIP_POSITION, rest);
    int width = -1, height = -1;
    cameras->resolution(unknown, &width, &height);
    append(zeros, rest[0], rest[1], rest[2], cameras->zoomFactor(unknown, 0.0), width, height);
  }
  for (LWChanGroupID bad : {as<LWChanGroupID>(x), as<LWChanGroupID>(extra), as<LWChanGroupID>(&stranger), mouth})
    append(nulls, channels->nextGroup(bad, nullptr), channels->nextGroup(nullptr, bad),
           channels->nextChannel(bad, nullptr), channels->groupName(bad), channels->groupParent(bad));
  for (LWChannelID bad :
       {as<LWChannelID>(face), as<LWChannelID>(extra), as<LWChannelID>(&stranger), LWChannelID{}, smileId}) {
    append(nulls, channels->channelName(bad), channels->channelParent(bad), channels->channelEnvelope(bad));
    append(zeros, channels->channelEvaluate(bad, 0.0));
  }
  // The previous one of another parent: a subgroup's channel, another item's
  // channel, a subgroup at the top level, a top-level group below an item.
  append(nulls, channels->nextChannel(nullptr, nullptr), channels->nextChannel(face, jawX),
         channels->nextChannel(face, propX), channels->nextGroup(nullptr, jaw), channels->nextGroup(face, prop),
         channels->nextGroup(prop, jaw), channels->nextGroup(face, mouth), envelopes->createKey(nullptr, 0.0, 1.0),
         envelopes->findKey(nullptr, 1.0), envelopes->createKey(channelAsEnvelope, 3.0, 1.0),
         envelopes->nextKey(channelAsEnvelope, nullptr), envelopes->createKey(smileEnvelope, 0.0, 1.0),
         envelopes->nextKey(smileEnvelope, nullptr), sceneObjects->vmapName(LWVMAP_MORF, -1));
  append(zeros, envelopes->evaluate(nullptr, 1.0), envelopes->evaluate(as<LWEnvelopeID>(face), 0.0),
         envelopes->evaluate(smileEnvelope, 0.0));
  // Keys: another envelope's, none, an unknown tag, no value to read or
  // write; the key count is read-only and behaviours are 0 to 5.
  const LWEnvKeyframeID theirs = envelopes->createKey(envelope("Prop", "Position.X"), 2.0, 1.0);
  for (auto [env, k] : {std::pair{extra, theirs}, {extra, LWEnvKeyframeID{}}, {LWEnvelopeID{}, key}})
    append(refused, envelopes->keySet(env, k, LWKEY_VALUE, &untouched),
           envelopes->keyGet(env, k, LWKEY_VALUE, &untouched));
  for (auto [which, value] : {std::pair{LWKEY_VALUE, (double *)nullptr},
                              {LWKEY_SHAPE, nullptr},
                              {LWKEY_TIME, nullptr},
                              {10, &untouched},
                              {-1, &untouched}})
    append(refused, envelopes->keySet(extra, key, which, value), envelopes->keyGet(extra, key, which, value));
  append(refused, envelopes->egSet(extra, nullptr, LWENVTAG_KEYCOUNT, &forced),
         envelopes->egSet(extra, nullptr, 99, &forced), envelopes->egGet(extra, nullptr, 99, &forced),
         envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, &six),
         envelopes->egSet(extra, nullptr, LWENVTAG_PREBEHAVE, nullptr),
         envelopes->egGet(extra, nullptr, LWENVTAG_KEYCOUNT, nullptr),
         envelopes->egSet(nullptr, nullptr, LWENVTAG_PREBEHAVE, &code),
         envelopes->egGet(as<LWEnvelopeID>(face), nullptr, LWENVTAG_KEYCOUNT, &code));
  envelopes->destroyKey(extra, theirs);
  envelopes->destroyKey(nullptr, key);
  EXPECT_THAT(nulls, Each(IsNull()));
  EXPECT_THAT(zeros, Each(0.0));
  EXPECT_THAT(refused, Each(0));
  EXPECT_NE(channels->nextChannel(jaw, jawX), nullptr) << "the same channel under its own group goes on";
  EXPECT_EQ(std::vector<double>({untouched, double(forced), double(code)}), std::vector<double>({9.0, 7.0, BEH_RESET}));
  EXPECT_EQ(std::vector<int>({tag(extra, LWENVTAG_KEYCOUNT), tag(extra, LWENVTAG_PREBEHAVE)}),
            std::vector<int>({1, BEH_CONSTANT}));
  EXPECT_THAT(times(envelope("Prop", "Position.X")), ElementsAre(0.0, 2.0));
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 0.0), 5.0);
  items->param(id("Face"), LWIP_POSITION, 0.0, nullptr);  // nothing to write to
  bones->restParam(id("Jaw"), LWIP_POSITION, nullptr);
  cameras->resolution(id("Cam"), nullptr, nullptr);
}

// Keys stay in time order through creation, replacement, moves and runs of
// deletions out of order; the shape is read and written as exactly one int.
// (The other tags and the behaviours go to and from clip files in the
// module's tests.)
TEST_F(SceneServices, EnvelopeKeysStayInTimeOrder) {
  script("AddNull Body\n@channel Body Extra\n@channel Body Other\n");
  const LWEnvelopeID extra = envelope("Body", "Extra"), other = envelope("Body", "Other");
  const LWEnvKeyframeID two = envelopes->createKey(extra, 2.0, 20.0);
  const LWEnvKeyframeID zero = envelopes->createKey(extra, 0.0, 0.5);
  const LWEnvKeyframeID one = envelopes->createKey(extra, 1.0, 10.0);
  const LWEnvKeyframeID three = envelopes->createKey(extra, 3.0, 30.0);
  EXPECT_THAT(times(extra), ElementsAre(0.0, 1.0, 2.0, 3.0));
  EXPECT_THAT((std::vector<LWEnvKeyframeID>{envelopes->findKey(extra, 1.0 + 1e-12), envelopes->findKey(extra, 1.0001),
                                            envelopes->findKey(other, 1.0), envelopes->createKey(extra, 1.0, -3.0)}),
              ElementsAre(one, nullptr, nullptr, one))
      << "a time equal up to rounding finds the key; a key at its time replaces the value";
  double later = 1.5, earliest = -1.0, occupied = 1.5;
  ASSERT_EQ(envelopes->keySet(extra, zero, LWKEY_TIME, &later), 1);
  ASSERT_EQ(envelopes->keySet(extra, two, LWKEY_TIME, &earliest), 1);
  EXPECT_EQ(envelopes->keySet(extra, one, LWKEY_TIME, &occupied), 0) << "no key moves onto another";
  EXPECT_THAT(times(extra), ElementsAre(-1.0, 1.0, 1.5, 3.0));
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, -1.0), 20.0);
  // A run of deletions, later keys first, then the same key again.
  for (LWEnvKeyframeID doomed : {three, zero, two, two}) envelopes->destroyKey(extra, doomed);
  EXPECT_THAT(times(extra), ElementsAre(1.0));
  EXPECT_EQ(envelopes->nextKey(extra, two), nullptr);
  EXPECT_DOUBLE_EQ(envelopes->evaluate(extra, 5.0), -3.0);

  struct {
    int shape;
    int guard;
  } in{SHAPE_BEZ2, 0x7FF80000}, out{-1, 0x5A5A5A5A};
  EXPECT_EQ(envelopes->keySet(extra, one, LWKEY_SHAPE, &in.shape), 1);
  EXPECT_EQ(envelopes->keyGet(extra, one, LWKEY_SHAPE, &out.shape), 1);
  EXPECT_EQ(std::vector<int>({out.shape, out.guard, scene.findChannel(item("Body"), "Extra")->envelope().key(0).shape}),
            std::vector<int>({SHAPE_BEZ2, 0x5A5A5A5A, SHAPE_BEZ2}));
}

}  // namespace
