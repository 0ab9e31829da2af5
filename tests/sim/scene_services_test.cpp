// The host's scene: as a plug-in sees it through the records looked up by
// their global ids, over scenes an lwsim script builds (the id scheme, the
// motion read, the refusals of bad handles and input, the envelope edits);
// the scene commands as a module issues them (building items, posing and
// keying, time, envelopes, camera and scene settings, the lines refused);
// and the envelope evaluation. What the module's own workflow tests read
// through the real module (item and channel walks, cameras, interface
// snapshots, rest poses, zoom) and the selection commands LwsimTest's
// scripts follow are left to them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "plugin/host/lwchannel.h"
#include "plugin/host/lwenvelope.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwinterface.h"
#include "plugin/host/lwitem.h"
#include "plugin/host/lwobjects.h"
#include "sim/host.h"
#include "sim/scene/envelope.h"
#include "sim/scene/envelope_evaluation.h"
#include "support/decimal_comma_locale.h"
#include "support/script_session.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::IsNull;

constexpr double kPi = std::numbers::pi;
using Pose = std::array<double, 9>;
constexpr Pose kNeutral = {0, 0, 0, 0, 0, 0, 1, 1, 1};
// The motion keys of a new item and of a new camera.
const std::string kUnkeyed = "0:0 | 0:0 | 0:0 | 0:0 | 0:0 | 0:0 | 0:1 | 0:1 | 0:1";
const std::string kUnkeyedCamera = "0:0 | 0:0 | 0:0 | 0:0 | 0:0 | 0:0 | - | - | -";

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
  // Runs the lines of a script; what it printed (refused lines among it).
  std::vector<std::string> script(const std::string &text) { return lwtest::runScript(host, text); }
  int run(const std::string &line) { return host.commands().run(line); }
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

  // The shown pose of all nine slots, and whether each is posed.
  void expectShown(const std::string &name, const Pose &values, bool posed) {
    for (std::size_t slot = 0; slot < 9; ++slot) {
      EXPECT_NEAR(host.pose().shown(item(name), slot), values[slot], 1e-12) << name << " slot " << slot;
      EXPECT_EQ(host.pose().isPosed(item(name), slot), posed && (slot < 6 || item(name).type != lwsim::kCamera))
          << name << " slot " << slot;
    }
  }
  // A channel's keys as "time:value" words ("-" where the item lacks it);
  // with no path, those of the nine motion channels with " | " between them.
  std::string keys(const std::string &name, const std::string &path = "") {
    std::string out;
    if (path.empty()) {
      for (std::size_t slot = 0; slot < 9; ++slot)
        out += (slot == 0 ? "" : " | ") + keys(name, lwsim::kMotionChannels[slot]);
      return out;
    }
    const lwsim::Channel *channel = scene.findChannel(item(name), path);
    if (channel == nullptr) return "-";
    for (std::size_t i = 0; i < channel->envelope().keyCount(); ++i) {
      char word[64];
      const lwsim::EnvelopeKey &key = channel->envelope().key(i);
      std::snprintf(word, sizeof word, "%s%.10g:%.10g", i == 0 ? "" : " ", key.time, key.value);
      out += word;
    }
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

// Bones are reached only through their object (the ids are proved with the
// new items below); the motion is read
// from the envelopes at the time asked; an item parented elsewhere takes
// its subtree along (cycles are refused in LwsimTest and SceneFileTest).
TEST_F(SceneServices, BonesMotionAndParenting) {
  script(
      "AddNull Root\nAddCamera Cam\nAddNull Arm\nAddNull Leg\nAddBone Knee\nSelectByName Root\nAddBone Spine\n"
      "AddBone Tail\nAddDistantLight Sun\nAddNull Hand\nRename Palm\n@parent Leg Root\n@parent Arm Root\n"
      "@parent Palm Arm\n@key Root Position.X 1 2 3\n@key Root Position.Y 2 -4 3\n@pivot Arm 1 -2 3.5 90 0 -45\n");
  EXPECT_EQ(items->type(id("Tail")), LWI_BONE);
  EXPECT_EQ(items->first(LWI_BONE, nullptr), nullptr) << "bones are reached only through their object";
  EXPECT_THAT(param(id("Root"), LWIP_POSITION, 0.5), Near3(1.0, -1.0, 0.0));
  EXPECT_THAT(param(id("Arm"), LWIP_PIVOT_ROT, 0.5), Near3(kPi / 2, 0.0, -kPi / 4));
  EXPECT_THAT(children(id("Arm")), ElementsAre("Palm"));
  EXPECT_EQ(items->parent(id("Root")), nullptr);
  EXPECT_THAT(script("@parent Palm Root\n@parent Root Sun\n@parent Root -\n"), IsEmpty()) << "moving up is no cycle";
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
    for (double each : param(unknown, LWIP_PIVOT_ROT, 0.0)) zeros.push_back(each);
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
  for (auto [which, value] : {std::pair{LWKEY_VALUE, (double *)nullptr}, {10, &untouched}, {-1, &untouched}})
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

// ---- the scene commands ----

using SceneCommands = SceneServices;

// Each new item gets its kind, name (outer blanks dropped; a loaded object
// is named after its file's base name), file name and the next id of its
// kind (bones counted over the scene), and becomes the only selection; a
// bone belongs to the selected object or the selected bone's object; Rename
// renames the first selected item and its channel group.
TEST_F(SceneCommands, NewItemsGetTheirKindNameAndIdAndBecomeTheOnlySelection) {
  EXPECT_THAT(script("AddNull\nAddNull   Two  Words  \nAddCamera\nAddDistantLight\nAddPointLight Key Light\n"
                     "AddSpotlight\nLoadObject Objects/Arm.lwo\nAddBone Upper Arm\nAddBone\nLoadObject "
                     "C:\\Content\\Hand.v2.lwo\nAddBone Tip\n"
                     "LoadObject  /content/Upper Body.lwo \nLoadObject Plain\n@selection\nSelectByName Null\n"
                     "AddToSelection 0x10000005\nRename  Alpha \n"),
              ElementsAre("selection: Plain"));
  std::vector<std::string> made;
  for (const auto &each : scene.items()) {
    char id[16];
    std::snprintf(id, sizeof id, "%llx ", static_cast<unsigned long long>(each->id));
    EXPECT_EQ(each->parent, each->owner) << each->name;
    made.push_back(id + std::to_string(each->type) + " " + each->name + " (" + each->group->name() + ") " +
                   each->fileName + (each->owner != nullptr ? " of " + each->owner->name : ""));
  }
  // clang-format off
  EXPECT_THAT(made, ElementsAre(
      "10000000 0 Alpha (Alpha) ", "10000001 0 Two  Words (Two  Words) ", "30000000 2 Camera (Camera) ",
      "20000000 1 Light (Light) ", "20000001 1 Key Light (Key Light) ", "20000002 1 Light (Light) ",
      "10000002 0 Arm (Arm) Objects/Arm.lwo", "40000000 3 Upper Arm (Upper Arm)  of Arm", "40000001 3 Bone (Bone)  of Arm",
      "10000003 0 Hand.v2 (Hand.v2) C:\\Content\\Hand.v2.lwo", "40000002 3 Tip (Tip)  of Hand.v2",
      "10000004 0 Upper Body (Upper Body) /content/Upper Body.lwo", "10000005 0 Plain (Plain) Plain"));
  // clang-format on
}

// Refused lines change nothing and each shows as refused.
TEST_F(SceneCommands, UnknownWordsAndMalformedArgumentsAreRefusedAndChangeNothing) {
  script("AddCamera Cam\nAddNull Body\nSelectByName Cam\nAddToSelection 0x10000000\n");
  // One line per check that refuses: unknown word, argument count, number,
  // finite number, range, item id or name, stray argument.
  // clang-format off
  const char *const refused[] = {
      "AddNulls", "Position 1 2", "Position 1 2 3 4", "Position 1 2 x", "Position 1,5 2 3",
      "Position inf 0 0", "Reset now", "CreateKey 1 0", "CreateKey x 0 7", "CreateKey 1 x 7", "CreateKey 1 0 x",
      "GoToFrame x", "GoToFrame nan", "ZoomFactor 0", "FrameSize 640", "FrameSize 640 -1", "FrameSize 64.5 480", "SchematicPosition 1", "FirstFrame 1.5", "FrameStep 0",
      "AddEnvelope", "AddEnvelope Two Words", "AddEnvelope Scale.X", "LoadObject dir/",
      "LoadObject", "SelectItem 0x10000009", "SelectItem zz", "SelectItem 0x10000000 0x30000000",
      "RemoveFromSelection 0x30000001", "SelectByName Bod", "@selection"};
  // clang-format on
  std::string lines;
  std::vector<std::string> expected;
  for (const std::string line : refused) {
    lines += line + "\n";
    expected.push_back(line[0] == '@' ? "selection: Cam Body" : "refused: " + line);
  }
  EXPECT_THAT(script(lines), ElementsAreArray(expected));
  const lwsim::SceneItem defaults;
  EXPECT_EQ(keys("Cam") + " / " + keys("Body"), kUnkeyedCamera + " / " + kUnkeyed);
  for (const char *name : {"Cam", "Body"}) {
    expectShown(name, kNeutral, false);
    EXPECT_EQ(keys(name, "Dissolve"), "-");
    EXPECT_EQ(std::make_tuple(item(name).schematicX, item(name).schematicY, item(name).zoomFactor,
                              item(name).resolutionWidth, item(name).resolutionHeight),
              std::make_tuple(0.0, 0.0, defaults.zoomFactor, defaults.resolutionWidth, defaults.resolutionHeight));
  }
  EXPECT_EQ(scene.time(), 0.0);
  for (const lwsim::FrameRange *range : {&scene.renderRange(), &scene.previewRange()})
    EXPECT_THAT((std::array{range->first, range->last, range->step}), ElementsAre(1, 60, 1));
  EXPECT_EQ(scene.items().size(), 2u);
}

// Position, Rotation (degrees) and Scale set the shown pose of the selected
// items without keying, their Add forms add to it, a camera has no scale,
// Reset shows the neutral pose; CreateKey keys the shown pose on the masked
// channels of the selected items (only the six a camera has), keeping the
// other keys and replacing one at its time; GoToFrame drops the pose for the
// envelopes' values at the new time, counting frames at the scene's rate.
TEST_F(SceneCommands, PoseCommandsSetTheShownPoseWithoutKeyingAndCreateKeyKeysIt) {
  script(
      "AddNull Other\nAddCamera Cam\nAddNull A\nAddToSelection 0x30000000\nPosition 1.5 -2 0.25\n"
      "Rotation 90 -45 180\nScale 2 0.5 +3\n");
  expectShown("A", {1.5, -2.0, 0.25, kPi / 2, -kPi / 4, kPi, 2.0, 0.5, 3.0}, true);
  expectShown("Cam", {1.5, -2.0, 0.25, kPi / 2, -kPi / 4, kPi, 1, 1, 1}, true);
  expectShown("Other", kNeutral, false);
  EXPECT_EQ(keys("A") + " / " + keys("Cam"), kUnkeyed + " / " + kUnkeyedCamera);
  // Position.X, Rotation.P and Scale.Z are bits 0, 4 and 8.
  script("CreateKey 1.5 0 273\nPosition 7 8 9\nCreateKey 1.5 0 1\nCreateKey 2 0 0x1FF\n");
  const std::string keyed =
      "0:0 1.5:7 2:7 | 0:0 2:8 | 0:0 2:9 | 0:0 2:1.570796327 | 0:0 1.5:-0.7853981634 2:-0.7853981634 | "
      "0:0 2:3.141592654";
  EXPECT_EQ(keys("A"), keyed + " | 0:1 2:2 | 0:1 2:0.5 | 0:1 1.5:3 2:3");
  EXPECT_EQ(keys("Cam"), keyed + " | - | - | -");
  EXPECT_EQ(keys("Other"), kUnkeyed);

  // The envelopes show 2 and 0.5 until the item is posed.
  script(
      "AddNull B\n@key B Position.X 0 2\n@key B Scale.Y 0 0.5\nAddPosition 1 -1 0.5\nAddPosition 1 1 1\n"
      "AddRotation 90 0 -30\nAddRotation 90 10 0\nAddScale 1 1 -0.25\n");
  const Pose posed = {4.0, 0.0, 1.5, kPi, kPi / 18, -kPi / 6, 2.0, 1.5, 0.75};
  expectShown("B", posed, true);
  EXPECT_EQ(keys("B", "Position.X"), "0:2") << "posing keys nothing";
  script("SelectByName A\nReset\n");
  expectShown("A", kNeutral, true);
  expectShown("B", posed, true);

  script("@key B Position.X 1 4\nGoToFrame 15\n");
  EXPECT_DOUBLE_EQ(scene.time(), 0.5) << "30 frames per second";
  expectShown("B", {3.0, 0, 0, 0, 0, 0, 1, 0.5, 1}, false);
  script("@fps 24\nGoToFrame -12\n");
  EXPECT_DOUBLE_EQ(scene.time(), -0.5);
}

// Layout's Auto Key Create keys what posing changes at the current time:
// "modified" the changed channels, "existing" the posed channels' keys at
// that time, "all" every motion channel.
TEST_F(SceneCommands, AutoKeyCreateKeysPosedItemsAtTheCurrentTimeByItsMode) {
  script("AddNull A\nGoToFrame 15\n@autokey modified\nPosition 2 0 0\n");
  EXPECT_EQ(keys("A", "Position.X"), "0:0 0.5:2");
  EXPECT_EQ(keys("A", "Position.Y"), "0:0") << "an unchanged channel";
  script("@autokey existing\nGoToFrame 30\nPosition 3 3 0\n");
  EXPECT_EQ(keys("A", "Position.X"), "0:0 0.5:2") << "no key at 1 s to update";
  script("GoToFrame 15\nPosition 4 5 0\n");
  EXPECT_EQ(keys("A", "Position.X"), "0:0 0.5:4");
  EXPECT_EQ(keys("A", "Position.Y"), "0:0");
  script("@autokey all\nRotation 90 0 0\n@autokey off\nGoToFrame 45\nPosition 9 9 9\n");
  EXPECT_EQ(keys("A"),
            "0:0 0.5:4 | 0:0 0.5:5 | 0:0 0.5:0 | 0:0 0.5:1.570796327 | 0:0 0.5:0 | 0:0 0.5:0 | 0:1 0.5:1 | "
            "0:1 0.5:1 | 0:1 0.5:1");
}

// AddEnvelope adds one channel to each selected item once, starting from
// the parameter's value; ZoomFactor and FrameSize change the selected
// cameras, SchematicPosition every selected item; the range commands set
// the render and preview ranges.
TEST_F(SceneCommands, EnvelopeCameraSchematicAndRangeCommandsChangeTheSelectionOrTheScene) {
  EXPECT_THAT(script("AddCamera Unselected\nAddNull Body\nAddCamera Cam\nAddToSelection 0x10000000\nZoomFactor 1.75\n"
                     "FrameSize 1920 1080\nSchematicPosition 1.5 -20\nAddEnvelope Dissolve\nAddEnvelope Dissolve\n"
                     "AddEnvelope ZoomFactor\nFirstFrame 10\nLastFrame 240\nFrameStep 2\nPreviewFirstFrame -5\n"
                     "PreviewLastFrame 120\nPreviewFrameStep 3\n"),
              IsEmpty());
  const lwsim::SceneItem defaults;
  for (const char *name : {"Unselected", "Body", "Cam"}) {
    const bool camera = name[0] == 'C', selected = name[0] != 'U';
    const lwsim::SceneItem &it = item(name);
    EXPECT_EQ(std::make_tuple(it.zoomFactor, it.resolutionWidth, it.resolutionHeight),
              camera ? std::make_tuple(1.75, 1920, 1080)
                     : std::make_tuple(defaults.zoomFactor, defaults.resolutionWidth, defaults.resolutionHeight))
        << name;
    EXPECT_EQ(std::make_pair(it.schematicX, it.schematicY), selected ? std::pair(1.5, -20.0) : std::pair(0.0, 0.0));
    EXPECT_EQ(keys(name, "Dissolve"), selected ? "0:0" : "-") << name;
    EXPECT_EQ(it.group->channels().size(), camera ? 8u : selected ? 10u : 6u) << name << ": Dissolve added once";
  }
  EXPECT_EQ(keys("Body", "ZoomFactor") + ", " + keys("Cam", "ZoomFactor"), "-, 0:1.75") << "only a camera has a zoom";
  const lwsim::FrameRange &render = scene.renderRange(), &preview = scene.previewRange();
  EXPECT_THAT((std::array{render.first, render.last, render.step}), ElementsAre(10, 240, 2));
  EXPECT_THAT((std::array{preview.first, preview.last, preview.step}), ElementsAre(-5, 120, 3));
}

TEST_F(SceneCommands, NumbersAreReadInTheCNotationUnderADecimalCommaLocale) {
  run("AddCamera Cam");
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
  EXPECT_DOUBLE_EQ(scene.time(), 0.25);
  expectShown("Cam", {1.5, -2.25, 0.125, kPi / 8, 0, 0, 1, 1, 1}, true);
  EXPECT_EQ(std::make_tuple(item("Cam").zoomFactor, item("Cam").schematicX, item("Cam").schematicY),
            std::make_tuple(2.5, 0.5, 1.25));
  EXPECT_EQ(keys("Cam", "Position.X"), "0:0 0.5:1.5");
}

// ---- envelope evaluation ----

// The host's envelope evaluation: each key shape between keys, each behaviour
// before and after them (the simpler shapes and behaviours are also seen
// through lwsim's @eval). Expected values are worked out by hand from the
// Hermite basis h1 = 2u^3 - 3u^2 + 1, h2 = 3u^2 - 2u^3, h3 = u^3 - 2u^2 + u,
// h4 = u^3 - u^2 (u the fraction of the span) and the cubic Bezier
// (1-u)^3 p0 + 3(1-u)^2 u p1 + 3(1-u) u^2 p2 + u^3 p3.

enum Shape : int { kTcb = 0, kHermite = 1, kBezier = 2, kLine = 3, kStep = 4, kBezier2D = 5 };
enum Behaviour : int { kReset, kConstant, kRepeat, kOscillate, kOffsetRepeat, kLinear };

struct Key {
  double time, value;
  int shape;
  std::array<double, 4> params{};  // tension, continuity and bias for TCB keys
};

struct Case {
  const char *what;
  std::vector<Key> keys;
  std::vector<std::pair<double, double>> values;  // time, value
  int pre = kConstant, post = kConstant;
};

void build(lwsim::Envelope &env, const std::vector<Key> &keys, int pre, int post) {
  for (const Key &key : keys) {
    lwsim::EnvelopeKey *made = env.createKey(key.time, key.value);
    made->shape = key.shape;
    if (key.shape == kTcb) {
      made->tension = key.params[0];
      made->continuity = key.params[1];
      made->bias = key.params[2];
    } else {
      made->params = key.params;
    }
  }
  env.setPreBehavior(pre);
  env.setPostBehavior(post);
}

// Straight spans through (1, 1), (3, 5), (5, 3): one rising, one falling, and
// a first key away from time 0 so that folding must measure from it.
// f(1) = 1, f(2) = 3, f(3) = 5, f(4) = 4, f(5) = 3; period 4.
const std::vector<Key> kZigzag = {{1, 1, kLine}, {3, 5, kLine}, {5, 3, kLine}};
// A peak (0,0) (1,1) (2,0) with the middle key's tension, continuity, bias.
std::vector<Key> peak(double t, double c, double b) { return {{0, 0, kTcb}, {1, 1, kTcb, {t, c, b, 0}}, {2, 0, kTcb}}; }

// clang-format off
const Case kCases[] = {
    {"times on keys give the key values",
     {{0, 2, kTcb}, {1, -1, kHermite, {7, -3}}, {2.5, 4, kStep}, {3, 6, kBezier2D, {-0.2, 1, 0.2, -1}},
      {4, 0.5, kBezier, {2, 2}}, {6, -2, kLine}},
     {{0, 2}, {1, -1}, {2.5, 4}, {3, 6}, {4, 0.5}, {6, -2}}, kReset, kReset},
    // The middle key's tangents average its two chords, 0.5 * (-1 + 1) = 0;
    // the end tangents are the chords 1 and -1. First span h2 + h3 at 0.5 =
    // 0.5 + 0.125; second h1 - h4 = 0.5 + 0.125.
    {"TCB peak", peak(0, 0, 0), {{0.5, 0.625}, {1.5, 0.625}}},
    // Bias 0.5 weighs the incoming chord 1.5 and the outgoing 0.5 on both
    // sides: tangents 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 + 0.5 h4 =
    // 0.5625; second h1 + 0.5 h3 - h4 = 0.6875.
    {"TCB bias", peak(0, 0, 0.5), {{0.5, 0.5625}, {1.5, 0.6875}}},
    // Continuity 0.5 breaks the tangent: incoming 0.5 * (0.5 - 1.5) = -0.5,
    // outgoing 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 - 0.5 h4 = 0.6875.
    {"TCB continuity", peak(0, 0.5, 0), {{0.5, 0.6875}, {1.5, 0.6875}}},
    // Tension 0.5 on the middle of a straight run halves its tangent:
    // 0.5 * 0.5 * (1 + 1) = 0.5, so h2 + h3 + 0.5 h4 = 0.5625, not 0.5.
    {"TCB tension 0.5", {{0, 0, kTcb}, {1, 1, kTcb, {0.5}}, {2, 2, kTcb}}, {{0.5, 0.5625}}},
    // A key between two others scales its tangent by its span's share of the
    // neighbours' time, 1 / 2: incoming 4 becomes 2, so at 0.5 of the first
    // span h2 + 2 h4 = 0.5 - 0.25.
    {"Hermite inner key", {{0, 0, kHermite}, {1, 1, kHermite, {4}}, {2, 0, kHermite}}, {{0.5, 0.25}}},
    // Tangents 3 and -3 put the inner control values at 0 + 3/3 = 1 and
    // 0 - (-3)/3 = 1: the Bezier 0, 1, 1, 0 gives 3(0.75)^2(0.25) +
    // 3(0.75)(0.25)^2 = 0.5625 at 0.25 and 0.75 at 0.5.
    {"1-D Bezier", {{0, 0, kBezier, {0, 3}}, {1, 0, kBezier, {-3}}}, {{0.25, 0.5625}, {0.5, 0.75}, {0.75, 0.5625}}},
    // Flat handles (1,0) and (2,6): times 0,1,2,3 make time = 3u, so at time 1
    // u = 1/3 and the value is 3(1/3)^2(2/3) 6 + (1/3)^3 6 = 4/3 + 2/9 = 14/9.
    {"2-D Bezier eased", {{0, 0, kBezier2D, {0, 0, 1, 0}}, {3, 6, kBezier2D, {-1, 0}}},
     {{1, 14.0 / 9.0}, {1.5, 3}, {2, 6 - 14.0 / 9.0}}},
    // A TCB start key has no handle: one a third of the span along its tangent
    // (the chord 6) lands at (1,2), on the line again.
    {"2-D Bezier after TCB", {{0, 0, kTcb}, {3, 6, kBezier2D, {-1, -2}}}, {{1, 2}}},
    {"constant before, reset after", kZigzag, {{0, 1}, {6, 0}}, kConstant, kReset},
    // After: 6 -> 2, 7 -> 3, 10 -> 2 (two periods on), 9 -> 1 (a new cycle).
    // Before: 0 -> 4, -1 -> 3, -6 -> 2.
    {"repeat", kZigzag, {{6, 3}, {7, 5}, {10, 3}, {9, 1}, {0, 4}, {-1, 5}, {-6, 3}}, kRepeat, kRepeat},
    // After: the first cycle runs backwards from 5, so f(5 + d) = f(5 - d);
    // the next runs forwards again from 1. Before: f(1 - d) = f(1 + d) in the
    // mirrored cycle, forwards two periods back.
    {"oscillate", kZigzag, {{6, 4}, {7, 5}, {8, 3}, {9, 1}, {10, 3}, {0, 3}, {-2, 4}, {-5, 5}}, kOscillate, kOscillate},
    // Each period adds the last value minus the first, 3 - 1 = 2.
    {"offset repeat", kZigzag, {{6, 5}, {9, 5}, {11, 9}, {0, 2}, {-5, 1}}, kOffsetRepeat, kOffsetRepeat},
    // The zigzag leaves at slope 2 before its first key and -1 after its last.
    {"linear zigzag", kZigzag, {{0, -1}, {-2, -5}, {7, 1}}, kLinear, kLinear},
    // A Hermite end key's incoming tangent 4 over a span of 2 is slope 2, not
    // the chord's slope 1.
    {"linear after Hermite", {{0, 0, kHermite}, {2, 2, kHermite, {4}}}, {{3, 4}}, kConstant, kLinear}};
// clang-format on

TEST(EnvelopeEvaluation, EachShapeAndBehaviour) {
  for (const Case &c : kCases) {
    lwsim::Envelope env;
    build(env, c.keys, c.pre, c.post);
    for (auto [time, value] : c.values)
      EXPECT_NEAR(lwsim::evaluateEnvelope(env, time), value, 1e-9) << c.what << " at " << time;
  }
  // Just past the last key an offset repeat carries on from its value.
  lwsim::Envelope offset;
  build(offset, kZigzag, kOffsetRepeat, kOffsetRepeat);
  EXPECT_NEAR(lwsim::evaluateEnvelope(offset, 5.0 + 1e-6), 3.0, 1e-5);
  // One key gives its value whatever the behaviours.
  lwsim::Envelope one;
  build(one, {{2.0, 3.5, kTcb}}, kReset, kLinear);
  for (double time : {-10.0, 40.0}) EXPECT_NEAR(lwsim::evaluateEnvelope(one, time), 3.5, 1e-9) << time;
  // Many keys: each time finds its own span. Keys at t = 0..40 with value
  // t^2; the midpoint of span [i, i+1] is (i^2 + (i+1)^2) / 2.
  lwsim::Envelope many;
  for (int i = 0; i <= 40; ++i) many.createKey(i, i * i)->shape = kLine;
  for (int i = 0; i < 40; ++i)
    EXPECT_NEAR(lwsim::evaluateEnvelope(many, i + 0.5), (i * i + (i + 1) * (i + 1)) / 2.0, 1e-9) << i;
}

}  // namespace
