// The clip save and load commands end to end: their panels in the simulated
// host, the files they write and read, the keys they set and what they tell
// the user.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <tuple>

#include "clip_io/format/clip_reader.h"
#include "clip_io/format/clip_writer.h"
#include "common/globals/clip_globals.h"
#include "platform/files/directory_listing.h"
#include "platform/xml/com_startup.h"
#include "sim/panels/panel_service.h"
#include "sim/script/script_words.h"
#include "support/module_host.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

namespace fs = std::filesystem;
using lwtest::exactText;
using lwtest::fixed10;
using ::testing::_;
using ::testing::AllOf;
using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

struct Channel {
  std::string name;
  std::vector<std::pair<double, double>> keys;  // seconds, value
};

// A clip element with the attributes given, an optional base pose and a
// channel per entry; keys leave what they omit to the reader's zero.
std::string clip(const std::string &attributes, const std::vector<Channel> &channels, const std::string &pose = "") {
  std::string text = "<clip " + attributes + ">" + pose + "<targets>";
  for (const Channel &channel : channels) text += "<param channel=\"" + channel.name + "\"/>";
  text += "</targets><sources>";
  for (const Channel &channel : channels) {
    text += "<fcurve>";
    for (const auto &[time, value] : channel.keys)
      text += "<key time=\"" + exactText(time) + "\" value=\"" + exactText(value) + "\" shape=\"0\"/>";
    text += "</fcurve>";
  }
  return text + "</sources></clip>\n";
}
std::string named(const std::string &item) { return "item=\"" + item + "\" fullpath=\"/" + item + "\""; }
std::string one(const std::string &item, const std::string &channel, std::vector<std::pair<double, double>> keys) {
  return clip(named(item), {{channel, std::move(keys)}});
}
// pivot_pos, pivot_rot, rest_pos, rest_rot
std::string pose(const std::vector<double> &values) {
  std::string text = "<basepose>";
  for (std::size_t i = 0; i < 4; ++i)
    text += std::string("<") + (i < 2 ? "pivot" : "rest") + (i % 2 == 0 ? "_pos" : "_rot") + " x=\"" +
            exactText(values[3 * i]) + "\" y=\"" + exactText(values[3 * i + 1]) + "\" z=\"" +
            exactText(values[3 * i + 2]) + "\"/>";
  return text + "</basepose>";
}
// Hand-written files are ASCII and declare UTF-8, so that they load with
// every platform's parser (Wine's MSXML refuses Shift_JIS); the writer's own
// Shift_JIS files are loaded by the save-to-load tests.
std::string clipFile(const std::string &clips) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<docroot>\n<category type=\"LW_animClip\" format=\"1.0\">\n" +
         clips + "</category>\n</docroot>\n";
}

const std::string kSeparator(1, lwp::platform::kPathSeparator);  // joins a directory listing's names
constexpr double kDegree = 3.14159265358979323846 / 180.0;

std::string at(double frame, double value, double fps = 30.0) { return fixed10(frame / fps) + " " + fixed10(value); }

class ClipPanels : public ::testing::Test {
 protected:
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(module_->host(), script); }
  std::string file(const std::string &name) const { return (dir_ / name).string(); }
  std::string write(const std::string &name, const std::string &clips) { return writeText(name, clipFile(clips)); }
  std::string writeText(const std::string &name, const std::string &text) {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return file(name);
  }
  std::vector<std::string> open(const std::string &path, const std::string &before = "",
                                const std::string &button = "File Open...") {
    return run(before + "@run QD:ZaduDuzAVLoad\n@file \"" + path + "\"\n@press \"" + button + "\"\n");
  }
  std::vector<std::string> save(const std::string &name, const std::string &before = "") {
    return run(before + "@run QD:ZaduDuzAVSave\n@file \"" + file(name) + "\"\n@press Save\n");
  }
  // The keys of a channel as "time value" in seconds.
  std::vector<std::string> keys(const std::string &item, const std::string &channel) {
    std::vector<std::string> pairs;
    const std::string prefix = "key " + lwsim::quoteWord(item) + " " + channel + " ";
    for (const std::string &line : run("@dump " + lwsim::quoteWord(item) + " " + channel + "\n")) {
      if (line.rfind(prefix, 0) != 0) continue;
      const std::size_t time = prefix.size(), value = line.find(' ', time) + 1;
      pairs.push_back(line.substr(time, line.find(' ', value) - time));
    }
    return pairs;
  }
  lwsim::Panel &panel() {
    lwsim::Panel *open = module_->host().panels().openPanel();
    if (open == nullptr) throw std::runtime_error("no open panel");
    return *open;
  }
  lwsim::Control &control(int number) { return *panel().controls().at(number - 1); }
  // One letter per control: Shown, Ghosted or Erased.
  std::string states() {
    std::string letters;
    for (const auto &each : panel().controls()) letters += "SGE"[static_cast<int>(each->drawState())];
    return letters;
  }
  // The values of the numbered controls as the host shows them.
  std::string values(std::initializer_list<int> numbers) {
    std::string text;
    for (const int number : numbers) text += control(number).valueText() + " ";
    return text;
  }
  const std::vector<lwsim::FileRequest> &requests() { return module_->host().fileRequester().requests(); }
  // A file dialog: its type, title, file type and buffer length, then the
  // path it started from.
  std::string request(std::size_t index) {
    const lwsim::FileRequest &each = requests().at(index);
    return std::to_string(each.type) + " " + each.title + " " + each.fileType + " " +
           std::to_string(each.bufferLength) + " " + each.path + kSeparator + each.baseName;
  }
  // Each saved clip as item, path, base pose, then channels with their first values.
  std::vector<std::string> summary(const std::string &name) {
    std::vector<std::string> lines;
    char number[32];
    lwp::platform::startComOnce();
    int code = 0;
    for (const lwp::akio::AnimClipItem &item : lwp::akio::readClipFile(file(name), code)) {
      lines.push_back(item.itemName + " " + item.fullPath + " [");
      for (const lwp::akio::Vector3 &vector : {item.pivotPos, item.pivotRot, item.restPos, item.restRot})
        for (const double value : vector) std::snprintf(number, sizeof number, "%.10g ", value), lines.back() += number;
      lines.back() += "]";
      for (const lwp::akio::AnimClipChannel &channel : item.channels) {
        lines.back() += " " + channel.name;
        if (!channel.keys.empty()) std::snprintf(number, sizeof number, "=%g", channel.keys.front().value);
        if (!channel.keys.empty()) lines.back() += number;
      }
    }
    return lines;
  }

  // A fresh host loads the module anew.
  void restart() {
    module_.reset();
    module_.emplace();
  }

  std::optional<lwtest::ModuleHost> module_{std::in_place};
  lwtest::ScratchDirectory dir_;
};

// ---- the panels ----

TEST_F(ClipPanels, ThePanelsInEnglishAndJapaneseAndTheFieldsTheLoadPanelGhostsAndErases) {
  // One control's place stands for the layout; what each switch saves is
  // checked by the saves below.
  run("@run QD:ZaduDuzAVSave\n");
  EXPECT_EQ(std::make_tuple(panel().title(), panel().width(), panel().height(), panel().openFlags(), control(7).y()),
            std::make_tuple("QD:ZaduDuzAVSave(1.50) build 250619", 340, 170, 64, 70));
  run("@close\n@run QD:ZaduDuzAVLoad\n");
  EXPECT_EQ(std::make_tuple(panel().title(), panel().width(), panel().height(), panel().openFlags()),
            std::make_tuple("QD:ZaduDuzAVLoad(1.50) build 250619", 390, 350, 64));
  // The load panel ghosts and erases fields by their switches and modes:
  // Load Range shows #25 to #27, Delete Range #30 and #31, the regular
  // expression its two fields (#38, #39) alone of #34 to #39.
  EXPECT_EQ(states(), "GSSSGGGGGSSSSSSSSSSSSSSSGGSGSGGSSEEEEEESS");
  run("@press \"Load Range\"\n@set #29 1\n@set #33 4\n");
  EXPECT_EQ(states().substr(24, 15), "SSSGSSSSSEEEESS");
  restart();
  run("@locale ja\n@run QD:ZaduDuzAVLoad\n");
  EXPECT_EQ(control(33).label() + " " + std::to_string(control(33).x()),
            "アイテム名変換 " + std::to_string(110 - lwsim::PanelService::labelWidth("アイテム名変換")));
  EXPECT_THAT(run("@press Load\n"), Contains("error: 失敗しました ! | アニメーションデータがありません !"));
  EXPECT_THAT(
      save("missing/take", "@close\nAddNull Ball\n"),
      Contains("error: 操作を失敗しました ! | ファイルの書き込みに失敗しました !(" + file("missing/take.xml") + ")"));
}

// ---- reading files ----

TEST_F(ClipPanels, AFileShowsItsPathAndRangeAPoseItsSwitchesClosingForgetsItAndARefusedOneIsTold) {
  const std::string path = write("ball.xml", clip(named("Ball") + " range_start=\"" + exactText(10.0 / 24) +
                                                      "\" range_end=\"" + exactText(51.0 / 24) + "\" fps=\"24\"",
                                                  {{"Position.X", {{10.0 / 24, 1.0}}}}));
  EXPECT_THAT(open(path, "@fps 24\nAddNull Ball\n"), ElementsAre("status: Now loading animation file..."));
  // The load range (#24 to #26) takes the file's whether or not it is on;
  // without a base pose the adjust switches stay ghosted.
  EXPECT_EQ(values({1, 5, 6, 7, 24, 25, 26}), lwsim::quoteWord(path) + " 10 50 24 0 10 50 ");
  EXPECT_EQ(states().substr(0, 9), "GSSSGGGGG");

  // A cancelled dialog changes nothing.
  EXPECT_THAT(run("@file cancel\n@press \"File Open...\"\n@file cancel\n@press \"Dir Open...\"\n"), IsEmpty());
  EXPECT_EQ(control(1).textValue(), path);
  ASSERT_EQ(requests().size(), 3u);
  const std::string load = std::to_string(FREQ_LOAD) + " Load file *.xml 512 ";
  EXPECT_EQ(request(0) + "|" + request(1), load + kSeparator + "data.xml|" + load + path);
  EXPECT_EQ(request(2), std::to_string(FREQ_DIRECTORY) + " Load dir  512 " + path);

  // A base pose enables the adjust switches, which start off at every opening.
  open(write("pose.xml", clip(named("Ball"), {{"Position.X", {{0.0, 1.0}}}}, pose(std::vector<double>(12, 0.0)))));
  EXPECT_EQ(states().substr(7, 2), "SS");
  run("@press \"Adjust Base Pose\"\n@press \"Adjust Scale\"\n@press \"Check Full Path\"\n@run QD:ZaduDuzAVLoad\n");
  EXPECT_EQ(values({8, 9, 32}), "0 0 0 ");  // other settings stay

  // Closing forgets the clip.
  run("@close\n@run QD:ZaduDuzAVLoad\n");
  EXPECT_EQ(values({1, 5, 6}), lwsim::quoteWord("") + " 0 0 ");
  EXPECT_THAT(run("@press Load\n"), Contains("error: Failed to load ! | No animetion data !"));

  // A file the reader refuses is told, after the reader's own box where it
  // has one, and leaves no clip: here a base pose lacks one of its elements.
  const std::string partial =
      write("partial.xml", clip(named("Ant"), {}, "<basepose><pivot_pos/><pivot_rot/><rest_pos/></basepose>"));
  EXPECT_THAT(open(partial), ElementsAre("status: Now loading animation file...",
                                         "message: Debug Window: A basepose element lacks its rest_rot element.",
                                         "status: *** ERROR: Failed to load file !(" + partial + ") ***",
                                         "error: Failed to load ! | Failed to load file !(" + partial + ")",
                                         "status: Failed to load file !(" + partial + ")"));
  EXPECT_THAT(run("@press Load\n"), Contains("error: Failed to load ! | No animetion data !"));
}

TEST_F(ClipPanels, ADirectoryLoadsEveryClipFileAndNamesTheFailingOnesInOneBox) {
  write("takes/A.XML", one("Ant", "Position.X", {{0.5, 1.0}}));
  write("takes/b.xml", clip(named("Bee"), {{"Position.X", {{1.0, 2.0}}}}, pose({0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
  write("takes/c.xml.bak", one("Cat", "Position.X", {{1.0, 3.0}}));
  const std::string dir = file("takes");
  std::vector<std::string> out = open(dir, "AddNull Ant\nAddNull Bee\nAddNull Cat\n@pivot Bee 0 20 0\n", "Dir Open...");
  std::sort(out.begin(), out.end());
  EXPECT_THAT(out, ElementsAre("status: Now loading animation files...",
                               "status: Now loading animation files... (" + dir + kSeparator + "A.XML)",
                               "status: Now loading animation files... (" + dir + kSeparator + "b.xml)"));
  EXPECT_EQ(control(1).textValue(), dir);
  ASSERT_EQ(requests().size(), 1u);
  EXPECT_EQ(request(0), std::to_string(FREQ_DIRECTORY) + " Load dir  512 " + kSeparator + "data.xml");
  // Only some files carry a base pose: nothing is adjusted, even with a
  // switch left on from a posed file.
  open(write("b.xml", clip(named("Bee"), {}, pose(std::vector<double>(12, 0.0)))));
  run("@press \"Adjust Scale\"\n@file \"" + dir + "\"\n@press \"Dir Open...\"\n");
  EXPECT_EQ(states()[8], 'G');
  EXPECT_EQ(control(9).intValue(), 1);
  run("@set #10 3\n@press Load\n");
  EXPECT_THAT(keys("Ant", "Position.X"), ElementsAre(at(15, 1.0)));
  EXPECT_THAT(keys("Bee", "Position.X"), ElementsAre(at(30, 2.0)));
  EXPECT_THAT(keys("Cat", "Position.X"), ElementsAre(at(0, 0.0)));

  // Failing files are passed over and named in one box after the last.
  writeText("takes/bad.xml", "not a clip");
  writeText("takes/worse.xml", "<docroot/>");
  out = open(dir, "", "Dir Open...");
  const std::string bad = dir + kSeparator + "bad.xml", worse = dir + kSeparator + "worse.xml";
  EXPECT_THAT(out, Contains("status: *** ERROR: Failed to load file !(" + bad + ") ***"));
  const auto box = std::find_if(out.begin(), out.end(), [](const std::string &line) { return line[0] == 'e'; });
  ASSERT_EQ(out.end() - box, 2);
  EXPECT_THAT(*box, AllOf(StartsWith("error: Some files were not loaded ! | Failed to load file !("), HasSubstr(bad),
                          HasSubstr(worse)));
  EXPECT_EQ(out.back(), "status: " + box->substr(box->find(" | ") + 3));

  // A directory without clips fails with the Japanese first line whatever the language.
  write("empty/c.xml.bak", one("Cat", "Position.X", {{1.0, 3.0}}));
  EXPECT_THAT(open(file("empty"), "", "Dir Open..."),
              ElementsAre("status: Now loading animation files...", "status: *** ERROR: No animetion data ! ***",
                          "error: 失敗しました ! | No animetion data !", "status: No animetion data !"));
}

// ---- what is written where ----

TEST_F(ClipPanels, RangesInsertPositionAndDestinationModesChooseTheKeys) {
  std::vector<std::pair<double, double>> clipKeys;
  for (const double frame : {9.7, 9.8, 15.0, 21.1, 21.2}) clipKeys.push_back({frame / 30.0, frame});
  const std::string path = write("range.xml", clip(named("Ball") + " range_start=\"" + exactText(10.0 / 30) +
                                                       "\" range_end=\"" + exactText(31.0 / 30) + "\"",
                                                   {{"Position.X", clipKeys}}));
  open(path, "AddNull Ball\n");
  // The load range takes keys within a fifth of a frame.
  run("@press \"Load Range\"\n@set #25 10\n@set #26 20\n@press Load\n");
  const auto taken = ElementsAre(at(9.8, 9.8), at(15, 15), at(21.1, 21.1));
  EXPECT_THAT(keys("Ball", "Position.X"), taken);
  // A start after the end is refused as the save refuses it; nothing changes.
  EXPECT_THAT(
      run("@set #25 21\n@press Load\n"),
      ElementsAre("status: QD:ZaduDuzAV start...", "status: *** ERROR: Start frame is less than end frame ! ***",
                  "error: Failed to load ! | Start frame is less than end frame !",
                  "status: Start frame is less than end frame !"));
  EXPECT_THAT(keys("Ball", "Position.X"), taken);
  // The insert position moves the first frame taken: the file's, or the load range's.
  run("@press \"Load Range\"\n@press \"Insert Position\"\n@set #28 100\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.X"),
              ElementsAre(at(99.7, 9.7), at(99.8, 9.8), at(105, 15), at(111.1, 21.1), at(111.2, 21.2)));
  run("@press \"Load Range\"\n@set #25 15\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.X"), ElementsAre(at(100, 15), at(106.1, 21.1)));

  // Destination keys are kept, deleted in the range or all deleted.
  open(write("one.xml", one("Ball", "Position.Y", {{2.0, 7.0}})));
  std::string scene;
  for (const double frame : {-0.3, -0.2, 50.0, 121.1, 121.2})
    scene += "@key Ball Position.Y " + exactText(frame / 30.0) + " " + exactText(frame) + "\n";
  run(scene + "@press \"Insert Position\"\n@set #29 0\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.Y"), ElementsAre(at(-0.3, -0.3), at(-0.2, -0.2), at(0, 0), at(50, 50), at(60, 7),
                                                      at(121.1, 121.1), at(121.2, 121.2)));
  run("@set #29 1\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.Y"), ElementsAre(at(-0.3, -0.3), at(60, 7), at(121.2, 121.2)));
  run("@set #30 100\n@set #31 125\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.Y"), ElementsAre(at(-0.3, -0.3), at(60, 7)));
}

TEST_F(ClipPanels, OpenRangesAndKeysWithoutAFiniteTimeOrValueAreHeldBack) {
  const double inf = std::numeric_limits<double>::infinity();
  // -1 becomes -1e999, which reads as minus infinity; 1e300 s lies beyond
  // every frame the load range can name.
  std::string text =
      clip("item=\"Ball\" fullpath=\"/Ball\"",
           {{"Position.X", {{-inf, 1.0}, {-1.0, 2.0}, {0.5, 5.0}, {2.0, inf}, {3.0, std::nan("")}, {1e300, 9.0}}},
            {"Position.Y", {{1.0, -inf}}}});
  text.replace(text.find("time=\"-1\""), 9, "time=\"-1e999\"");
  open(write("open.xml", text), "AddNull Ball\n");
  EXPECT_EQ(std::make_tuple(control(5).intValue(), control(6).intValue(), control(25).intValue()),
            std::make_tuple(-2147483647 - 1, 2147483647, -2147483647 - 1));
  EXPECT_THAT(run("@press Load\n"), Contains("status: Skipped keys without a finite time or value !(5)"));
  EXPECT_THAT(keys("Ball", "Position.X"), ElementsAre(at(15, 5.0)));
  EXPECT_THAT(keys("Ball", "Position.Y"), ElementsAre(at(0, 0.0)));  // no key left to write: kept
  // Inserting from the open start moves the key far beyond, without wrapping round.
  run("@press \"Insert Position\"\n@set #28 0\n@press Load\n");
  EXPECT_THAT(keys("Ball", "Position.X"), ElementsAre(fixed10(0.5 + 2147483648.0 / 30.0) + " " + fixed10(5.0)));
  // Keys the host refuses to create are told at the end, not passed over.
  LWEnvelopeFuncs refusing =
      *static_cast<LWEnvelopeFuncs *>(lwsim::GlobalRegistry::function()(LWENVELOPEFUNCS_GLOBAL, GFUSE_TRANSIENT));
  refusing.createKey = [](LWEnvelopeID, LWTime, double) -> LWEnvKeyframeID { return nullptr; };
  module_->host().globals().provideRecord(LWENVELOPEFUNCS_GLOBAL, &refusing);
  open(file("open.xml"), "@close\n");
  EXPECT_THAT(run("@press Load\n"), Contains("status: Keys the host refused to create !(1)"));
}

TEST_F(ClipPanels, ScaleAndBasePoseAdjustPositionAndRotationBonesWithTheirRestPose) {
  std::vector<Channel> channels;
  for (const auto &[name, value] :
       {std::pair{"Position.Y", 3.0}, {"Rotation.H", 0.2}, {"Rotation.P", 0.0}, {"Scale.Y", 1.5}})
    channels.push_back({name, {{0.0, value}}});
  const std::string arm = clip(named("Arm"), channels, pose({0, 10, 0, 0.1, 0, 0, 0, 0, 0, 0, 0, 0}));
  const std::string bone =
      clip("item=\"Upper\" fullpath=\"/Body/Upper\"", {{"Position.Y", {{0.0, 1.0}}}, {"Rotation.B", {{0.0, 0.0}}}},
           pose({0, 1, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0.25}));
  open(write("arm.xml", arm + bone),
       "AddNull Arm\n@pivot Arm 0 12 0 30 0 5\nLoadObject /m/Body.lwo\nAddBone Upper\n"
       "@rest Upper 0 6 0 0 0 20\n");
  // Adjust Scale alone is shown by the example scripts.
  run("@set #10 3\n@press \"Adjust Base Pose\"\n@press Load\n");
  for (const auto &[channel, value] : std::vector<std::pair<const char *, double>>{
           {"Position.Y", 3.0}, {"Rotation.H", 0.2 + 30 * kDegree - 0.1}, {"Rotation.P", 0.0}, {"Scale.Y", 1.5}})
    EXPECT_THAT(keys("Arm", channel), ElementsAre(at(0, value))) << channel;
  run("@press \"Adjust Scale\"\n@press Load\n");
  EXPECT_THAT(keys("Upper", "Position.Y"), ElementsAre(at(0, 1.5)));
  EXPECT_THAT(keys("Upper", "Rotation.B"), ElementsAre(at(0, 20 * kDegree - 0.25)));
}

TEST_F(ClipPanels, SwitchesChooseItemsChannelsAndParametersAndTheSelectionComesBack) {
  const std::string scene = clip(named("LWScene"), {{"LWParam.scene.frameStart", {{0.0, 5.0}}},
                                                    {"LWParam.scene.frameEnd", {{0.0, 80.4}}},
                                                    {"LWParam.scene.frameStep", {{0.0, 2.0}}},
                                                    {"LWParam.scene.previewFrameStart", {{0.0, 3.0}}},
                                                    {"Position.X", {{1.0, 9.0}}}});
  const std::string ball = clip(named("Ball"), {{"Position.X", {{1.0, 1.0}}},
                                                {"Rotation.H", {{1.0, 2.0}}},
                                                {"LWParam.item.schemaPosX", {{0.0, 12.5}}},
                                                {"LWParam.item.schemaPosY", {{0.0, -3}}}});
  const std::string cams =
      clip(named("Cam"), {{"LWParam.camera.frameSizeY", {{0.0, 480.0}}}}) +
      clip(named("Tele"), {{"LWParam.camera.zoomFactor", {{0.0, 2.5}}},
                           {"LWParam.camera.frameSizeX", {{0.0, 320.0}}},
                           {"LWParam.camera.frameSizeY", {{0.0, 240.0}}}}) +
      clip(named("Wide"), {{"LWParam.camera.frameSizeX", {{0.0, 639.5}}}, {"LWParam.camera.frameSizeY", {}}});
  open(write("all.xml", scene + ball + one("Sun", "Position.X", {{1.0, 3.0}}) + cams + one("Nobody", "Scale.X", {})),
       "AddNull LWScene\nAddNull Ball\nAddDistantLight Sun\nAddCamera Cam\nAddCamera Tele\nAddCamera Wide\n"
       "SelectByName Ball\n");
  // Ball alone, without rotation, without the parameters of Misc.
  EXPECT_THAT(run("@press Rotation\n@press Misc\n@press Load\n@selection\n"),
              ElementsAre(_, _, "status: {0.14}Now loading animation data...", _, _, _, _, _, _,
                          "status: QD:ZaduDuzAV done.", "selection: Ball"));
  EXPECT_THAT(keys("Ball", "Position.X"), ElementsAre(at(30, 1.0)));
  EXPECT_THAT(keys("Ball", "Rotation.H"), ElementsAre(at(0, 0.0)));
  EXPECT_THAT(keys("Sun", "Position.X"), ElementsAre(at(0, 0.0)));
  // Without the range switches, Misc and the schematic switch, none of their commands.
  EXPECT_THAT(module_->commandLines(), Not(Contains(AnyOf(HasSubstr("Frame"), HasSubstr("SchematicPosition")))));
  // All items but lights; Misc applies the ranges asked for and a camera's
  // frame size only with both sides, rounded half up; a channel without keys
  // sends 0, which the host refuses: an error line, and the work goes on.
  // The scene entry is never an item.
  run("@set #10 3\n@press Light\n@press Misc\n@press \"Render Range\"\n@press Load\n");
  EXPECT_THAT(keys("Sun", "Position.X"), ElementsAre(at(0, 0.0)));
  EXPECT_THAT(keys("LWScene", "Position.X"), ElementsAre(at(0, 0.0)));
  std::vector<std::string> commands = module_->commandLines();
  EXPECT_THAT(commands, ::testing::IsSupersetOf({"FirstFrame 5", "LastFrame 80", "FrameStep 2", "FrameSize 320 240",
                                                 "ZoomFactor 2.5000000000"}));
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](auto &line) { return line.rfind("FrameSize", 0) == 0; }),
            2);
  EXPECT_THAT(commands, Contains("StatusMsg *** ERROR: eval( \"FrameSize 640 0\" ) !(0) ***"));
  EXPECT_THAT(commands, Not(Contains(AnyOf(HasSubstr("PreviewFirstFrame"), HasSubstr("SchematicPosition")))));
  run("@press \"Preview Range\"\n@press \"Shcema Position\"\n@press Load\n");
  EXPECT_THAT(module_->commandLines(),
              ::testing::IsSupersetOf({"PreviewFirstFrame 3", "SchematicPosition 12.5000000000 -3.0000000000"}));
  // The camera selected for its commands is taken out of the selection again.
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: Ball"));
  // Matching no item at all is told before the end.
  EXPECT_THAT(run("@set #10 0\n@press Load\n"), Contains("status: No item matched the clip !"));
}

// ---- name matching ----

struct NameCase {
  std::string scene, clips, options;
  std::string after;  // run after the load, to tell items of one name apart
  std::vector<std::string> keyed, unkeyed;
};

std::string hip(const std::string &fullPath) {
  return clip("item=\"Hip\" fullpath=\"" + fullPath + "\"", {{"Position.X", {{1.0, 5.0}}}});
}

TEST_F(ClipPanels, ItemsMatchByFullPathOrNameAfterTheNameConversion) {
  // Rig1/Hip, then Rig2/Hip: two items of one name; after the load, the
  // first is renamed so that both can be looked at.
  const std::string twoHips =
      "AddNull Rig1\nAddNull Hip\n@parent Hip Rig1\nAddNull Rig2\nAddNull Second\n@parent Second Rig2\nRename Hip\n";
  const std::string nameFirstHip = "@close\nSelectByName Hip\nRename FirstHip\n";
  const std::string all = "@set #10 3\n@set #32 1\n", byName = "@set #10 3\n@set #32 0\n";
  const std::string rigHip = "AddNull Rig\nAddNull Hip\n@parent Hip Rig\nAddNull Hip\n";
  const std::string armL = clip("item=\"arm_L\" fullpath=\"/Body_L/arm_L\"", {{"Position.X", {{1.0, 5.0}}}});
  const std::string armScene = "AddNull Body_R\nAddNull arm_R\n@parent arm_R Body_R\nAddNull Spine\n";
  const std::string antBee = one("Ant", "Position.X", {{1.0, 5.0}}) + one("Bee", "Position.X", {{1.0, 5.0}});
  const NameCase cases[] = {
      // By name the first target of that name wins; by full path the item of that chain.
      {twoHips, hip("/Rig2/Hip"), byName + "@set #33 0\n", nameFirstHip, {"FirstHip"}, {"Hip"}},
      {twoHips, hip("/Rig2/Hip"), all + "@set #33 0\n", nameFirstHip, {"Hip"}, {"FirstHip"}},
      // A stored path without the leading separator loses its first component.
      {rigHip, hip("Rig/Hip"), all + "@set #33 0\n", nameFirstHip, {"Hip"}, {"FirstHip"}},
      // Replace converts every occurrence; an edited text counts at once.
      {"AddNull a_R_b_R_c\nAddNull a_Q_b_Q_c\n",
       one("a_L_b_L_c", "Position.X", {{1.0, 5.0}}),
       byName + "@set #33 3\n@set #37 _Q_\n",
       "",
       {"a_Q_b_Q_c"},
       {"a_R_b_R_c"}},
      // The default pattern, on full paths component by component.
      {armScene, armL + one("Spine", "Position.X", {{1.0, 5.0}}), all + "@set #33 4\n", "", {"arm_R", "Spine"}, {}},
      // Only the target items are matched.
      {"AddNull Ant\nAddNull Bee\nSelectByName Bee\n", antBee, "@set #10 2\n@set #33 0\n", "", {"Bee"}, {"Ant"}},
  };
  for (const NameCase &each : cases) {
    SCOPED_TRACE(each.options + each.clips);
    restart();
    open(write("names.xml", each.clips), each.scene);
    run(each.options + "@press Load\n" + each.after);
    for (const std::string &item : each.keyed) EXPECT_THAT(keys(item, "Position.X"), ElementsAre(at(30, 5.0))) << item;
    for (const std::string &item : each.unkeyed) EXPECT_THAT(keys(item, "Position.X"), ElementsAre(at(0, 0))) << item;
  }
}

TEST_F(ClipPanels, APatternThatDoesNotCompileIsToldAndNothingIsApplied) {
  open(write("arm.xml", one("arm_L", "Position.X", {{1.0, 1.0}})), "AddNull arm_L\nAddNull arm_R\n");
  const std::vector<std::string> out =
      run("@set #10 3\n@press \"Check Full Path\"\n@set #33 4\n@set #38 \"(.*_L\"\n@press Load\n@selection\n");
  EXPECT_THAT(out, ElementsAre("status: QD:ZaduDuzAV start...",
                               StartsWith("status: *** ERROR: Invalid regular expression !((.*_L) "),
                               StartsWith("error: Failed to load ! | Invalid regular expression !((.*_L) "),
                               StartsWith("status: Invalid regular expression !((.*_L) "), "selection: arm_R"));
  EXPECT_THAT(keys("arm_R", "Position.X"), ElementsAre(at(0, 0)));
  EXPECT_TRUE(panel().isOpen());
  run("@set #38 \"(.*)_L\"\n@press Load\n");  // mended, the same panel applies the clip
  EXPECT_THAT(keys("arm_R", "Position.X"), ElementsAre(at(30, 1.0)));
}
// ---- saving ----

TEST_F(ClipPanels, ASaveWritesTheKeysWithinAQuarterFrameOfThePreviewRangeAsTheWriterDoes) {
  std::string scene =
      "@fps 24\n@preview 10 10 1\nAddNull Ball\n@key Ball Position.Y 0.4375 -2 5 0.25 -0.5 1 2\n"
      "@key Ball Position.Z 0.45 0.5 0 0.5 -0.25 0.125\n";
  lwp::akio::AnimClipItem ball{"Ball", "/Ball", 10.0 / 24, 11.0 / 24, 24, {}, {}, {}, {}, {}};
  for (const char *name : {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B",
                           "Scale.X", "Scale.Y", "Scale.Z"})
    ball.channels.push_back({name, {}});
  for (const double frame : {9.74, 9.75, 10.0, 11.0, 11.24, 11.25, 12.0}) {
    scene += "@key Ball Position.X " + exactText(frame / 24) + " " + exactText(frame) + "\n";
    if (frame >= 9.75 && frame < 11.25) ball.channels[0].keys.push_back({frame / 24, frame});
  }
  ball.channels[1].keys.push_back({0.4375, -2.0, 5, 0, 0, 0, 0.25, -0.5, 1, 2});
  ball.channels[2].keys.push_back({0.45, 0.5, 0, 0.5, -0.25, 0.125});
  EXPECT_THAT(save("ball.xml", scene), Contains("status: QD:ZaduDuzAV done."));
  // The writer's layout is checked byte for byte on its own.
  ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  lwp::akio::writeClipFile({ball}, file("expected.xml"));
  EXPECT_EQ(lwtest::readBytes(dir_ / "ball.xml"), lwtest::readBytes(dir_ / "expected.xml"));
}

TEST_F(ClipPanels, KindsGroupsAndRangeSwitchesChooseTheClipsAndChannelsSaved) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  // Scripts give angles in degrees; the host reports radians.
  save("kinds.xml",
       "LoadObject /models/Body.lwo\nAddBone Upper\n@rest Upper 1 2 3 0.1 0.2 0.3\n@pivot Body 0.5 0 -1 0.25 0 0\n"
       "@morph Body Face.Smile\n@schematic Body 12.5 -3\nAddDistantLight Sun\nAddNull Helper\nAddCamera Cam\n"
       "@camera Cam 3.2 640 480\nAddCamera Tele\n@camera Tele 2 320 240\n@key Tele ZoomFactor 0.5 6\n"
       "@render 5 80 2\n@preview 3 20 1\nSelectByName Cam\n@run QD:ZaduDuzAVSave\n@set #1 3\n@press Mesh\n"
       "@press Light\n@press Null\n@press Scale\n@press \"Shcema Position\"\n@press \"Render Range\"\n");
  const std::string motion = " Position.X Position.Y Position.Z Rotation.H Rotation.P Rotation.B";
  const std::string unposed = " [0 0 0 0 0 0 0 0 0 0 0 0 ] ",
                    schema = " LWParam.item.schemaPosX=0 LWParam.item.schemaPosY=0";
  const std::string sizes = "LWParam.camera.frameSizeX=";
  EXPECT_THAT(
      summary("kinds.xml"),
      ElementsAre(
          "Upper /Body/Upper [0 0 0 0 0 0 1 2 3 0.0017453293 0.0034906585 0.0052359878 ]" + schema + motion,
          "Cam /Cam" + unposed + "LWParam.camera.zoomFactor=3.2 " + sizes + "640 LWParam.camera.frameSizeY=480" +
              schema + motion,
          "Tele /Tele" + unposed + sizes + "320 LWParam.camera.frameSizeY=240" + schema + motion + " ZoomFactor=6",
          "LWScene /LWScene" + unposed +
              "LWParam.scene.frameStart=5 LWParam.scene.frameEnd=80 LWParam.scene.frameStep=2"));
  run("@press Mesh\n@press Bone\n@press Camera\n@press Morph\n@press \"Render Range\"\n@file \"" + file("mesh.xml") +
      "\"\n@press Save\n");
  const std::string body =
      "Body /Body [0.5 0 -1 0.0043633231 0 0 0 0 0 0 0 0 ] LWParam.item.schemaPosX=12.5 LWParam.item.schemaPosY=-3" +
      motion;
  EXPECT_THAT(summary("mesh.xml"), ElementsAre(body));
  run("@press Morph\n@file \"" + file("morph.xml") + "\"\n@press Save\n");
  EXPECT_THAT(summary("morph.xml"), ElementsAre(body + " Face.Smile"));
  // An empty selection saves the scene entry alone, over the preview range.
  run("ClearSelection\n@set #1 1\n@press \"Render Range\"\n@press \"Preview Range\"\n@file \"" + file("scene.xml") +
      "\"\n@press Save\n");
  EXPECT_THAT(
      summary("scene.xml"),
      ElementsAre(
          "LWScene /LWScene" + unposed +
          "LWParam.scene.frameStart=5 LWParam.scene.frameEnd=80 LWParam.scene.frameStep=2 "
          "LWParam.scene.previewFrameStart=3 LWParam.scene.previewFrameEnd=20 LWParam.scene.previewFrameStep=1"));
}

TEST_F(ClipPanels, ASaveNamesItsFileRemembersTheDialogAndKeepsItsSwitches) {
  EXPECT_THAT(save("empty.xml", "@run QD:ZaduDuzAVSave\n@set #1 1\n"),
              ElementsAre("status: QD:ZaduDuzAV start...", "status: {1.00}Now saving animation data...",
                          "error: No animetion data !", "status: No animation data !"));
  EXPECT_THAT(save("late.xml", "AddNull Ball\n@preview 20 10 1\n"),
              ElementsAre("status: QD:ZaduDuzAV start...", "error: Start frame is less than end frame !",
                          "status: Start frame is less than end frame !"));
  EXPECT_TRUE(fs::is_empty(dir_.path()));
  std::ofstream(dir_ / "take1.xml") << "an older clip";
  run("@preview 0 60 1\n@key Ball Position.X 0.5 1\n@close\n@run QD:ZaduDuzAVSave\n");
  // The name gets the clip ending unless it has one in any case.
  for (const char *typed : {"take1", "take2.XML", "Take3.Xml", "take4.xml.bak"})
    run("@file \"" + file(typed) + "\"\n@press Save\n");
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, ::testing::UnorderedElementsAre("take1.xml", "take2.XML", "Take3.Xml", "take4.xml.bak.xml"));
  EXPECT_THAT(lwtest::readBytes(dir_ / "take1.xml"), AllOf(HasSubstr("<clip item=\"Ball\""), Not(HasSubstr("older"))));
  // Each dialog starts from the directory and name of the last save; a
  // cancelled one saves nothing and forgets nothing.
  EXPECT_THAT(run("@file cancel\n@press Save\n@file cancel\n@press Save\n"), IsEmpty());
  ASSERT_EQ(requests().size(), 8u);
  const std::string dialog = std::to_string(FREQ_SAVE) + " Save file *.xml 512 ";
  EXPECT_EQ(request(0) + "|" + request(3) + "|" + request(5) + "|" + request(7),
            dialog + kSeparator + "data.xml|" + dialog + file("take1.xml") + "|" + dialog + file("Take3.Xml") + "|" +
                dialog + file("take4.xml.bak.xml"));

  // Reopening keeps the switches; the range changed while the panel is open is the one saved.
  run("@press Scale\n@set #1 1\n@close\n@run QD:ZaduDuzAVSave\n@preview 10 50 1\n@file \"" + file("again.xml") +
      "\"\n@press Save\n");
  EXPECT_EQ(std::make_pair(control(9).intValue(), control(1).intValue()), std::make_pair(0, 1));
  EXPECT_THAT(lwtest::readBytes(dir_ / "again.xml"),
              AllOf(HasSubstr("range_start=\"" + fixed10(10.0 / 30) + "\" range_end=\"" + fixed10(51.0 / 30)),
                    HasSubstr("\"Rotation.B\""), Not(HasSubstr("Scale."))));
}

TEST_F(ClipPanels, AFailedWriteIsShownInTheBoxAndOnTheStatusLineAndThePanelStaysOpen) {
  const std::string path = file("missing/take.xml");
  // Reading the camera's frame size selects it; the selection comes back.
  EXPECT_THAT(save("missing/take", "AddCamera Cam\nAddNull Ball\n@run QD:ZaduDuzAVSave\n@set #1 3\n"),
              ElementsAre(_, _, _, "status: {1.00}Now saving animation data...",
                          "status: *** ERROR: Failed to save file !(" + path + ") ***",
                          "error: Failed to save ! | Failed to save file !(" + path + ")",
                          "status: Failed to save file !(" + path + ")"));
  EXPECT_TRUE(panel().isOpen());
  EXPECT_THAT(run("@selection\n"), ElementsAre("selection: Ball"));
  // Nothing selected stays so.
  EXPECT_THAT(run("ClearSelection\n@file \"" + file("take") + "\"\n@press Save\n@selection\n"), Contains("selection:"));
  EXPECT_TRUE(fs::exists(dir_ / "take.xml"));
  // A path the dialog's 512-byte buffer cuts would name another file; the
  // 400 bytes shown of it end before the character cut at the 400th (表).
  std::string longName = file(std::string(399 - file("").size(), 'n'));
  for (int i = 0; i < 70; ++i) longName += "\xE8\xA1\xA8";
  EXPECT_THAT(run("@file \"" + longName + "\"\n@press Save\n"),
              ElementsAre("status: *** ERROR: Failed to save file !(" + longName.substr(0, 399) + "...) ***"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);  // take.xml
}

// ---- from the save to the load ----

TEST_F(ClipPanels, ASavedClipLoadsBackKeyForKeyInItsSecondsOntoTheConvertedName) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  std::string scene = "@fps 24\n@preview 0 72 1\nAddNull Arm_L_\nAddNull Arm_R_\n@channel Arm_L_ Face.Smile\n";
  scene += "@key Arm_L_ Position.X 0 0.1234567891 0 0.5 -0.25 0.125\n";
  scene += "@key Arm_L_ Position.X " + exactText(1.0 / 3.0) + " " + exactText(2.0 / 3.0) + " 1 0.1 0.2 0.3 0.4\n";
  scene += "@key Arm_L_ Rotation.P 1.5 -12.75 5 1 2 3 4\n@key Arm_L_ Scale.Z 2.9 1e-7 4\n";
  scene += "@key Arm_L_ Face.Smile 0.7 0.33 3\n@key Arm_R_ Position.X 2 99\n@channel Arm_R_ Face.Smile\n";
  save("arm.xml", scene + "@key Arm_R_ Face.Frown 1 5\nSelectByName Arm_L_\n@run QD:ZaduDuzAVSave\n@set #1 1\n");
  const std::vector<std::string> frown = run("@dump Arm_R_ Face.Frown\n");
  open(file("arm.xml"), "@close\n@fps 30\n");
  EXPECT_EQ(std::make_pair(control(5).intValue(), control(6).intValue()), std::make_pair(0, 90));  // 91.25 at 30 fps
  run("@set #33 3\n@press \"Check Full Path\"\n@set #10 3\n@press Load\n");  // the default Replace: Arm_L_ to Arm_R_
  for (const char *channel : {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B",
                              "Scale.X", "Scale.Y", "Scale.Z", "Face.Smile"}) {
    std::vector<std::string> right = run("@dump Arm_R_ " + std::string(channel) + "\n");
    for (std::string &line : right) line.replace(line.find("Arm_R_"), 6, "Arm_L_");
    EXPECT_EQ(right, run("@dump Arm_L_ " + std::string(channel) + "\n")) << channel;
  }
  // Delete All empties only the channels the clip writes into.
  EXPECT_EQ(run("@dump Arm_R_ Face.Frown\n"), frown);
}

TEST_F(ClipPanels, AFolderNamedOutsideTheAnsiCodePageIsListedLoadedAndSavedInto) {
  // ß and an emoji: no ANSI code page holds both, so Windows needs the wide
  // file functions. Hand-written files declare UTF-8, which Wine reads too.
  const std::string folderName = "Fu\xC3\x9F \xF0\x9F\x98\x80";
  const fs::path folder = dir_.path() / fs::path(std::u8string(folderName.begin(), folderName.end()));
  fs::create_directories(folder);
  std::ofstream(folder / "walk.xml", std::ios::binary) << clipFile(one("Ball", "Position.X", {{2, 7}}));
  const std::u8string utf8 = folder.u8string();
  const std::string path(utf8.begin(), utf8.end());
  open(path, "AddNull Ball\n", "Dir Open...");
  run("@set #10 3\n@press Load\n@close\n");
  EXPECT_THAT(keys("Ball", "Position.X"), ElementsAre(at(60, 7)));
  run("@run QD:ZaduDuzAVSave\n@set #1 3\n@file \"" + path + kSeparator + "take\"\n@press Save\n@close\n");
  EXPECT_THAT(lwtest::readBytes(folder / "take.xml"), HasSubstr("<clip item=\"Ball\""));
}

TEST_F(ClipPanels, NamesInAnyScriptTravelFromSaveToLoadOntoTheSameItems) {
  // 腕 and ソ (whose second byte is a backslash) have code page 932 forms; ß,
  // the emoji, the yen sign (only a look-alike there) and the tab are written
  // as references, the rest as entities.
  const std::vector<std::pair<std::string, std::string>> names = {{"\xE8\x85\x95_L_", "\x98\x72_L_"},
                                                                  {"Fu\xC3\x9F", "Fu&#xDF;"},
                                                                  {"\xF0\x9F\x98\x80", "&#x1F600;"},
                                                                  {"Tab\tName", "Tab&#x9;Name"},
                                                                  {"\xE3\x82\xBD\xC2\xA5>", "\x83\x5C&#xA5;>"},
                                                                  {"A&\"B<", "A&amp;&quot;B&lt;"}};
  std::string scene, moved;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string item = lwsim::quoteWord(names[i].first);
    scene += "AddNull " + names[i].first + "\n@key " + item + " Position.X 1 " + std::to_string(i + 1) + "\n";
    moved += "@key " + item + " Position.X 0.5 99\n";
  }
  save("names.xml", scene + "@run QD:ZaduDuzAVSave\n@set #1 3\n");
  const std::string bytes = lwtest::readBytes(dir_ / "names.xml");
  for (const auto &[name, written] : names) EXPECT_THAT(bytes, HasSubstr("item=\"" + written + "\"")) << name;

  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  open(file("names.xml"), "@close\n" + moved);
  EXPECT_THAT(run("@set #10 3\n@set #29 2\n@press Load\n"), Contains(HasSubstr("done.")));
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_THAT(keys(names[i].first, "Position.X"), ElementsAre(at(30, static_cast<double>(i + 1)))) << names[i].first;
}

}  // namespace
