// The lwsim program run as a child process with small scripts: its output,
// its error messages and its exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/module_host.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

using lwtest::fixed10;
using lwtest::readBytes;

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

Lines lines(const std::string &text) {
  Lines out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string channelLine(const std::string &item, const std::string &path, int pre, int post, int keys) {
  return "channel " + item + ' ' + path + " pre=" + std::to_string(pre) + " post=" + std::to_string(post) +
         " keys=" + std::to_string(keys);
}

// TCB = tension, continuity, bias; P = the four shape parameters.
std::string keyLine(const std::string &item, const std::string &path, double time, double value, int shape = 0,
                    std::array<double, 3> tcb = {}, std::array<double, 4> p = {}) {
  std::string line =
      "key " + item + ' ' + path + ' ' + fixed10(time) + ' ' + fixed10(value) + ' ' + std::to_string(shape);
  for (const double field : tcb) line += ' ' + fixed10(field);
  for (const double field : p) line += ' ' + fixed10(field);
  return line;
}

std::string valueLine(const std::string &item, const std::string &path, double seconds, double value) {
  return "value " + item + ' ' + path + ' ' + fixed10(seconds) + ' ' + fixed10(value);
}

// What a new item's dump shows: each motion channel with its one key at 0,
// constant before and after.
Lines newItemDump(const std::string &item) {
  const char *paths[] = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                         "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};
  Lines out;
  for (int slot = 0; slot < 9; ++slot) {
    out.push_back(channelLine(item, paths[slot], 1, 1, 1));
    out.push_back(keyLine(item, paths[slot], 0.0, slot >= 6 ? 1.0 : 0.0));
  }
  return out;
}

Lines joined(std::initializer_list<Lines> parts) {
  Lines out;
  for (const auto &part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

const double kPi = std::acos(-1.0);

class LwsimTest : public ::testing::Test {
 protected:
  std::string script(const std::string &text) {
    const fs::path path = dir_ / ("script" + std::to_string(++scripts_) + ".lwsim");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // Runs lwsim with these arguments and, when given, this standard input.
  Outcome lwsim(const Lines &arguments, const std::optional<std::string> &input = std::nullopt) {
    const fs::path in = dir_ / "stdin", out = dir_ / "stdout", err = dir_ / "stderr";
    std::ofstream(in, std::ios::binary) << input.value_or("");
    Lines words{LWSIM_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    // Files a script writes by relative name land in the test's directory.
    const std::optional<int> exitCode =
        lwtest::runChild(words, dir_, {input ? std::optional<fs::path>(in) : std::nullopt, out, err});
    if (!exitCode) ADD_FAILURE() << "lwsim did not run to an exit";
    return {exitCode.value_or(-1), readBytes(out), readBytes(err)};
  }

  // Runs a script of this text, expecting it to run to its end.
  Lines runToEnd(const std::string &text) {
    const Outcome run = lwsim({script(text)});
    EXPECT_EQ(run.exitCode, 0) << text;
    EXPECT_THAT(run.err, IsEmpty()) << text;
    return lines(run.out);
  }

  // Removed without failing the test: under Wine a child that has just
  // exited may still hold its current directory for a moment.
  lwtest::ScratchDirectory scratch_;
  const fs::path &dir_ = scratch_.path();
  int scripts_ = 0;
};

// Every example script runs on the example rig to its end without calling
// anything the host does not simulate; a workflow of the user guide prints
// what its .out file beside it holds; the demo shows every server and
// activates each.
TEST_F(LwsimTest, ExampleScriptsCallNothingTheHostLacksWorkflowsPrintTheirOutputAndTheDemoActivatesEveryServer) {
  int scripts = 0;
  for (const fs::directory_entry &entry : fs::directory_iterator(LWP_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".lwsim") continue;
    const std::string expected = readBytes(fs::path(entry.path()).replace_extension(".out"));
    // Wine's MSXML refuses the clips such a workflow saves and reads back.
    if (expected.find("status: Now loading animation file") != std::string::npos && lwtest::runningUnderWine())
      continue;
    ++scripts;
    const Outcome run = lwsim({"--scene", LWP_SOURCE_DIR "/examples/rig.lws", entry.path().string()});
    EXPECT_EQ(run.exitCode, 0) << entry.path();
    EXPECT_THAT(run.err, IsEmpty()) << entry.path();
    const Lines out = lines(run.out);
    EXPECT_THAT(out, Not(Contains(StartsWith("unsupported:")))) << entry.path();
    EXPECT_EQ(run.out, expected.empty() ? run.out : expected) << entry.path();
    if (entry.path().filename() != "demo.lwsim") continue;
    EXPECT_EQ(
        std::count_if(out.begin(), out.end(), [](const std::string &line) { return line.rfind("server: ", 0) == 0; }),
        6);
    for (const lwtest::ServerCase &server : lwtest::moduleServers()) {
      const std::string name = std::string(server.className) + ' ' + server.name;
      EXPECT_THAT(out, Contains("server: " + name));
      EXPECT_THAT(out, Contains("activated: " + name + " version " + std::to_string(server.version) + " result 0"));
    }
  }
  EXPECT_GT(scripts, 0);
}

// The lines from the status line that starts with text up to the next
// status line.
Lines chapter(const Lines &out, const std::string &text) {
  const auto start = std::find_if(out.begin(), out.end(),
                                  [&](const std::string &line) { return line.rfind("status: " + text, 0) == 0; });
  if (start == out.end()) return {};
  const auto end =
      std::find_if(start + 1, out.end(), [](const std::string &line) { return line.rfind("status: ", 0) == 0; });
  return {start, end};
}

// The demo's story on the example rig: the keyed left arm, a key set on the
// right arm, the left arm saved as a clip file and loaded onto the right
// arm, then the posed right hand keyed, undone and redone.
TEST_F(LwsimTest, DemoKeysSavesAndLoadsTheArmsAndKeysThePosedHand) {
  const Outcome run = lwsim({"--scene", LWP_SOURCE_DIR "/examples/rig.lws", LWP_SOURCE_DIR "/examples/demo.lwsim"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.err, IsEmpty());
  const double wave = -60.0 * kPi / 180.0, posed = -30.0 * kPi / 180.0;
  const Lines out = lines(run.out);
  for (const std::string &line :
       {keyLine("Arm_L_Upper", "Rotation.B", 1, wave), keyLine("Hand_L_", "Position.Y", 1, 0.1, 3),
        channelLine("Arm_R_Upper", "Rotation.B", 1, 1, 1), channelLine("Arm_R_Upper", "Rotation.B", 1, 1, 2),
        keyLine("Arm_R_Upper", "Rotation.B", 1, -wave), std::string("selection: Arm_R_Upper"),
        std::string("control #16 ButtonControl \"Save\" - shown")})
    EXPECT_THAT(out, Contains(line));
  // (The module's clip tests see that a save or a load gives the selection
  // back as it found it.)
  const std::string clip = readBytes(dir_ / "left_arm.xml");
  for (const char *path :
       {"/Rig/Body/Arm_L_Upper", "/Rig/Body/Arm_L_Upper/Arm_L_Lower", "/Rig/Body/Arm_L_Upper/Arm_L_Lower/Hand_L_"})
    EXPECT_THAT(clip, HasSubstr(std::string("fullpath=\"") + path + "\""));
  EXPECT_THAT(clip, Not(HasSubstr("Arm_R_")));

  // The demo loads the clip file it saved.
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  const auto loaded = std::find(out.begin(), out.end(), "status: Now loading animation file...");
  ASSERT_NE(loaded, out.end());
  const Lines after(loaded, out.end());
  // The right arm now waves as the left one does, its own key replaced.
  EXPECT_THAT(after, Contains(keyLine("Arm_R_Upper", "Rotation.B", 1, wave)));
  EXPECT_THAT(after, Not(Contains(keyLine("Arm_R_Upper", "Rotation.B", 1, -wave))));
  EXPECT_THAT(after, Contains(keyLine("Hand_R_", "Position.Y", 1, 0.1, 3)));
  // Frame 45 at 30 fps: the posed rotation as the viewport showed it, the
  // unposed position as its curve gives it between the keys at 1 s and 2 s.
  const Lines keyed = chapter(out, "Key setter:");
  EXPECT_THAT(keyed, Contains(channelLine("Hand_R_", "Rotation.B", 1, 1, 2)));
  EXPECT_THAT(keyed, Contains(keyLine("Hand_R_", "Rotation.B", 1.5, posed)));
  EXPECT_THAT(keyed, Contains(keyLine("Hand_R_", "Position.Y", 1.5, 0.05)));
  const Lines undone = chapter(out, "Undo:");
  EXPECT_THAT(undone, Contains(channelLine("Hand_R_", "Rotation.B", 1, 1, 1)));
  EXPECT_THAT(undone, Not(Contains(keyLine("Hand_R_", "Rotation.B", 1.5, posed))));
  EXPECT_THAT(chapter(out, "Redo:"), Contains(keyLine("Hand_R_", "Rotation.B", 1.5, posed)));
  EXPECT_EQ(out.back(), "selection: Hand_R_") << "the key setter gives the selection back";
}

// Blank lines, comments and CR line ends are skipped; a refused command is
// shown and the run goes on; a script error keeps what was printed and
// names its source and line, whether the script is a file or standard input
// (absent or "-").
TEST_F(LwsimTest, ScriptsFromAFileOrStandardInputRunAlikeAndStopAtAnErrorNamingTheLine) {
  const std::string text =
      "AddNull Left Arm\r\n\r\n   \n# StatusMsg hidden\r\n  \t# NoSuchCommand\n@selection\r\n"
      "NoSuchCommand a  b\r\n@key \"Left Arm\" Position.X 1 2.5 3\r\n@dump \"Left Arm\" Position.X\r\n"
      "@eval \"Left Arm\" Position.X 1\r\nStatusMsg shown\r\n";
  const Lines expected = {"selection: \"Left Arm\"",
                          "refused: NoSuchCommand a  b",
                          channelLine("\"Left Arm\"", "Position.X", 1, 1, 2),
                          keyLine("\"Left Arm\"", "Position.X", 0, 0),
                          keyLine("\"Left Arm\"", "Position.X", 1, 2.5, 3),
                          valueLine("\"Left Arm\"", "Position.X", 1, 2.5),
                          "status: shown"};
  for (const char *source : {"file", "", "-"}) {
    for (const std::string &tail : {std::string(), std::string("@bogus 1\nStatusMsg after\n")}) {
      const std::string path = script(text + tail);
      const Outcome run =
          std::string(source) == "file" ? lwsim({path}) : lwsim(Lines(*source ? 1 : 0, source), text + tail);
      EXPECT_EQ(run.exitCode, tail.empty() ? 0 : 1) << source;
      EXPECT_THAT(lines(run.out), ElementsAreArray(expected)) << source;
      const std::string named = std::string(source) == "file" ? path : "<stdin>";
      EXPECT_EQ(run.err.empty(), tail.empty()) << source;
      EXPECT_EQ(run.err.find(named + ":12: unknown directive @bogus") != std::string::npos, !tail.empty()) << source;
    }
  }
}

// Items, their channels, keys, the selection and the masters as scripts show
// them: a bone needs a selected object or bone, Rename a selection and a
// name; @key takes every arity, replaces a key at the same time, parameters
// included (omitted numbers are 0), and creates a channel the item lacks;
// @behavior and @eval reach the envelope (each curve and behaviour is
// proved in EnvelopeEvaluation); the module's master, added as the key
// setter adds it, is listed once with its description line and flags.
TEST_F(LwsimTest, ScriptsShowItemsChannelsKeysSelectionAndMastersWithQuotedNames) {
  const Lines out = runToEnd(
      "AddBone Orphan\nRename Nobody\n@selection\nAddNull Left Arm\n@selection\nLoadObject /models/v2/Body.part.lwo\n"
      "AddBone Upper Arm\nAddBone Forearm\nAddDistantLight Sun\nAddBone Lit\n"
      "AddNull Say \"Hi\"\n@selection\nSelectByName Left Arm\nRename Right Arm\n@selection\nSelectByName Left Arm\n"
      "SelectByName Say \"Hi\"\n@selection\n@eval \"Say \"\"Hi\"\"\" Scale.X 0\n"
      // Selection by id, hexadecimal or decimal: no item twice, order kept.
      "SelectItem 268435457\nAddToSelection 0x10000000\nAddToSelection 0x10000002\nAddToSelection 0x10000001\n"
      "RemoveFromSelection 0x10000002\nRemoveFromSelection 0x10000002\n@selection\nRename\nClearSelection\n"
      "@selection\nAddBone\n"
      // An object's dump leaves out its bones' channels.
      "@dump Body.part\n"
      // The first item of a name wins; Rename acts on the selection.
      "AddNull Twin\nAddNull Twin\n@key Twin Position.X 1 5\nRename Other\n@dump Twin Position.X\n"
      "@dump Other Position.X\n"
      // Added channels follow the motion channels with their group paths.
      "LoadObject /models/Head.lwo\n@channel Head Dissolve\n@channel Head \"Mouth Open\"\n@channel Head Face.Smile\n"
      "@morph Head Face.Frown\n@morph Head Blink\n@dump Head\n"
      "AddNull N\n@key N Position.X 4 8 5 1 2 3 4\n@key N Position.X 1 2 3\n@key N Position.X 3 4 1 0.1 0.2 0.3\n"
      "@key N Position.X 2 7 5 1 1 1 1\n@key N Position.X 0 5\n@key N Position.X 2 -1.5 0 0.5 -0.25 0.75\n"
      "@key N Position.X 5 1 0 0.5 0.5 0.5\n@key N Position.X 5 6 4\n@dump N Position.X\n@key N Face.Blink 0.5 1\n"
      "@dump N Face.Blink\nAddNull E\n@channel E Empty\n@key E Position.X 0 2 3\n@key E Position.X 1 10 3\n"
      "@eval E Position.X 0.25\n@eval E Scale.Y -3\n@eval E Empty 1\n@behavior E Position.X 4 5\n"
      "@eval E Position.X -0.75\n@eval E Position.X 2\n"
      "@masters\nActivateMasterUnique .QD:ZaraRazEzedud\nActivateMasterUnique .QD:ZaraRazEzedud\n@masters\n");
  const std::string hi = "\"Say \"\"Hi\"\"\"", x = "Position.X";
  // clang-format off
  EXPECT_THAT(out, ElementsAreArray(joined({
      {"refused: AddBone Orphan", "refused: Rename Nobody", "selection:", "selection: \"Left Arm\"",
       "refused: AddBone Lit", "selection: " + hi, "selection: \"Right Arm\"",
       "refused: SelectByName Left Arm", "selection: " + hi, valueLine(hi, "Scale.X", 0, 1),
       "selection: Body.part \"Right Arm\"", "refused: Rename", "selection:", "refused: AddBone"},
      newItemDump("Body.part"),
      {channelLine("Twin", x, 1, 1, 2), keyLine("Twin", x, 0, 0), keyLine("Twin", x, 1, 5),
       channelLine("Other", x, 1, 1, 1), keyLine("Other", x, 0, 0)},
      newItemDump("Head"),
      {channelLine("Head", "Dissolve", 1, 1, 0), channelLine("Head", "\"Mouth Open\"", 1, 1, 0),
       channelLine("Head", "Face.Smile", 1, 1, 0), channelLine("Head", "Face.Frown", 1, 1, 0),
       channelLine("Head", "MorphGroup.Blink", 1, 1, 0),
       channelLine("N", x, 1, 1, 6), keyLine("N", x, 0, 5), keyLine("N", x, 1, 2, 3),
       keyLine("N", x, 2, -1.5, 0, {0.5, -0.25, 0.75}), keyLine("N", x, 3, 4, 1, {}, {0.1, 0.2, 0.3, 0}),
       keyLine("N", x, 4, 8, 5, {}, {1, 2, 3, 4}), keyLine("N", x, 5, 6, 4), channelLine("N", "Face.Blink", 1, 1, 1),
       keyLine("N", "Face.Blink", 0.5, 1), valueLine("E", x, 0.25, 4), valueLine("E", "Scale.Y", -3, 1),
       valueLine("E", "Empty", 1, 0), valueLine("E", x, -0.75, -4), valueLine("E", x, 2, 18),
       "master: .QD:ZaraRazEzedud \".QD:ZaraRazEzedud(1.20) build 250619\" flags=2"}})));
  // clang-format on
}

// Each bad line stops the run with exit code 1, keeps what was printed
// before it and names the script, the line and the message after the '~';
// one line per check that can fail.
TEST_F(LwsimTest, ScriptErrorsStopTheRunNamingScriptAndLine) {
  const char *const cases[] = {
      "@bogus 1~unknown directive @bogus", "@~empty directive", "@dump \"Left Arm~unclosed quote",
      "@autokey all now~usage: @autokey off|modified|all|existing",
      "@autokey on~usage: @autokey off|modified|all|existing", "@pivot N 1 2 3 4~usage: @pivot ITEM X Y Z [H P B]",
      "@dump Nobody~no item Nobody", "@dump N Position.W~no channel Position.W of N",
      "@key N Position.X soon 2~bad time soon", "@key N Position.X 1 2 1.5~bad shape 1.5",
      "@key N Position.X 1 2 0 0.5 0.5~a key's parameters come as A B C or A B C D",
      "@key N Position.X 1 2 6~a key's shape is 0 to 5", "@behavior N Position.X 1 6~a behaviour is 0 to 5",
      "@parent N Body\n@parent Body N~parenting would make a cycle", "@morph Sun Smile~Sun is not an object",
      "@rest N 0 0 0 0 0 0~N is not a bone", "@camera Sun 3.2 640 480~Sun is not a camera",
      "@fps 0~the frame rate must be positive", "@preview 1 60 0~the frame step must be positive",
      "@press OK~no panel is open", "Generic_QD:ZaduDuzAVSave\n@press Nowhere~no control Nowhere in panel",
      "@press #1 sideways~usage: @press CONTROL [left|middle|right]",
      "@activate LayoutGeneric Anything one~bad version one",
      // A time, value or rate that is not a finite number would put a key
      // out of order or print "nan" in key and value lines.
      "@key N Position.X nan 2~bad time nan", "@fps inf~bad frame rate inf",
      "@channel Body Face.Smile~Body already has channel Face.Smile"};
  const std::string setup =
      "AddNull N\nAddDistantLight Sun\nLoadObject Body.lwo\n@channel Body Face.Smile\nStatusMsg before\n";
  for (const std::string c : cases) {
    const std::string body = c.substr(0, c.find('~')), message = c.substr(body.size() + 1);
    const std::string path = script(setup + body + "\nStatusMsg after\n");
    const Outcome run = lwsim({path});
    const auto line = 6 + std::count(body.begin(), body.end(), '\n');
    EXPECT_EQ(run.exitCode, 1) << body;
    EXPECT_EQ(run.out, "status: before\n") << body;
    EXPECT_THAT(run.err, HasSubstr(path + ":" + std::to_string(line) + ": " + message)) << body;
  }
}

TEST_F(LwsimTest, LocaleReachesTheModule) {
  const std::string probe = script("Generic_Probe\n@locale ja\nGeneric_Probe\n@locale en\nGeneric_Probe\n");
  const Outcome run = lwsim({"--plugin", LWSIM_FIXTURE_PROBE, probe});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "status: probe locale=0x409 args=\nstatus: probe locale=0x411 args=\nstatus: probe locale=0x409 args=\n");
  const Outcome japanese = lwsim({"--locale", "ja", "--plugin", LWSIM_FIXTURE_PROBE, script("Generic_Probe now\n")});
  EXPECT_EQ(japanese.exitCode, 0);
  EXPECT_EQ(japanese.out, "status: probe locale=0x411 args=now\n");
}

// A missing or unreadable script, plug-in or scene and bad options stop lwsim
// before the script runs (exit code 2 where given, else any but 0), naming
// what is wrong.
TEST_F(LwsimTest, CommandLineProblemsAreSetupFailures) {
  const std::string body = script("StatusMsg never\n"), absent = (dir_ / "absent").string();
  const fs::path scene = dir_ / "bad.lws";
  std::ofstream(scene, std::ios::binary) << "LWSC\n3\n\nFirstFrame 1\nAddNullObject N\nPivotPosition 0 1,5 0\n";
  const struct {
    Lines arguments;
    int exitCode;
    std::string mentions;
  } cases[] = {
      {{absent + ".lwsim"}, 2, absent + ".lwsim"},
      {{dir_.string()}, 0, "script"},  // a script that cannot be read to its end (a folder) is no success
      {{"--plugin", absent + ".p", body}, 2, absent + ".p"},
      {{"--scene", absent + ".lws", body}, 2, "cannot read scene file " + absent + ".lws"},
      {{"--scene", scene.string(), body}, 2, scene.string() + ":6: \"1,5\" is not a number"},
      {{"--locale", "fr", body}, 0, "--locale"},
      {{body, "--locale"}, 0, ""},
  };
  for (const auto &c : cases) {
    const Outcome run = lwsim(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode != 0 ? c.exitCode : run.exitCode) << c.mentions;
    EXPECT_NE(run.exitCode, 0) << c.mentions;
    EXPECT_THAT(run.out, IsEmpty()) << c.mentions;
    EXPECT_THAT(run.err, HasSubstr(c.mentions));
  }
}

}  // namespace
