// The clip save command end to end: the panel in the simulated host, the
// save it runs, the file it writes and what it tells the user.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "clip_io/format/clip_reader.h"
#include "platform/xml/com_startup.h"
#include "sim/panels/panel_service.h"
#include "support/module_host.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

using lwtest::exactText;

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

struct SavedKey {
  double time;
  double value;
  int shape;
};

struct SavedChannel {
  std::string name;
  std::vector<SavedKey> keys;
};

struct SavedClip {
  std::string item;
  std::string fullPath;
  double rangeStart, rangeEnd, fps;
  std::vector<double> basePose;  // pivot_pos, pivot_rot, rest_pos, rest_rot
  std::vector<SavedChannel> channels;

  std::vector<std::string> channelNames() const {
    std::vector<std::string> names;
    for (const SavedChannel &channel : channels) names.push_back(channel.name);
    return names;
  }
  const SavedChannel &channel(const std::string &name) const {
    for (const SavedChannel &channel : channels) {
      if (channel.name == name) return channel;
    }
    throw std::runtime_error("no channel " + name);
  }
  std::vector<double> keyTimes(const std::string &name) const {
    std::vector<double> times;
    for (const SavedKey &key : channel(name).keys) times.push_back(key.time);
    return times;
  }
};

// What a clip file holds, as the module's reader gives it (texts as UTF-8).
std::vector<SavedClip> readClips(const fs::path &file) {
  lwp::platform::startComOnce();
  int code = 0;
  const lwp::akio::AnimClip read = lwp::akio::readClipFile(file.string(), code);
  EXPECT_NE(code & lwp::akio::kReadAll, 0) << file;
  std::vector<SavedClip> clips;
  for (const lwp::akio::AnimClipItem &item : read) {
    SavedClip saved{item.itemName, item.fullPath, item.rangeStart, item.rangeEnd, item.fps, {}, {}};
    for (const lwp::akio::Vector3 &vector : {item.pivotPos, item.pivotRot, item.restPos, item.restRot})
      saved.basePose.insert(saved.basePose.end(), vector.begin(), vector.end());
    for (const lwp::akio::AnimClipChannel &channel : item.channels) {
      saved.channels.push_back({channel.name, {}});
      for (const lwp::akio::AnimClipKey &key : channel.keys)
        saved.channels.back().keys.push_back({key.time, key.value, key.shape});
    }
    clips.push_back(saved);
  }
  return clips;
}

const std::vector<std::string> kMotion = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                                          "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};

class ClipSave : public ::testing::Test {
 protected:
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(module_.host(), script); }
  std::string file(const std::string &name) const { return (dir_ / name).string(); }
  // Opens the panel and saves to name.
  std::vector<std::string> save(const std::string &name, const std::string &before = "") {
    return run(before + "@run QD:ZaduDuzAVSave\n@file \"" + file(name) + "\"\n@press Save\n");
  }
  lwsim::Panel &openPanel() {
    lwsim::Panel *panel = module_.host().panels().openPanel();
    if (panel == nullptr) throw std::runtime_error("no open panel");
    return *panel;
  }

  lwtest::ModuleHost module_;
  lwtest::ScratchDirectory dir_;
};

TEST_F(ClipSave, ThePanelHasItsSixteenControlsWhereTheirLabelsEndAtTheirColumns) {
  run("@run QD:ZaduDuzAVSave\n");
  lwsim::Panel &panel = openPanel();
  EXPECT_EQ(panel.title(), "QD:ZaduDuzAVSave(1.50) build 250619");
  EXPECT_EQ(panel.width(), 340);
  EXPECT_EQ(panel.height(), 170);
  EXPECT_EQ(panel.openFlags(), 64);

  struct Expected {
    const char *type;
    const char *label;
    int column, row, width, value;
  };
  const Expected expected[] = {
      {"PopupControl", "Target Items", 104, 10, -1, 2},
      {"BoolButtonControl", "Null", 25, 40, 60, 1},
      {"BoolButtonControl", "Mesh", 85, 40, 60, 1},
      {"BoolButtonControl", "Bone", 145, 40, 60, 1},
      {"BoolButtonControl", "Light", 205, 40, 60, 1},
      {"BoolButtonControl", "Camera", 265, 40, 60, 1},
      {"BoolButtonControl", "Position", 25, 70, 60, 1},
      {"BoolButtonControl", "Rotation", 85, 70, 60, 1},
      {"BoolButtonControl", "Scale", 145, 70, 60, 1},
      {"BoolButtonControl", "Morph", 205, 70, 60, 1},
      {"BoolButtonControl", "Misc", 265, 70, 60, 1},
      {"BoolButtonControl", "Shcema Position", 25, 100, 100, 0},
      {"BoolButtonControl", "Preview Range", 125, 100, 100, 0},
      {"BoolButtonControl", "Render Range", 225, 100, 100, 0},
      {"BorderControl", "", 5, 130, 350, -1},
      {"ButtonControl", "Save", 250, 135, 100, -1},
  };
  ASSERT_EQ(panel.controls().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const lwsim::Control &control = *panel.controls()[i];
    const Expected &want = expected[i];
    SCOPED_TRACE(want.label);
    EXPECT_EQ(control.typeName(), want.type);
    EXPECT_EQ(control.label(), want.label);
    const bool border = control.typeName() == "BorderControl";
    EXPECT_EQ(control.x(), border ? 5 : want.column - lwsim::PanelService::labelWidth(want.label));
    EXPECT_EQ(control.y(), want.row);
    if (want.width >= 0) {
      EXPECT_EQ(control.width(), want.width);
    }
    if (want.value >= 0) {
      EXPECT_EQ(control.intValue(), want.value);
    }
  }
  EXPECT_EQ(panel.controls()[14]->height(), 30);
  EXPECT_THAT(panel.controls()[0]->items(), ElementsAre("None", "Select Item", "Select Item + Children", "All Item"));
}

TEST_F(ClipSave, JapaneseLabelsAndTheJapaneseFailureBox) {
  const std::vector<std::string> out =
      run("@locale ja\nAddNull Ball\n@run QD:ZaduDuzAVSave\n@file \"" + file("missing/take") + "\"\n@press Save\n");
  lwsim::Panel &panel = openPanel();
  EXPECT_EQ(panel.controls()[0]->label(), "対象アイテム");
  EXPECT_EQ(panel.controls()[11]->label(), "Schema位置");
  EXPECT_EQ(panel.controls()[15]->label(), "Save");
  EXPECT_THAT(panel.controls()[0]->items(),
              ElementsAre("なし", "選択アイテム", "選択アイテムと子孫", "全部のアイテム"));
  const std::string path = file("missing/take.xml");
  EXPECT_THAT(out, Contains("error: 操作を失敗しました ! | ファイルの書き込みに失敗しました !(" + path + ")"));
}

TEST_F(ClipSave, ASmallSceneIsWrittenByteForByte) {
  save("ball.xml",
       "@fps 24\n@preview 1 2 1\nAddNull Ball\n@key Ball Position.X 0.0625 0.5 3\n"
       "@key Ball Position.Y 0.125 -2 5 0.25 -0.5 1 2\n"
       "@run QD:ZaduDuzAVSave\n@press Rotation\n@press Scale\n@close\n");
  const std::string zeroVector = "x=\"0.0000000000\" y=\"0.0000000000\" z=\"0.0000000000\"/>\n";
  // Frames 1 to 2 at 24 fps: keys from 0.75/24 s up to 3.25/24 s; the new
  // item's keys at 0 lie outside.
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n<docroot>\n\t<info>\n\t\t<author></author>\n"
      "\t\t<tool>qd_zaza02</tool>\n\t\t<comments></comments>\n\t\t<scene></scene>\n\t\t<created></created>\n"
      "\t\t<modified></modified>\n\t\t<unit name=\"centimeter\" meter=\"0.01\" />\n"
      "\t\t<axis up=\"Y\" order=\"left_hand\" />\n\t</info>\n\t<category type=\"LW_animClip\" format=\"1.0\" >\n"
      "\t\t<clip item=\"Ball\" type=\"param-fcurve\" fullpath=\"/Ball\" range_start=\"0.0416666667\" "
      "range_end=\"0.1250000000\" fps=\"24.0000000000\" >\n"
      "\t\t\t<basepose>\n\t\t\t\t<pivot_pos " +
      zeroVector + "\t\t\t\t<pivot_rot " + zeroVector + "\t\t\t\t<rest_pos " + zeroVector + "\t\t\t\t<rest_rot " +
      zeroVector +
      "\t\t\t</basepose>\n\t\t\t<targets>\n\t\t\t\t<param channel=\"Position.X\" />\n"
      "\t\t\t\t<param channel=\"Position.Y\" />\n\t\t\t\t<param channel=\"Position.Z\" />\n\t\t\t</targets>\n"
      "\t\t\t<sources>\n\t\t\t\t<fcurve>\n"
      "\t\t\t\t\t<key time=\"0.0625000000\" value=\"0.5000000000\" shape=\"3\" tension=\"0.0000000000\" "
      "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"0.0000000000\" param1=\"0.0000000000\" "
      "param2=\"0.0000000000\" param3=\"0.0000000000\" />\n"
      "\t\t\t\t</fcurve>\n\t\t\t\t<fcurve>\n"
      "\t\t\t\t\t<key time=\"0.1250000000\" value=\"-2.0000000000\" shape=\"5\" tension=\"0.0000000000\" "
      "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"0.2500000000\" param1=\"-0.5000000000\" "
      "param2=\"1.0000000000\" param3=\"2.0000000000\" />\n"
      "\t\t\t\t</fcurve>\n\t\t\t\t<fcurve>\n\t\t\t\t</fcurve>\n\t\t\t</sources>\n\t\t</clip>\n"
      "\t</category>\n</docroot>\n<!--EOF-->";
  EXPECT_EQ(lwtest::readBytes(dir_ / "ball.xml"), expected);
}

TEST_F(ClipSave, KeysWithinAQuarterFrameOfTheRangeAreSavedWithTheirTimes) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  std::string scene = "@fps 30\n@preview 10 10 1\nAddNull Ball\n";
  for (const double frame : {9.74, 9.75, 10.0, 11.0, 11.24, 11.25, 12.0})
    scene += "@key Ball Position.X " + exactText(frame / 30.0) + " " + exactText(frame) + "\n";
  const std::vector<std::string> out = save("window.xml", scene);
  const std::vector<SavedClip> clips = readClips(dir_ / "window.xml");
  ASSERT_EQ(clips.size(), 1u);
  // Times are written with ten decimals.
  EXPECT_THAT(clips[0].keyTimes("Position.X"),
              ElementsAre(DoubleNear(9.75 / 30.0, 1e-10), DoubleNear(10.0 / 30.0, 1e-10),
                          DoubleNear(11.0 / 30.0, 1e-10), DoubleNear(11.24 / 30.0, 1e-10)));
  EXPECT_NEAR(clips[0].rangeStart, 10.0 / 30.0, 1e-10);
  EXPECT_NEAR(clips[0].rangeEnd, 11.0 / 30.0, 1e-10);
  EXPECT_EQ(clips[0].fps, 30.0);
  EXPECT_THAT(clips[0].channelNames(), ElementsAreArray(kMotion));
  EXPECT_THAT(clips[0].keyTimes("Position.Y"), IsEmpty());
  EXPECT_THAT(out, ElementsAre("status: QD:ZaduDuzAV start...", "status: {0.00}Now saving animation data...",
                               "status: {1.00}Now saving animation data...", "status: QD:ZaduDuzAV done."));
}

TEST_F(ClipSave, CamerasCarryZoomAndFrameSizeWithMiscOnly) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  const std::string scene =
      "AddCamera Cam\n@camera Cam 3.2 640 480\nAddCamera Tele\n@camera Tele 2 320 240\n"
      "@key Tele ZoomFactor 0.5 6\nSelectByName Cam\n@run QD:ZaduDuzAVSave\n@set #1 3\n";
  save("cameras.xml", scene);
  std::vector<SavedClip> clips = readClips(dir_ / "cameras.xml");
  ASSERT_EQ(clips.size(), 2u);
  const std::vector<std::string> cameraMotion(kMotion.begin(), kMotion.begin() + 6);
  std::vector<std::string> cam = {"LWParam.camera.zoomFactor", "LWParam.camera.frameSizeX",
                                  "LWParam.camera.frameSizeY"};
  cam.insert(cam.end(), cameraMotion.begin(), cameraMotion.end());
  EXPECT_THAT(clips[0].channelNames(), ElementsAreArray(cam));
  EXPECT_EQ(clips[0].channel("LWParam.camera.zoomFactor").keys[0].value, 3.2);
  EXPECT_EQ(clips[0].channel("LWParam.camera.frameSizeX").keys[0].value, 640.0);
  EXPECT_EQ(clips[0].channel("LWParam.camera.frameSizeY").keys[0].value, 480.0);
  EXPECT_EQ(clips[0].channel("LWParam.camera.frameSizeY").keys[0].time, 0.0);
  // A zoom envelope is saved as a channel of its own, not as a parameter.
  std::vector<std::string> tele = {"LWParam.camera.frameSizeX", "LWParam.camera.frameSizeY"};
  tele.insert(tele.end(), cameraMotion.begin(), cameraMotion.end());
  tele.push_back("ZoomFactor");
  EXPECT_THAT(clips[1].channelNames(), ElementsAreArray(tele));
  EXPECT_EQ(clips[1].channel("ZoomFactor").keys.at(0).value, 6.0);

  run("@press Misc\n@file \"" + file("no_misc.xml") + "\"\n@press Save\n");
  clips = readClips(dir_ / "no_misc.xml");
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_THAT(clips[0].channelNames(), ElementsAreArray(cameraMotion));
  EXPECT_THAT(clips[1].channelNames(), ElementsAreArray(cameraMotion));
  // The camera selected to read its frame size is unselected again.
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: Cam"));
}

TEST_F(ClipSave, KindsGroupsBasePoseAndSchematicPosition) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  const std::string scene =
      "LoadObject /models/Body.lwo\nAddBone Upper\n@rest Upper 1 2 3 0.1 0.2 0.3\n@pivot Body 0.5 0 -1 0.25 0 0\n"
      "@morph Body Face.Smile\n@schematic Body 12.5 -3\nAddDistantLight Sun\nAddNull Helper\n"
      "@run QD:ZaduDuzAVSave\n@set #1 3\n@press Mesh\n@press Light\n@press Null\n@press Scale\n"
      "@press \"Shcema Position\"\n";
  save("kinds.xml", scene);
  std::vector<SavedClip> clips = readClips(dir_ / "kinds.xml");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].item, "Upper");
  EXPECT_EQ(clips[0].fullPath, "/Body/Upper");
  // Scripts give angles in degrees; the host reports radians.
  const double degree = 3.14159265358979323846 / 180.0;
  EXPECT_THAT(clips[0].basePose, ElementsAre(0, 0, 0, 0, 0, 0, 1, 2, 3, DoubleNear(0.1 * degree, 1e-10),
                                             DoubleNear(0.2 * degree, 1e-10), DoubleNear(0.3 * degree, 1e-10)));
  std::vector<std::string> channels = {"LWParam.item.schemaPosX", "LWParam.item.schemaPosY"};
  channels.insert(channels.end(), kMotion.begin(), kMotion.begin() + 6);
  EXPECT_THAT(clips[0].channelNames(), ElementsAreArray(channels));

  run("@press Mesh\n@press Bone\n@press Morph\n@file \"" + file("mesh.xml") + "\"\n@press Save\n");
  clips = readClips(dir_ / "mesh.xml");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].item, "Body");
  EXPECT_THAT(clips[0].basePose, ElementsAre(0.5, 0, -1, DoubleNear(0.25 * degree, 1e-10), 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(clips[0].channel("LWParam.item.schemaPosX").keys.at(0).value, 12.5);
  EXPECT_EQ(clips[0].channel("LWParam.item.schemaPosY").keys.at(0).value, -3.0);
  EXPECT_THAT(clips[0].channelNames(), Not(Contains("Face.Smile")));

  run("@press Morph\n@file \"" + file("morph.xml") + "\"\n@press Save\n");
  EXPECT_THAT(readClips(dir_ / "morph.xml").at(0).channelNames(), Contains("Face.Smile"));
}

TEST_F(ClipSave, TheSceneEntryAloneForAnEmptySelectionWithTheRenderRange) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  const std::vector<std::string> out =
      save("scene.xml", "@render 5 80 2\n@preview 3 4 1\n@run QD:ZaduDuzAVSave\n@press \"Render Range\"\n");
  const std::vector<SavedClip> clips = readClips(dir_ / "scene.xml");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].item, "LWScene");
  EXPECT_EQ(clips[0].fullPath, "/LWScene");
  EXPECT_NEAR(clips[0].rangeStart, 3.0 / 30.0, 1e-10);
  EXPECT_THAT(clips[0].basePose, ElementsAreArray(std::vector<double>(12, 0.0)));
  EXPECT_THAT(clips[0].channelNames(),
              ElementsAre("LWParam.scene.frameStart", "LWParam.scene.frameEnd", "LWParam.scene.frameStep"));
  EXPECT_EQ(clips[0].channel("LWParam.scene.frameEnd").keys.at(0).value, 80.0);
  EXPECT_EQ(clips[0].channel("LWParam.scene.frameStep").keys.at(0).value, 2.0);
  EXPECT_THAT(out, Contains("status: QD:ZaduDuzAV done."));

  run("@press \"Preview Range\"\n@file \"" + file("both.xml") + "\"\n@press Save\n");
  const std::vector<SavedClip> both = readClips(dir_ / "both.xml");
  ASSERT_EQ(both.size(), 1u);
  EXPECT_THAT(both[0].channelNames(), ElementsAre("LWParam.scene.frameStart", "LWParam.scene.frameEnd",
                                                  "LWParam.scene.frameStep", "LWParam.scene.previewFrameStart",
                                                  "LWParam.scene.previewFrameEnd", "LWParam.scene.previewFrameStep"));
  EXPECT_EQ(both[0].channel("LWParam.scene.previewFrameStart").keys.at(0).value, 3.0);
}

TEST_F(ClipSave, NothingToSaveIsToldInTheBoxAndOnTheStatusLine) {
  const std::vector<std::string> out = save("empty.xml", "@run QD:ZaduDuzAVSave\n@set #1 1\n");
  EXPECT_THAT(out, ElementsAre("status: QD:ZaduDuzAV start...", "status: {1.00}Now saving animation data...",
                               "error: No animetion data !", "status: No animation data !"));
  EXPECT_FALSE(fs::exists(dir_ / "empty.xml"));
}

TEST_F(ClipSave, AStartAfterTheEndIsRefusedBeforeAnythingIsCaptured) {
  const std::vector<std::string> out = save("late.xml", "AddNull Ball\n@preview 20 10 1\n");
  EXPECT_THAT(out, ElementsAre("status: QD:ZaduDuzAV start...", "error: Start frame is less than end frame !",
                               "status: Start frame is less than end frame !"));
  EXPECT_FALSE(fs::exists(dir_ / "late.xml"));
}

TEST_F(ClipSave, TheFileNameGetsTheClipEndingUnlessItHasOneInAnyCase) {
  run("AddNull Ball\n@run QD:ZaduDuzAVSave\n");
  for (const char *typed : {"take1", "take2.XML", "Take3.Xml", "take4.xml.bak"})
    run("@file \"" + file(typed) + "\"\n@press Save\n");
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, ::testing::UnorderedElementsAre("take1.xml", "take2.XML", "Take3.Xml", "take4.xml.bak.xml"));

  // Each dialog starts from the directory and name of the last save.
  const std::vector<lwsim::FileRequest> &requests = module_.host().fileRequester().requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].type, FREQ_SAVE);
  EXPECT_EQ(requests[0].title, "Save file");
  EXPECT_EQ(requests[0].fileType, "*.xml");
  EXPECT_EQ(requests[0].bufferLength, 512);
  EXPECT_EQ(requests[0].path, "");
  EXPECT_EQ(requests[0].baseName, "data.xml");
  EXPECT_EQ(requests[1].baseName, "take1.xml");
  EXPECT_EQ(requests[1].path, dir_.path().string());
  EXPECT_EQ(requests[3].baseName, "Take3.Xml");
}

TEST_F(ClipSave, CancellingTheDialogSavesNothingAndForgetsNothing) {
  run("AddNull Ball\n@run QD:ZaduDuzAVSave\n@file \"" + file("first") + "\"\n@press Save\n");
  const std::vector<std::string> out = run("@file cancel\n@press Save\n@file cancel\n@press Save\n");
  EXPECT_THAT(out, IsEmpty());
  const std::vector<lwsim::FileRequest> &requests = module_.host().fileRequester().requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2].baseName, "first.xml");
  EXPECT_EQ(requests[2].path, dir_.path().string());
}

TEST_F(ClipSave, ReopeningKeepsTheSwitchesAndSaveTakesThePreviewRangeOfTheMoment) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  run("AddNull Ball\n@key Ball Position.X 0.5 1\n@run QD:ZaduDuzAVSave\n@press Scale\n@set #1 1\n@close\n");
  // The range changed while the panel is open is the one saved.
  run("@run QD:ZaduDuzAVSave\n@preview 10 50 1\n@file \"" + file("again.xml") + "\"\n@press Save\n");
  EXPECT_EQ(openPanel().controls()[8]->intValue(), 0);
  EXPECT_EQ(openPanel().controls()[0]->intValue(), 1);
  const std::vector<SavedClip> clips = readClips(dir_ / "again.xml");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_NEAR(clips[0].rangeStart, 10.0 / 30.0, 1e-10);
  EXPECT_NEAR(clips[0].rangeEnd, 51.0 / 30.0, 1e-10);
  EXPECT_THAT(clips[0].channelNames(),
              ElementsAreArray(std::vector<std::string>(kMotion.begin(), kMotion.begin() + 6)));
  EXPECT_EQ(module_.host().panels().panelsCreated(), 1);
}

TEST_F(ClipSave, AFailedWriteIsShownInTheBoxAndOnTheStatusLineAndThePanelStaysOpen) {
  const std::string path = file("missing/take.xml");
  // Reading the camera's frame size selects it; the selection comes back.
  const std::vector<std::string> out =
      save("missing/take", "AddCamera Cam\nAddNull Ball\n@run QD:ZaduDuzAVSave\n@set #1 3\n");
  EXPECT_THAT(out,
              ElementsAre("status: QD:ZaduDuzAV start...", "status: {0.00}Now saving animation data...",
                          "status: {0.50}Now saving animation data...", "status: {1.00}Now saving animation data...",
                          "status: *** ERROR: Failed to save file !(" + path + ") ***",
                          "error: Failed to save ! | Failed to save file !(" + path + ")",
                          "status: Failed to save file !(" + path + ")"));
  EXPECT_TRUE(openPanel().isOpen());
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: Ball"));
  // Nothing selected stays so.
  EXPECT_THAT(run("ClearSelection\n@file \"" + file("take") + "\"\n@press Save\n@selection\n"), Contains("selection:"));
  EXPECT_TRUE(fs::exists(dir_ / "take.xml"));
  // A path the dialog's 512-byte buffer cuts would name another file.
  const std::string longName = file(std::string(600 - file("").size(), 'n'));
  EXPECT_THAT(run("@file \"" + longName + "\"\n@press Save\n"),
              ElementsAre("status: *** ERROR: Failed to save file !(" + longName.substr(0, 400) + "...) ***"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);  // take.xml
}

TEST_F(ClipSave, ASaveOverAnExistingClipReplacesIt) {
  std::ofstream(dir_ / "take.xml") << "an older clip";
  save("take.xml", "AddNull Ball\n");
  const std::string written = lwtest::readBytes(dir_ / "take.xml");
  EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n", 0), 0u);
  EXPECT_NE(written.find("<clip item=\"Ball\""), std::string::npos);
  EXPECT_EQ(written.find("older"), std::string::npos);
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, ElementsAre("take.xml"));
}

}  // namespace
