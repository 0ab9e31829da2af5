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
#include <tuple>
#include <vector>

#include "sim/host.h"
#include "sim/scene_file/scene_file.h"
#include "support/decimal_comma_locale.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using lwsim::Envelope;
using lwsim::EnvelopeKey;
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
  std::array<int, 6> ranges() const {
    const lwsim::FrameRange &render = scene.renderRange(), &preview = scene.previewRange();
    return {render.first, render.last, render.step, preview.first, preview.last, preview.step};
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
  EXPECT_EQ(item("Camera").group->channels().size(), 6u);
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
  EXPECT_EQ(scene.name(), "scene_rig_v3");
  EXPECT_EQ(scene.fileName(), kData + "scene_rig_v3.lws");
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
  EXPECT_EQ(parentOf("Arm_L_ Root"), "Torso") << "10000005 is the Torso's declared id";
  EXPECT_EQ(parentOf("Cam"), "Arm_L_ Root") << "10000002 is the null's declared id";
  EXPECT_EQ(parentOf("Elbow"), "Shoulder");
  EXPECT_EQ(parentOf("Shoulder"), "Torso");
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

}  // namespace
