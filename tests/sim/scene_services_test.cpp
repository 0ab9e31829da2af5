// The host's scene: as a plug-in sees it through the records looked up by
// their global ids, over scenes an lwsim script builds (the id scheme, the
// motion read, the refusals of bad handles and input, the envelope edits);
// the scene commands as a module issues them (building items, posing and
// keying, time, envelopes, camera and scene settings, the lines refused);
// scene files loaded into it; and the envelope evaluation. What the module's own workflow tests read
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
#include <filesystem>
#include <fstream>
#include <locale>
#include <numbers>
#include <sstream>
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
#include "sim/scene_file/scene_file.h"
#include "support/decimal_comma_locale.h"
#include "support/script_session.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
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

  std::array<int, 6> ranges() const {
    const lwsim::FrameRange &render = scene.renderRange(), &preview = scene.previewRange();
    return {render.first, render.last, render.step, preview.first, preview.last, preview.step};
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
  // The channel was the last handle looked up before its removal.
  std::vector<const void *> nulls{channels->channelName(smileId)};
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
         channels->nextGroup(prop, jaw), channels->nextGroup(face, mouth), envelopes->findKey(nullptr, 1.0),
         envelopes->nextKey(channelAsEnvelope, nullptr), envelopes->createKey(smileEnvelope, 0.0, 1.0),
         sceneObjects->vmapName(LWVMAP_MORF, -1));
  append(zeros, envelopes->evaluate(as<LWEnvelopeID>(face), 0.0));
  // Keys: another envelope's, none, inside a key, an unknown tag, no value to
  // read or write; the key count is read-only and behaviours are 0 to 5.
  const LWEnvKeyframeID theirs = envelopes->createKey(envelope("Prop", "Position.X"), 2.0, 1.0);
  const LWEnvKeyframeID inside = as<LWEnvKeyframeID>(reinterpret_cast<char *>(key) + sizeof(double));
  for (auto [env, k] : {std::pair{extra, theirs}, {extra, LWEnvKeyframeID{}}, {extra, inside}, {LWEnvelopeID{}, key}})
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
  EXPECT_EQ(ranges(), (std::array{1, 60, 1, 1, 60, 1}));
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
  EXPECT_EQ(ranges(), (std::array{10, 240, 2, -5, 120, 3}));
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
  lwsim::Scene loaded;  // a scene file too
  lwsim::loadSceneFile(loaded, LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(native, "1,5") << "the locale was in effect";
  EXPECT_THAT(results, ElementsAre(1, 1, 1, 1, 1, 1, 0));
  EXPECT_DOUBLE_EQ(scene.time(), 0.25);
  expectShown("Cam", {1.5, -2.25, 0.125, kPi / 8, 0, 0, 1, 1, 1}, true);
  EXPECT_EQ(std::make_tuple(item("Cam").zoomFactor, item("Cam").schematicX, item("Cam").schematicY),
            std::make_tuple(2.5, 0.5, 1.25));
  EXPECT_EQ(keys("Cam", "Position.X"), "0:0 0.5:1.5");
  EXPECT_EQ(loaded.findByName("Crate.box")->pivot, (lwsim::Vector3{0.25, -0.5, 1.5}));
  EXPECT_EQ(loaded.findChannel(*loaded.findByName("Rig Root"), "Position.Y")->envelope().key(0).continuity, -0.25);
  EXPECT_EQ(loaded.findChannel(*loaded.findByName("Main Cam"), "ZoomFactor")->envelope().key(0).value, 3.2);
}

// ---- scene files ----

// Loading LightWave scene files into the host's scene: the real files saved by
// LightWave in ../shared/lws (their keys, and their envelopes evaluated as
// Layout evaluates them), the project's own files in tests/data (items,
// parents, rest values, pivots, camera settings, ranges, skipped blocks, item
// ids of later versions), and files that are refused whole.

namespace fs = std::filesystem;

using lwsim::Envelope;
using lwsim::SceneItem;
using Params = std::array<double, 4>;

const std::string kSharedScenes = LWP_SOURCE_DIR "/../shared/lws";
const std::string kData = LWP_SOURCE_DIR "/tests/data/";

double degrees(double angle) { return angle * std::numbers::pi / 180.0; }

// A Key line of a file as written: value, time, shape, p1..p6.
struct FileKey {
  double value = 0.0;
  double time = 0.0;
  int shape = 0;
  std::array<double, 6> p{};
};

// The keys of motion channel `channel` of the first item in a file, read
// straight from its text.
std::vector<FileKey> firstItemKeys(const std::string &path, int channel) {
  std::ifstream in(path);
  std::vector<FileKey> keys;
  bool inChannel = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "Channel " + std::to_string(channel)) inChannel = true;
    if (!inChannel) continue;
    if (line == "}") break;
    std::istringstream words(line);
    words.imbue(std::locale::classic());
    std::string keyword;
    words >> keyword;
    if (keyword != "Key") continue;
    FileKey key;
    words >> key.value >> key.time >> key.shape;
    for (double &p : key.p) words >> p;
    keys.push_back(key);
  }
  return keys;
}

// The value of the span from a to b at time t, by the Hermite cubic with the
// tangents Layout wrote beside TCB keys: P5 leaving a, P4 arriving at b, both
// per span.
double layoutSpanValue(const FileKey &a, const FileKey &b, double t) {
  const double u = (t - a.time) / (b.time - a.time), u2 = u * u, u3 = u2 * u;
  return (2 * u3 - 3 * u2 + 1) * a.value + (3 * u2 - 2 * u3) * b.value + (u3 - 2 * u2 + u) * a.p[4] +
         (u3 - u2) * b.p[3];
}

class SceneFileTest : public SceneServices {
 protected:
  void load(const std::string &path) { lwsim::loadSceneFile(scene, path); }

  const Envelope &envelope(const std::string &name, const std::string &path) {
    lwsim::Channel *channel = scene.findChannel(item(name), path);
    if (channel == nullptr) throw std::runtime_error("no channel " + path + " of " + name);
    return channel->envelope();
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto &each : scene.items()) out.push_back(each->name);
    return out;
  }
  std::string parentOf(const std::string &name) {
    const SceneItem *parent = item(name).parent;
    return parent == nullptr ? "-" : parent->name;
  }
  // Writes a file of this text in the test's temporary directory.
  std::string write(const std::string &text) {
    const fs::path path = fs::path(testing::TempDir()) / ("scene_file_" + std::to_string(++files_) + ".lws");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  int files_ = 0;
};

class SharedSceneTest : public SceneFileTest {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kSharedScenes))
      GTEST_SKIP() << "the shared LightWave scene files are not at " << kSharedScenes;
  }
  static std::string shared(const std::string &name) { return kSharedScenes + "/" + name; }
};

// --- the shared files saved by LightWave ------------------------------------

// Every file holds its object, light and camera; move_x.lws's settings
// (FirstFrame 1, LastFrame 60, FrameStep 1, PreviewFirstFrame 0,
// PreviewLastFrame 60, PreviewFrameStep 1, CurrentFrame 40, 30 fps), camera
// and keys as written, rotations in radians.
TEST_F(SharedSceneTest, EveryFileLoadsItsItemsAndMoveXItsSettingsCameraAndKeys) {
  int files = 0;
  for (const auto &entry : fs::directory_iterator(kSharedScenes)) {
    if (entry.path().extension() != ".lws") continue;
    ++files;
    lwsim::Scene fresh;
    lwsim::loadSceneFile(fresh, entry.path().string());
    std::vector<std::string> loaded;
    for (const auto &each : fresh.items())
      loaded.push_back(each->name + " " + std::to_string(each->type) + " " + each->fileName);
    EXPECT_THAT(loaded, ElementsAre("simple_cube 0 simple_cube.lwo", "Light 1 ", "Camera 2 ")) << entry.path();
    EXPECT_EQ(std::make_pair(fresh.name(), fresh.fileName()),
              std::make_pair(entry.path().stem().string(), entry.path().string()));
  }
  EXPECT_GE(files, 8);
  load(shared("move_x.lws"));
  EXPECT_EQ(ranges(), (std::array{1, 60, 1, 0, 60, 1}));
  EXPECT_EQ(scene.framesPerSecond(), 30.0);
  EXPECT_DOUBLE_EQ(scene.time(), 40.0 / 30.0);
  EXPECT_EQ(std::make_tuple(item("Camera").zoomFactor, item("Camera").resolutionWidth, item("Camera").resolutionHeight),
            std::make_tuple(3.2, 640, 480));
  EXPECT_EQ(envelope("simple_cube", "Position.X").key(1).time, 0.66666666666666663);
  EXPECT_EQ(envelope("simple_cube", "Position.Y").key(0).value, -0.040000002831220627);
  EXPECT_EQ(envelope("simple_cube", "Scale.X").key(0).value, 0.97975808382034302);
  EXPECT_EQ(envelope("Light", "Rotation.H").key(0).value, 0.78539813999999997) << "45 degrees, written in radians";
  EXPECT_EQ(envelope("Camera", "Position.Z").key(0).value, -6.384000301361084);
}

// At its keys an envelope gives their values; between them a TCB span
// follows the tangents Layout saved with it (not the key's parameters; a
// Hermite key's are, as the rig file's camera zoom shows),
// linear and stepped spans their keys; one and three periods on a repeat
// behaviour repeats the keys, a constant one (every other file) holds the
// last value.
TEST_F(SharedSceneTest, EnvelopesEvaluateAsLayoutAtBetweenAndBeyondTheirKeys) {
  // clang-format off
  const std::pair<const char *, int> cases[] = {
      {"move_x.lws", 0}, {"move_xz_spline.lws", 0}, {"move_xz_spline.lws", 2}, {"move_x_oldformat_6.lws", 0},
      {"move_xz_linear.lws", 0}, {"move_xz_linear.lws", 2}, {"move_xz_stepped.lws", 0}, {"move_xz_stepped.lws", 2},
      {"move_x_post_repeat.lws", 0}, {"move_x_post_constant.lws", 0}};
  // clang-format on
  for (const auto &[file, channel] : cases) {
    lwsim::Scene fresh;
    lwsim::loadSceneFile(fresh, shared(file));
    const Envelope &loaded =
        fresh.findChannel(*fresh.items()[0], channel == 0 ? "Position.X" : "Position.Z")->envelope();
    const std::vector<FileKey> keys = firstItemKeys(shared(file), channel);
    ASSERT_GE(keys.size(), 3u) << file;
    ASSERT_EQ(loaded.keyCount(), keys.size()) << file;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(loaded.evaluate(keys[i].time), keys[i].value) << file;
      EXPECT_EQ(loaded.key(i).shape, keys[i].shape) << file;
      EXPECT_EQ(loaded.key(i).params, keys[i].shape == 0 ? Params{} : loaded.key(i).params) << file;
    }
    const double period = keys.back().time - keys.front().time;
    const bool repeats = std::string(file) == "move_x_post_repeat.lws";
    for (std::size_t i = 1; i < keys.size(); ++i) {
      const FileKey &a = keys[i - 1], &b = keys[i];
      for (const double part : {0.25, 0.5, 0.75}) {
        const double t = a.time + part * (b.time - a.time);
        const double expected = b.shape == 0   ? layoutSpanValue(a, b, t)
                                : b.shape == 4 ? a.value
                                               : a.value + part * (b.value - a.value);
        const double tolerance = b.shape == 0 ? 1e-3 : 1e-12;
        EXPECT_NEAR(loaded.evaluate(t), expected, tolerance) << file << " " << channel << " at " << t;
        const double beyond = repeats ? expected : keys.back().value;
        EXPECT_NEAR(loaded.evaluate(t + period), beyond, tolerance) << file << " at " << t;
        EXPECT_NEAR(loaded.evaluate(t + 3 * period), beyond, tolerance) << file << " at " << t;
      }
    }
    EXPECT_EQ(loaded.preBehavior(), lwsim::kConstant) << file;
    EXPECT_EQ(loaded.evaluate(keys.front().time - 1.0), keys.front().value) << file;
    EXPECT_EQ(loaded.postBehavior(), repeats ? lwsim::kRepeat : lwsim::kConstant) << file;
  }
}

// --- the project's own files --------------------------------------------------

// Items in file order with their types and files; parents by the item
// numbers of the format (10000001 is the second object, 40000002 the first
// bone of the third object, 30000000 the first camera); rest values and
// pivots with their angles in degrees; ranges, frame rate and current frame.
TEST_F(SceneFileTest, RigFileGivesItemsParentsRestValuesPivotsSettingsAndKeys) {
  load(kData + "scene_rig_v3.lws");
  EXPECT_EQ(std::make_pair(scene.name(), scene.fileName()),
            std::make_pair(std::string("scene_rig_v3"), kData + "scene_rig_v3.lws"));
  std::vector<std::string> described;
  for (const auto &each : scene.items())
    described.push_back(each->name + " " + std::to_string(each->type) + " " + each->fileName + " < " +
                        parentOf(each->name) + (each->owner != nullptr ? " of " + each->owner->name : ""));
  // Crate.box hangs from a null declared after it, Upper Arm (without
  // ParentItem) from its object.
  EXPECT_THAT(described, ElementsAre("Crate.box 0 Objects/Props/Crate.box.lwo < Rig Root", "Rig Root 0  < -",
                                     "Hero 0 Characters/Hero.lwo < Rig Root", "Upper Arm 3  < Hero of Hero",
                                     "Forearm 3  < Upper Arm of Hero", "Key Light 1  < Main Cam", "Main Cam 2  < -"));
  const auto near = [](const lwsim::Vector3 &actual, const lwsim::Vector3 &angles) {
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], degrees(angles[i]), 1e-15) << i;
  };
  EXPECT_EQ(item("Upper Arm").restPosition, (lwsim::Vector3{0, 0.5, 0}));
  near(item("Upper Arm").restRotation, {0, 90, 0});
  EXPECT_EQ(item("Forearm").restPosition, (lwsim::Vector3{0, 0, 0.75}));
  near(item("Forearm").restRotation, {10, 0, -20});
  EXPECT_EQ(item("Crate.box").pivot, (lwsim::Vector3{0.25, -0.5, 1.5}));
  near(item("Crate.box").pivotRotation, {90, -45, 180});
  EXPECT_EQ(ranges(), (std::array{5, 95, 2, -10, 120, 3}));
  EXPECT_EQ(scene.framesPerSecond(), 24.0);
  EXPECT_EQ(scene.time(), 0.5) << "frame 12 at the file's 24 fps, given after it";

  // Keys replace the default key only where the file has a channel; the
  // camera takes its frame size; unknown blocks, plug-in sections and other
  // envelopes are skipped.
  const Envelope &x = envelope("Crate.box", "Position.X");
  ASSERT_EQ(x.keyCount(), 2u);
  EXPECT_EQ(std::make_tuple(x.key(0).value, x.key(1).value, x.key(1).time, x.key(1).shape),
            std::make_tuple(0.5, 2.5, 1.0, 3));
  EXPECT_EQ(x.evaluate(0.5), 1.5);
  ASSERT_EQ(envelope("Crate.box", "Scale.Y").keyCount(), 1u);
  EXPECT_EQ(envelope("Crate.box", "Scale.Y").key(0).value, 2.0);
  // Channels the file leaves out keep the key a new item gets (Position.Y
  // also has a Channel 1 in an unknown block, Rig Root's Position.Z a
  // Channel 2 in a plug-in section).
  for (const auto &[name, path] :
       {std::pair{"Crate.box", "Position.Y"}, {"Crate.box", "Scale.X"}, {"Rig Root", "Position.Z"}}) {
    const Envelope &untouched = envelope(name, path);
    ASSERT_EQ(untouched.keyCount(), 1u) << name << path;
    EXPECT_EQ(untouched.key(0).time, 0.0) << path;
    EXPECT_EQ(untouched.key(0).value, path[0] == 'S' ? 1.0 : 0.0) << name << path;
  }
  EXPECT_EQ(scene.findChannel(item("Key Light"), "LightIntensity"), nullptr);
  EXPECT_NEAR(envelope("Key Light", "Rotation.H").key(0).value, std::numbers::pi / 4, 1e-15);
  const Envelope &pitch = envelope("Upper Arm", "Rotation.P");
  ASSERT_EQ(pitch.keyCount(), 2u);
  EXPECT_EQ(pitch.key(1).value, 1.5707963267948966) << "rotation keys are radians already";

  // Rig Root's TCB keys, repeated after them, and the camera's zoom
  // envelope with its shapes' parameters (and a Hermite key's TCB fields).
  const Envelope &y = envelope("Rig Root", "Position.Y"), &zoom = envelope("Main Cam", "ZoomFactor");
  ASSERT_EQ(std::make_pair(y.keyCount(), zoom.keyCount()), std::make_pair(std::size_t{3}, std::size_t{2}));
  EXPECT_EQ(std::make_tuple(y.preBehavior(), y.postBehavior(), y.key(0).tension, y.key(0).continuity, y.key(0).bias,
                            y.key(1).time, y.key(1).value, y.key(2).time, y.key(2).value, y.evaluate(2.0)),
            std::make_tuple(1, 2, 0.5, -0.25, 0.1, 0.5, 1.0, 1.5, 0.25, 1.0));
  EXPECT_EQ(std::make_tuple(zoom.preBehavior(), zoom.postBehavior(), zoom.key(0).value, zoom.key(0).shape,
                            zoom.key(0).tension, zoom.key(0).continuity, zoom.key(0).bias, zoom.key(0).params),
            std::make_tuple(0, 4, 3.2, 1, 0.1, 0.2, 0.3, Params{0.5, 1.5, 0, 0}));
  EXPECT_EQ(std::make_tuple(zoom.key(1).time, zoom.key(1).value, zoom.key(1).shape, zoom.key(1).params),
            std::make_tuple(2.0, 1.6, 5, Params{-0.5, 0.25, 0.5, -0.25}));
  SceneItem &camera = item("Main Cam");
  EXPECT_EQ(std::make_pair(camera.resolutionWidth, camera.resolutionHeight), std::make_pair(1920, 1080));
  // The camera keeps its six motion channels; its file's scale is dropped.
  EXPECT_EQ(camera.group->channels().size(), 7u);
  EXPECT_EQ(scene.findChannel(camera, "Scale.X"), nullptr);
  EXPECT_EQ(envelope("Main Cam", "Position.Z").key(0).value, -6.0);
}

// Later versions name items by the ids they declare, bones' included; a
// byte order mark before the header is skipped; a frame size may be 1 to
// 10^9.
TEST_F(SceneFileTest, LaterVersionsNameItemsByTheIdsTheyDeclare) {
  load(kData + "scene_ids_v5.lws");
  EXPECT_THAT(names(), ElementsAre("Torso", "Shoulder", "Elbow", "Arm_L_ Root", "Sun", "Cam"));
  EXPECT_EQ(item("Torso").fileName, "Body Parts/Torso.lwo");
  // 10000005 is the Torso's declared id, 10000002 the null's.
  EXPECT_EQ((std::vector{parentOf("Arm_L_ Root"), parentOf("Cam"), parentOf("Elbow"), parentOf("Shoulder")}),
            (std::vector<std::string>{"Torso", "Arm_L_ Root", "Shoulder", "Torso"}));
  EXPECT_EQ(std::make_tuple(item("Cam").zoomFactor, item("Cam").resolutionWidth, item("Cam").resolutionHeight),
            std::make_tuple(2.5, 800, 600));
  EXPECT_EQ(scene.framesPerSecond(), 25.0);

  lwsim::Scene fresh;
  lwsim::loadSceneFile(fresh, write("\xEF\xBB\xBFLWSC\n5\nAddNullObject 10000000 A\nAddBone 40000007\n"
                                    "AddCamera 30000000\nParentItem 40000007\nFrameSize 1 1000000000\n"
                                    "AddCamera 30000001\nFrameSize 1000000000 1\n"));
  ASSERT_EQ(fresh.items().size(), 4u);
  EXPECT_EQ(fresh.items()[1]->name, "Bone");
  EXPECT_EQ(fresh.items()[2]->parent, fresh.items()[1].get());
  for (const auto &[index, width, height] :
       {std::tuple{std::size_t{2}, 1, 1000000000}, {std::size_t{3}, 1000000000, 1}})
    EXPECT_EQ(std::make_pair(fresh.items()[index]->resolutionWidth, fresh.items()[index]->resolutionHeight),
              std::make_pair(width, height));
}

// --- refused files ------------------------------------------------------------

// The line of the file's first line that contains the text, counting from 1.
int lineOf(const std::string &path, const std::string &text) {
  std::ifstream in(path);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.find(text) != std::string::npos) return number;
  }
  return 0;
}

// A refused file is named with the line at fault (none where it cannot be
// read) and leaves the scene as it was; one line per check that can fail.
TEST_F(SceneFileTest, RefusedFilesNameFileAndLineAndLeaveTheSceneUntouched) {
  ASSERT_EQ(host.commands().run("AddNull Keep"), 1);
  scene.findChannel(item("Keep"), "Position.X")->envelope().createKey(1.0, 4.0);
  const auto state = [this] {
    return std::make_tuple(names(), scene.framesPerSecond(), scene.time(), ranges(), scene.name(), scene.fileName(),
                           envelope("Keep", "Position.X").keyCount());
  };
  const auto before = state();
  const std::string truncated = kData + "scene_bad_truncated.lws";
  const std::string missing = kData + "scene_bad_missing_keys.lws";
  const std::string number = kData + "scene_bad_number.lws";
  const std::string absent = (fs::path(testing::TempDir()) / "no_such_scene.lws").string();
  const std::string head = "LWSC\n3\n";
  const std::string null = "AddNullObject A\nObjectMotion\nNumChannels 9\nChannel 0\n";
  const struct {
    std::string file;
    int line;
    std::string message;
  } cases[] = {
      // clang-format off
      {kData + "scene_bad_not_lwsc.lws", 1, "not a LightWave scene file"},
      // The envelope of Channel 1 never closes: its block is named where it opens.
      {truncated, lineOf(truncated, "Channel 1") + 1, "{ Envelope block is cut off by the end of the file"},
      {missing, lineOf(missing, "Behaviors"), "announces 3 keys but holds 2"},
      {number, lineOf(number, "2.5.1"), "\"2.5.1\" is not a number"},
      {absent, 0, "cannot read scene file " + absent},
      {write("LWSC\n"), 1, "version is missing"},
      {write("LWSC\n1\n"), 2, "LWSC version 1 is not supported"},
      {write(head + "AddBone\n"), 3, "AddBone without an object"},
      {write(head + "AddNullObject A\nZoomFactor 2\n"), 4, "ZoomFactor without a camera"},
      {write(head + "AddCamera\nZoomFactor 0\n"), 4, "zoom factor must be positive"},
      {write(head + "FramesPerSecond 0\n"), 3, "frame rate must be positive"},
      {write(head + "FrameStep 0\n"), 3, "frame step is at least 1"},
      {write(head + "FirstFrame 1.5\n"), 3, "\"1.5\" is not a whole number"},
      {write(head + "AddNullObject A\nParentItem 10000003\n"), 4, "ParentItem 10000003 names no item"},
      {write(head + "AddNullObject A\nParentItem 10000001\nAddNullObject B\nParentItem 10000000\n"), 4, "parent cycle"},
      {write(head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Key 2 1 0 0 0 0 0 0 0\n}\n"), 10, "more keys than"},
      {write(head + null + "{ Envelope\n  1\n  Key 1 0 6 0 0 0 0 0 0\n}\n"), 9, "shape is 0 to 5"},
      {write(head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0\n}\n"), 9, "a Key line holds"},
      {write(head + null + "{ Envelope\n  2\n  Key 1 0.5 0 0 0 0 0 0 0\n  Key 2 0.5 0 0 0 0 0 0 0\n}\n"), 10, "time 0.5"},
      {write(head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Behaviors 1 9\n}\n"), 10, "behaviour is 0 to 5"},
      {write(head + null + "Key 1 0 0 0 0 0 0 0 0\n"), 7, "expected the { Envelope of channel 0"},
      {write(head + null), 6, "Channel 0 without its envelope"},
      {write(head + "Plugin MasterHandler 1 X\n{ Data\n}\n"), 3, "Plugin without EndPlugin"},
      {write(head + "{ Unknown\n  { Inner\n  }\n"), 3, "the { Unknown block is cut off"},
      {write(head + "}\n"), 3, "a closing brace without a block"},
      // clang-format on
  };
  for (const auto &c : cases) {
    try {
      load(c.file);
      ADD_FAILURE() << c.file << " was loaded";
    } catch (const lwsim::SceneFileError &error) {
      EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.file;
      EXPECT_THAT(error.what(), HasSubstr(c.line != 0 ? c.file + ":" + std::to_string(c.line) + ": " : c.file));
    }
    EXPECT_TRUE(state() == before) << c.file << " left something in the scene";
  }
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
