// Loading LightWave scene files into the host's scene: the real files saved by
// LightWave in ../shared/lws (their keys, and their envelopes evaluated as
// Layout evaluates them), the project's own files in tests/data (items,
// parents, rest values, pivots, camera settings, ranges, skipped blocks, item
// ids of later versions), and files that are refused whole.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <locale>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "sim/host.h"
#include "sim/scene_file/scene_file.h"
#include "support/decimal_comma_locale.h"

namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using lwsim::Envelope;
using lwsim::EnvelopeKey;
using lwsim::SceneItem;

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

// Times a quarter, half and three quarters into each span.
std::vector<double> timesBetween(const std::vector<FileKey> &keys) {
  std::vector<double> times;
  for (std::size_t i = 1; i < keys.size(); ++i)
    for (const double part : {0.25, 0.5, 0.75})
      times.push_back(keys[i - 1].time + part * (keys[i].time - keys[i - 1].time));
  return times;
}

class SceneFileTest : public ::testing::Test {
 protected:
  void load(const std::string &path) { lwsim::loadSceneFile(scene, path); }

  SceneItem &item(const std::string &name) {
    SceneItem *found = scene.findByName(name);
    if (found == nullptr) throw std::runtime_error("no item " + name);
    return *found;
  }

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

  lwsim::Host host;
  lwsim::Scene &scene = host.scene();
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

TEST_F(SharedSceneTest, EveryFileLoadsItsObjectLightAndCamera) {
  int files = 0;
  for (const auto &entry : fs::directory_iterator(kSharedScenes)) {
    if (entry.path().extension() != ".lws") continue;
    ++files;
    lwsim::Scene fresh;
    lwsim::loadSceneFile(fresh, entry.path().string());
    std::vector<std::string> loaded;
    for (const auto &each : fresh.items()) loaded.push_back(each->name);
    EXPECT_THAT(loaded, ElementsAre("simple_cube", "Light", "Camera")) << entry.path();
    EXPECT_EQ(fresh.items()[0]->fileName, "simple_cube.lwo") << entry.path();
    EXPECT_EQ(fresh.items()[0]->type, lwsim::kObject);
    EXPECT_EQ(fresh.items()[1]->type, lwsim::kLight);
    EXPECT_EQ(fresh.items()[2]->type, lwsim::kCamera);
    EXPECT_EQ(fresh.name(), entry.path().stem().string());
    EXPECT_EQ(fresh.fileName(), entry.path().string());
  }
  EXPECT_GE(files, 8);
}

TEST_F(SharedSceneTest, SettingsAndCameraComeFromTheFile) {
  load(shared("move_x.lws"));
  // FirstFrame 1, LastFrame 60, FrameStep 1, PreviewFirstFrame 0,
  // PreviewLastFrame 60, PreviewFrameStep 1, CurrentFrame 40, 30 fps.
  EXPECT_EQ(scene.renderRange().first, 1);
  EXPECT_EQ(scene.renderRange().last, 60);
  EXPECT_EQ(scene.renderRange().step, 1);
  EXPECT_EQ(scene.previewRange().first, 0);
  EXPECT_EQ(scene.previewRange().last, 60);
  EXPECT_EQ(scene.previewRange().step, 1);
  EXPECT_EQ(scene.framesPerSecond(), 30.0);
  EXPECT_DOUBLE_EQ(scene.time(), 40.0 / 30.0);
  EXPECT_EQ(item("Camera").zoomFactor, 3.2);
  EXPECT_EQ(item("Camera").resolutionWidth, 640);
  EXPECT_EQ(item("Camera").resolutionHeight, 480);
  EXPECT_EQ(item("Camera").group->channels().size(), 6u);
}

TEST_F(SharedSceneTest, KeysAreTheFilesKeysAndRotationsStayInRadians) {
  load(shared("move_x.lws"));
  const Envelope &x = envelope("simple_cube", "Position.X");
  ASSERT_EQ(x.keyCount(), 3u);
  EXPECT_EQ(x.key(0).time, 0.0);
  EXPECT_EQ(x.key(0).value, 0.0);
  EXPECT_EQ(x.key(1).time, 0.66666666666666663);
  EXPECT_EQ(x.key(1).value, 2.0691125392913818);
  EXPECT_EQ(x.key(2).time, 1.3333333333333333);
  EXPECT_EQ(x.key(2).value, -2.3748657703399658);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(x.key(i).shape, 0);
    EXPECT_EQ(x.key(i).params, (std::array<double, 4>{})) << "a TCB key's stored tangents are not its parameters";
  }
  EXPECT_EQ(envelope("simple_cube", "Position.Y").key(0).value, -0.040000002831220627);
  EXPECT_EQ(envelope("simple_cube", "Scale.X").key(0).value, 0.97975808382034302);
  // The light's heading is 45 degrees, written in radians.
  EXPECT_EQ(envelope("Light", "Rotation.H").key(0).value, 0.78539813999999997);
  EXPECT_EQ(envelope("Camera", "Position.Z").key(0).value, -6.384000301361084);
}

// Between its keys a TCB envelope follows the tangents Layout saved with it.
TEST_F(SharedSceneTest, SplineEnvelopesEvaluateAsLayoutBetweenAndAtTheirKeys) {
  struct Case {
    const char *file;
    int channel;
    const char *path;
  };
  for (const Case &c : {Case{"move_x.lws", 0, "Position.X"}, Case{"move_xz_spline.lws", 0, "Position.X"},
                        Case{"move_xz_spline.lws", 2, "Position.Z"}, Case{"move_x_oldformat_6.lws", 0, "Position.X"},
                        Case{"move_x_post_repeat.lws", 0, "Position.X"}}) {
    lwsim::Scene fresh;
    lwsim::loadSceneFile(fresh, shared(c.file));
    const Envelope &loaded = fresh.findChannel(*fresh.items()[0], c.path)->envelope();
    const std::vector<FileKey> keys = firstItemKeys(shared(c.file), c.channel);
    ASSERT_EQ(keys.size(), 3u) << c.file;
    for (const FileKey &key : keys) EXPECT_EQ(loaded.evaluate(key.time), key.value) << c.file;
    for (std::size_t i = 1; i < keys.size(); ++i)
      for (const double part : {0.25, 0.5, 0.75}) {
        const double t = keys[i - 1].time + part * (keys[i].time - keys[i - 1].time);
        EXPECT_NEAR(loaded.evaluate(t), layoutSpanValue(keys[i - 1], keys[i], t), 1e-3) << c.file << " at " << t;
      }
  }
}

TEST_F(SharedSceneTest, LinearAndSteppedSpansFollowTheirKeys) {
  for (const char *file : {"move_xz_linear.lws", "move_xz_stepped.lws"}) {
    lwsim::Scene fresh;
    lwsim::loadSceneFile(fresh, shared(file));
    for (const int channel : {0, 2}) {
      const std::vector<FileKey> keys = firstItemKeys(shared(file), channel);
      const Envelope &loaded =
          fresh.findChannel(*fresh.items()[0], channel == 0 ? "Position.X" : "Position.Z")->envelope();
      ASSERT_EQ(loaded.keyCount(), keys.size());
      for (std::size_t i = 1; i < keys.size(); ++i) {
        const FileKey &a = keys[i - 1], &b = keys[i];
        ASSERT_EQ(loaded.key(i).shape, b.shape);
        for (const double part : {0.25, 0.5, 0.75}) {
          const double t = a.time + part * (b.time - a.time);
          const double expected = b.shape == 4 ? a.value : a.value + part * (b.value - a.value);
          EXPECT_NEAR(loaded.evaluate(t), expected, 1e-12) << file << " channel " << channel << " at " << t;
        }
      }
    }
  }
}

// The two files hold nearly the same curve, once with TCB keys and once with
// Hermite keys whose tangents P4 (incoming) and P5 (outgoing) Layout derived
// from it; they differ by no more than their keys do.
TEST_F(SharedSceneTest, HermiteTangentsGiveTheCurveOfTheSplineFile) {
  lwsim::Scene spline, hermite;
  lwsim::loadSceneFile(spline, shared("move_xz_spline.lws"));
  lwsim::loadSceneFile(hermite, shared("move_xz_hermite.lws"));
  for (const int channel : {0, 2}) {
    const char *path = channel == 0 ? "Position.X" : "Position.Z";
    const std::vector<FileKey> splineKeys = firstItemKeys(shared("move_xz_spline.lws"), channel);
    const std::vector<FileKey> hermiteKeys = firstItemKeys(shared("move_xz_hermite.lws"), channel);
    ASSERT_EQ(splineKeys.size(), hermiteKeys.size());
    double keyGap = 0.0;
    for (std::size_t i = 0; i < splineKeys.size(); ++i) {
      ASSERT_EQ(splineKeys[i].time, hermiteKeys[i].time);
      keyGap = std::max(keyGap, std::fabs(splineKeys[i].value - hermiteKeys[i].value));
    }
    const Envelope &a = spline.findChannel(*spline.items()[0], path)->envelope();
    const Envelope &b = hermite.findChannel(*hermite.items()[0], path)->envelope();
    ASSERT_EQ(b.key(1).shape, 1);
    EXPECT_EQ(b.key(1).params[0], hermiteKeys[1].p[3]);
    EXPECT_EQ(b.key(1).params[1], hermiteKeys[1].p[4]);
    for (const double t : timesBetween(splineKeys))
      EXPECT_NEAR(b.evaluate(t), a.evaluate(t), keyGap + 0.01) << path << " at " << t;
  }
}

TEST_F(SharedSceneTest, BehavioursHoldOrRepeatOutsideTheKeys) {
  lwsim::Scene constant, repeat;
  lwsim::loadSceneFile(constant, shared("move_x_post_constant.lws"));
  lwsim::loadSceneFile(repeat, shared("move_x_post_repeat.lws"));
  const Envelope &held = constant.findChannel(*constant.items()[0], "Position.X")->envelope();
  const Envelope &repeated = repeat.findChannel(*repeat.items()[0], "Position.X")->envelope();
  EXPECT_EQ(held.postBehavior(), lwsim::kConstant);
  EXPECT_EQ(repeated.preBehavior(), lwsim::kConstant);
  EXPECT_EQ(repeated.postBehavior(), lwsim::kRepeat);
  // Keys at 0, 0.6666… and 1.3 seconds; the last value is -1.6381832361221313.
  const std::vector<FileKey> keys = firstItemKeys(shared("move_x_post_repeat.lws"), 0);
  ASSERT_EQ(keys.size(), 3u);
  const double period = keys[2].time - keys[0].time;
  EXPECT_EQ(held.evaluate(-1.0), 0.0);
  EXPECT_EQ(repeated.evaluate(-1.0), 0.0);
  EXPECT_EQ(held.evaluate(5.0), -1.6381832361221313);
  for (const double t : timesBetween(keys)) {
    const std::size_t span = t < keys[1].time ? 1 : 2;
    const double layout = layoutSpanValue(keys[span - 1], keys[span], t);
    EXPECT_NEAR(repeated.evaluate(t + period), layout, 1e-3) << t;
    EXPECT_NEAR(repeated.evaluate(t + 3 * period), layout, 1e-3) << t;
    EXPECT_EQ(held.evaluate(t + period), -1.6381832361221313);
  }
}

// --- the project's own files --------------------------------------------------

TEST_F(SceneFileTest, ItemsComeInFileOrderWithTheirTypesNamesAndFiles) {
  load(kData + "scene_rig_v3.lws");
  EXPECT_THAT(names(), ElementsAre("Crate.box", "Rig Root", "Hero", "Upper Arm", "Forearm", "Key Light", "Main Cam"));
  EXPECT_EQ(item("Crate.box").fileName, "Objects/Props/Crate.box.lwo");
  EXPECT_EQ(item("Hero").fileName, "Characters/Hero.lwo");
  EXPECT_EQ(item("Rig Root").fileName, "") << "a null";
  EXPECT_EQ(item("Rig Root").type, lwsim::kObject);
  EXPECT_EQ(item("Upper Arm").type, lwsim::kBone);
  EXPECT_EQ(item("Upper Arm").owner, &item("Hero"));
  EXPECT_EQ(item("Forearm").owner, &item("Hero"));
  EXPECT_EQ(item("Key Light").type, lwsim::kLight);
  EXPECT_EQ(item("Main Cam").type, lwsim::kCamera);
  EXPECT_EQ(scene.name(), "scene_rig_v3");
  EXPECT_EQ(scene.fileName(), kData + "scene_rig_v3.lws");
}

// 10000001 is the second object (the null), 40000002 the first bone of the
// third object, 30000000 the first camera.
TEST_F(SceneFileTest, ParentsFollowTheItemNumbersOfTheFormat) {
  load(kData + "scene_rig_v3.lws");
  EXPECT_EQ(parentOf("Crate.box"), "Rig Root") << "an object under a null declared after it";
  EXPECT_EQ(parentOf("Rig Root"), "-");
  EXPECT_EQ(parentOf("Hero"), "Rig Root");
  EXPECT_EQ(parentOf("Upper Arm"), "Hero") << "a bone without ParentItem hangs from its object";
  EXPECT_EQ(parentOf("Forearm"), "Upper Arm") << "a bone under a bone";
  EXPECT_EQ(parentOf("Key Light"), "Main Cam");
  EXPECT_EQ(parentOf("Main Cam"), "-");
}

TEST_F(SceneFileTest, RestValuesAndPivotsTakeTheirAnglesInDegrees) {
  load(kData + "scene_rig_v3.lws");
  EXPECT_EQ(item("Upper Arm").restPosition, (lwsim::Vector3{0, 0.5, 0}));
  EXPECT_NEAR(item("Upper Arm").restRotation[1], degrees(90), 1e-15);
  EXPECT_EQ(item("Forearm").restPosition, (lwsim::Vector3{0, 0, 0.75}));
  EXPECT_NEAR(item("Forearm").restRotation[0], degrees(10), 1e-15);
  EXPECT_NEAR(item("Forearm").restRotation[2], degrees(-20), 1e-15);
  EXPECT_EQ(item("Crate.box").pivot, (lwsim::Vector3{0.25, -0.5, 1.5}));
  EXPECT_NEAR(item("Crate.box").pivotRotation[0], degrees(90), 1e-15);
  EXPECT_NEAR(item("Crate.box").pivotRotation[1], degrees(-45), 1e-15);
  EXPECT_NEAR(item("Crate.box").pivotRotation[2], degrees(180), 1e-15);
  EXPECT_EQ(item("Hero").pivot, (lwsim::Vector3{}));
}

TEST_F(SceneFileTest, RangesFrameRateAndCurrentFrame) {
  load(kData + "scene_rig_v3.lws");
  EXPECT_EQ(scene.renderRange().first, 5);
  EXPECT_EQ(scene.renderRange().last, 95);
  EXPECT_EQ(scene.renderRange().step, 2);
  EXPECT_EQ(scene.previewRange().first, -10);
  EXPECT_EQ(scene.previewRange().last, 120);
  EXPECT_EQ(scene.previewRange().step, 3);
  EXPECT_EQ(scene.framesPerSecond(), 24.0);
  EXPECT_EQ(scene.time(), 0.5) << "frame 12 at the file's 24 fps, given after it";
}

TEST_F(SceneFileTest, KeysReplaceTheDefaultKeyOnlyWhereTheFileHasAChannel) {
  load(kData + "scene_rig_v3.lws");
  const Envelope &x = envelope("Crate.box", "Position.X");
  ASSERT_EQ(x.keyCount(), 2u);
  EXPECT_EQ(x.key(0).value, 0.5);
  EXPECT_EQ(x.key(1).value, 2.5);
  EXPECT_EQ(x.key(1).time, 1.0);
  EXPECT_EQ(x.key(1).shape, 3);
  EXPECT_EQ(x.evaluate(0.5), 1.5);
  ASSERT_EQ(envelope("Crate.box", "Scale.Y").keyCount(), 1u);
  EXPECT_EQ(envelope("Crate.box", "Scale.Y").key(0).value, 2.0);
  // Channels the file leaves out keep the key a new item gets.
  for (const char *path : {"Position.Y", "Rotation.H", "Scale.X"}) {
    const Envelope &untouched = envelope("Crate.box", path);
    ASSERT_EQ(untouched.keyCount(), 1u) << path;
    EXPECT_EQ(untouched.key(0).time, 0.0) << path;
    EXPECT_EQ(untouched.key(0).value, path[0] == 'S' ? 1.0 : 0.0) << path;
  }
  const Envelope &pitch = envelope("Upper Arm", "Rotation.P");
  ASSERT_EQ(pitch.keyCount(), 2u);
  EXPECT_EQ(pitch.key(1).value, 1.5707963267948966) << "rotation keys are radians already";
}

TEST_F(SceneFileTest, TcbKeysTakeTensionContinuityAndBiasButNotTheStoredTangents) {
  load(kData + "scene_rig_v3.lws");
  // Key 0 0 0 0.5 -0.25 0.1 7 8 0, then keys at 0.5 and 1.5; repeated after.
  const Envelope &y = envelope("Rig Root", "Position.Y");
  ASSERT_EQ(y.keyCount(), 3u);
  EXPECT_EQ(y.key(0).tension, 0.5);
  EXPECT_EQ(y.key(0).continuity, -0.25);
  EXPECT_EQ(y.key(0).bias, 0.1);
  EXPECT_EQ(y.key(0).params, (std::array<double, 4>{}));
  EXPECT_EQ(y.key(2).value, 0.25);
  EXPECT_EQ(y.key(2).time, 1.5);
  EXPECT_EQ(y.preBehavior(), lwsim::kConstant);
  EXPECT_EQ(y.postBehavior(), lwsim::kRepeat);
  EXPECT_EQ(y.evaluate(1.5 + 0.5), 1.0) << "one period on, the key at 0.5";
}

TEST_F(SceneFileTest, CameraTakesItsZoomEnvelopeAndFrameSize) {
  load(kData + "scene_rig_v3.lws");
  SceneItem &camera = item("Main Cam");
  EXPECT_EQ(camera.resolutionWidth, 1920);
  EXPECT_EQ(camera.resolutionHeight, 1080);
  const Envelope &zoom = envelope("Main Cam", "ZoomFactor");
  EXPECT_EQ(zoom.preBehavior(), lwsim::kReset);
  EXPECT_EQ(zoom.postBehavior(), lwsim::kOffsetRepeat);
  ASSERT_EQ(zoom.keyCount(), 2u);
  // Key 3.2 0 1 0.1 0.2 0.3 0.5 1.5 0: Hermite, tangents in 0.5 and out 1.5.
  const EnvelopeKey &hermite = zoom.key(0);
  EXPECT_EQ(hermite.value, 3.2);
  EXPECT_EQ(hermite.shape, 1);
  EXPECT_EQ(hermite.tension, 0.1);
  EXPECT_EQ(hermite.continuity, 0.2);
  EXPECT_EQ(hermite.bias, 0.3);
  EXPECT_EQ(hermite.params, (std::array<double, 4>{0.5, 1.5, 0, 0}));
  // Key 1.6 2 5 -0.5 0.25 0.5 -0.25 9 9: 2-D Bezier handles in P1-P4.
  const EnvelopeKey &bezier = zoom.key(1);
  EXPECT_EQ(bezier.time, 2.0);
  EXPECT_EQ(bezier.shape, 5);
  EXPECT_EQ(bezier.params, (std::array<double, 4>{-0.5, 0.25, 0.5, -0.25}));
  EXPECT_EQ(bezier.tension, 0.0);
  // The camera keeps its six motion channels; its file's scale is dropped.
  EXPECT_EQ(camera.group->channels().size(), 7u);
  EXPECT_EQ(scene.findChannel(camera, "Scale.X"), nullptr);
  EXPECT_EQ(envelope("Main Cam", "Position.Z").key(0).value, -6.0);
}

TEST_F(SceneFileTest, UnknownBlocksPluginSectionsAndOtherEnvelopesAreSkipped) {
  load(kData + "scene_rig_v3.lws");
  // The Channel 1 in an unknown block and the Channel 2 in a plug-in section
  // belong to no motion.
  EXPECT_EQ(envelope("Crate.box", "Position.Y").keyCount(), 1u);
  ASSERT_EQ(envelope("Rig Root", "Position.Z").keyCount(), 1u);
  EXPECT_EQ(envelope("Rig Root", "Position.Z").key(0).value, 0.0);
  EXPECT_EQ(scene.findChannel(item("Key Light"), "LightIntensity"), nullptr);
  EXPECT_NEAR(envelope("Key Light", "Rotation.H").key(0).value, std::numbers::pi / 4, 1e-15);
}

TEST_F(SceneFileTest, LaterVersionsNameItemsByTheIdsTheyDeclare) {
  load(kData + "scene_ids_v5.lws");
  EXPECT_THAT(names(), ElementsAre("Torso", "Shoulder", "Elbow", "Arm_L_ Root", "Sun", "Cam"));
  EXPECT_EQ(item("Torso").fileName, "Body Parts/Torso.lwo");
  EXPECT_EQ(parentOf("Arm_L_ Root"), "Torso") << "10000005 is the Torso's declared id";
  EXPECT_EQ(parentOf("Cam"), "Arm_L_ Root") << "10000002 is the null's declared id";
  EXPECT_EQ(parentOf("Elbow"), "Shoulder");
  EXPECT_EQ(parentOf("Shoulder"), "Torso");
  EXPECT_EQ(item("Cam").zoomFactor, 2.5);
  EXPECT_EQ(item("Cam").resolutionWidth, 800);
  EXPECT_EQ(item("Cam").resolutionHeight, 600);
  EXPECT_EQ(scene.framesPerSecond(), 25.0);
}

// The demo's rig: two arm chains under the body, only the left one keyed.
TEST_F(SceneFileTest, ExampleRigHasTwoArmChainsUnderTheBody) {
  load(LWP_SOURCE_DIR "/examples/rig.lws");
  EXPECT_EQ(parentOf("Body"), "Rig");
  for (const std::string side : {"L", "R"}) {
    const std::string upper = "Arm_" + side + "_Upper", lower = "Arm_" + side + "_Lower", hand = "Hand_" + side + "_";
    EXPECT_EQ(parentOf(upper), "Body");
    EXPECT_EQ(parentOf(lower), upper);
    EXPECT_EQ(parentOf(hand), lower);
    std::size_t keyed = 0;
    for (const std::string &name : {upper, lower, hand})
      for (const auto &channel : item(name).group->channels()) keyed += channel->envelope().keyCount() > 1 ? 1 : 0;
    EXPECT_EQ(keyed, side == "L" ? 5u : 0u) << side;
  }
  EXPECT_EQ(item("Key Light").type, lwsim::kLight);
  EXPECT_EQ(item("Camera").type, lwsim::kCamera);
}

TEST_F(SceneFileTest, NumbersAreReadInTheCNotationUnderADecimalCommaLocale) {
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  load(kData + "scene_rig_v3.lws");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(native, "1,5") << "the locale was in effect";
  EXPECT_EQ(item("Crate.box").pivot, (lwsim::Vector3{0.25, -0.5, 1.5}));
  EXPECT_EQ(envelope("Rig Root", "Position.Y").key(0).continuity, -0.25);
  EXPECT_EQ(envelope("Main Cam", "ZoomFactor").key(0).value, 3.2);
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

struct SceneState {
  std::vector<std::string> names;
  double fps;
  double time;
  int first, last, previewFirst;
  std::string name, fileName;
  std::size_t keys;

  bool operator==(const SceneState &) const = default;
};

TEST_F(SceneFileTest, RefusedFilesNameFileAndLineAndLeaveTheSceneUntouched) {
  ASSERT_EQ(host.commands().run("AddNull Keep"), 1);
  scene.findChannel(item("Keep"), "Position.X")->envelope().createKey(1.0, 4.0);
  const auto state = [this] {
    return SceneState{names(),
                      scene.framesPerSecond(),
                      scene.time(),
                      scene.renderRange().first,
                      scene.renderRange().last,
                      scene.previewRange().first,
                      scene.name(),
                      scene.fileName(),
                      envelope("Keep", "Position.X").keyCount()};
  };
  const SceneState before = state();
  struct Case {
    std::string file;
    int line;
    std::string message;
  };
  const std::string truncated = kData + "scene_bad_truncated.lws";
  const std::string missing = kData + "scene_bad_missing_keys.lws";
  const std::string number = kData + "scene_bad_number.lws";
  const Case cases[] = {
      {kData + "scene_bad_not_lwsc.lws", 1, "not a LightWave scene file"},
      // The envelope of Channel 1 never closes: its block is named where it opens.
      {truncated, lineOf(truncated, "Channel 1") + 1, "{ Envelope block is cut off by the end of the file"},
      {missing, lineOf(missing, "Behaviors"), "announces 3 keys but holds 2"},
      {number, lineOf(number, "2.5.1"), "\"2.5.1\" is not a number"},
  };
  for (const Case &c : cases) {
    ASSERT_GT(c.line, 0) << c.file;
    try {
      load(c.file);
      ADD_FAILURE() << c.file << " was loaded";
    } catch (const lwsim::HostError &error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr(c.file + ":" + std::to_string(c.line) + ": "), HasSubstr(c.message)));
    }
    EXPECT_TRUE(state() == before) << c.file << " left something in the scene";
  }
}

TEST_F(SceneFileTest, MalformedStructureIsRefusedAtItsLine) {
  const std::string head = "LWSC\n3\n";
  const std::string null = "AddNullObject A\nObjectMotion\nNumChannels 9\nChannel 0\n";
  struct Case {
    std::string text;
    int line;
    std::string message;
  };
  const Case cases[] = {
      {"", 1, "not a LightWave scene file"},
      {"LWSC\n", 1, "version is missing"},
      {"LWSC\n1\n", 2, "LWSC version 1 is not supported"},
      {head + "AddBone\n", 3, "AddBone without an object"},
      {head + "AddNullObject A\nZoomFactor 2\n", 4, "ZoomFactor without a camera"},
      {head + "AddCamera\nZoomFactor 0\n", 4, "zoom factor must be positive"},
      {head + "FramesPerSecond 0\n", 3, "frame rate must be positive"},
      {head + "FrameStep 0\n", 3, "frame step is at least 1"},
      {head + "FirstFrame 1.5\n", 3, "\"1.5\" is not a whole number"},
      {head + "AddNullObject A\nParentItem 10000003\n", 4, "ParentItem 10000003 names no item"},
      {head + "AddNullObject A\nParentItem 10000001\nAddNullObject B\nParentItem 10000000\n", 4, "parent cycle"},
      {head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Key 2 1 0 0 0 0 0 0 0\n}\n", 10, "more keys than"},
      {head + null + "{ Envelope\n  1\n  Key 1 0 6 0 0 0 0 0 0\n}\n", 9, "shape is 0 to 5"},
      {head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0\n}\n", 9, "a Key line holds"},
      {head + null + "{ Envelope\n  2\n  Key 1 0.5 0 0 0 0 0 0 0\n  Key 2 0.5 0 0 0 0 0 0 0\n}\n", 10, "time 0.5"},
      {head + null + "{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Behaviors 1 9\n}\n", 10, "behaviour is 0 to 5"},
      {head + null + "Key 1 0 0 0 0 0 0 0 0\n", 7, "expected the { Envelope of channel 0"},
      {head + null, 6, "Channel 0 without its envelope"},
      {head + "Plugin MasterHandler 1 X\n{ Data\n}\n", 3, "Plugin without EndPlugin"},
      {head + "{ Unknown\n  { Inner\n  }\n", 3, "the { Unknown block is cut off"},
      {head + "}\n", 3, "a closing brace without a block"},
  };
  for (const Case &c : cases) {
    const std::string path = write(c.text);
    try {
      load(path);
      ADD_FAILURE() << c.text << "was loaded";
    } catch (const lwsim::SceneFileError &error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr(path + ":" + std::to_string(c.line) + ": "), HasSubstr(c.message)))
          << c.text;
    }
  }
  EXPECT_TRUE(scene.items().empty());
}

TEST_F(SceneFileTest, UnreadableFileIsRefusedByName) {
  const std::string absent = (fs::path(testing::TempDir()) / "no_such_scene.lws").string();
  EXPECT_THROW(
      {
        try {
          load(absent);
        } catch (const lwsim::HostError &error) {
          EXPECT_THAT(error.what(), HasSubstr("cannot read scene file " + absent));
          throw;
        }
      },
      lwsim::SceneFileError);
}

}  // namespace
