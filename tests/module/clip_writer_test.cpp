// The clip file writer: the exact layout, number formats, what is escaped,
// and what a failed write leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <bit>
#include <csignal>
#include <cstdio>
#include <random>

#include "clip_io/format/clip_reader.h"
#include "clip_io/format/clip_writer.h"
#include "clip_io/panels/save_labels.h"
#include "common/commands/exceptions.h"
#include "common/globals/clip_globals.h"
#include "common/text/fixed_number.h"
#include "platform/files/file_replace.h"
#include "platform/text/ansi_text.h"
#include "platform/xml/com_startup.h"
#include "sim/commands/ansi_text.h"
#include "sim/host.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

using lwtest::fixed10;

namespace fs = std::filesystem;
using lwp::akio::AnimClip;
using lwp::akio::AnimClipChannel;
using lwp::akio::AnimClipItem;
using lwp::akio::AnimClipKey;
using ::testing::ElementsAre;

std::string fastFixed(double value) {
  std::string out;
  lwp::appendFixed10(out, value);
  return out;
}

TEST(FixedNumbers, MatchPrintfByteForByte) {
  for (const double value : {0.0, -0.0, 0.5, -2.0, 1.0 / 3.0, -1.0 / 30.0, 1e-11, -5e-11, 5e-11, 123456789.123456789,
                             1e300, -1.7976931348623157e308, 0.00000000005, 2.675, 1e-320}) {
    EXPECT_EQ(fastFixed(value), fixed10(value)) << value;
  }
  // Halfway cases (odd multiples of 2^-11 end in a 5 at the eleventh
  // decimal), frame times, and random bits at magnitudes 2^-40 to 2^70.
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t bits = random();
    const double sign = (bits & 1) != 0 ? -1.0 : 1.0;
    const double halfway = sign * static_cast<double>((bits >> 20) | 1) / 2048.0;
    const double frameTime = sign * static_cast<double>(bits % 1000000) / 30.0;
    const std::uint64_t exponent = 1023 - 40 + (bits >> 52) % 111;
    const double pattern = std::bit_cast<double>((bits & 0x800FFFFFFFFFFFFFULL) | (exponent << 52));
    for (const double value : {halfway, frameTime, pattern}) ASSERT_EQ(fastFixed(value), fixed10(value)) << value;
  }
  std::string integers;
  for (const int value : {0, 3, -7, 2147483647, -2147483647 - 1}) {
    lwp::appendInteger(integers, value);
    integers += ' ';
  }
  EXPECT_EQ(integers, "0 3 -7 2147483647 -2147483648 ");
}

AnimClipKey key(double time, double value, int shape) {
  AnimClipKey out;
  out.time = time;
  out.value = value;
  out.shape = shape;
  return out;
}

AnimClipItem itemNamed(const std::string &name, const std::string &path) {
  AnimClipItem item;
  item.itemName = name;
  item.fullPath = path;
  item.rangeStart = 1.0 / 30.0;
  item.rangeEnd = 2.0;
  item.fps = 30.0;
  return item;
}

class ClipWriter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function())); }

  std::string target(const std::string &name) const { return (dir_ / name).string(); }
  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  lwsim::Host host_;
  lwtest::ScratchDirectory dir_;
};

TEST_F(ClipWriter, OneClipWithAKeyedAndAnEmptyChannelHasTheFixedLayout) {
  AnimClipItem item = itemNamed("Arm", "/Rig/Arm");
  item.pivotPos = {0.5, -2.0, 0.0};
  item.restRot = {0.25, 0.0, -0.125};
  AnimClipKey bezier = key(0.5, -2.0, 5);
  bezier.tension = 0.1;
  bezier.param0 = -0.25;
  bezier.param3 = 3.0;
  item.channels = {AnimClipChannel{"Position.X", {key(0.0, 0.5, 3), bezier}}, AnimClipChannel{"Face.Smile", {}}};
  lwp::akio::writeClipFile({item}, target("arm.xml"));

  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n"
      "<docroot>\n"
      "\t<info>\n"
      "\t\t<author></author>\n"
      "\t\t<tool>qd_zaza02</tool>\n"
      "\t\t<comments></comments>\n"
      "\t\t<scene></scene>\n"
      "\t\t<created></created>\n"
      "\t\t<modified></modified>\n"
      "\t\t<unit name=\"centimeter\" meter=\"0.01\" />\n"
      "\t\t<axis up=\"Y\" order=\"left_hand\" />\n"
      "\t</info>\n"
      "\t<category type=\"LW_animClip\" format=\"1.0\" >\n"
      "\t\t<clip item=\"Arm\" type=\"param-fcurve\" fullpath=\"/Rig/Arm\" range_start=\"0.0333333333\" "
      "range_end=\"2.0000000000\" fps=\"30.0000000000\" >\n"
      "\t\t\t<basepose>\n"
      "\t\t\t\t<pivot_pos x=\"0.5000000000\" y=\"-2.0000000000\" z=\"0.0000000000\"/>\n"
      "\t\t\t\t<pivot_rot x=\"0.0000000000\" y=\"0.0000000000\" z=\"0.0000000000\"/>\n"
      "\t\t\t\t<rest_pos x=\"0.0000000000\" y=\"0.0000000000\" z=\"0.0000000000\"/>\n"
      "\t\t\t\t<rest_rot x=\"0.2500000000\" y=\"0.0000000000\" z=\"-0.1250000000\"/>\n"
      "\t\t\t</basepose>\n"
      "\t\t\t<targets>\n"
      "\t\t\t\t<param channel=\"Position.X\" />\n"
      "\t\t\t\t<param channel=\"Face.Smile\" />\n"
      "\t\t\t</targets>\n"
      "\t\t\t<sources>\n"
      "\t\t\t\t<fcurve>\n"
      "\t\t\t\t\t<key time=\"0.0000000000\" value=\"0.5000000000\" shape=\"3\" tension=\"0.0000000000\" "
      "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"0.0000000000\" param1=\"0.0000000000\" "
      "param2=\"0.0000000000\" param3=\"0.0000000000\" />\n"
      "\t\t\t\t\t<key time=\"0.5000000000\" value=\"-2.0000000000\" shape=\"5\" tension=\"0.1000000000\" "
      "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"-0.2500000000\" param1=\"0.0000000000\" "
      "param2=\"0.0000000000\" param3=\"3.0000000000\" />\n"
      "\t\t\t\t</fcurve>\n"
      "\t\t\t\t<fcurve>\n"
      "\t\t\t\t</fcurve>\n"
      "\t\t\t</sources>\n"
      "\t\t</clip>\n"
      "\t</category>\n"
      "</docroot>\n"
      "<!--EOF-->";
  const std::string written = lwtest::readBytes(dir_ / "arm.xml");
  EXPECT_EQ(written, expected);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 35);
  EXPECT_EQ(host_.transcript().lines().size(), 0u);
}

TEST_F(ClipWriter, ClipsFollowEachOtherAndAClipWithoutChannelsKeepsItsPairs) {
  lwp::akio::writeClipFile({itemNamed("A", "/A"), itemNamed("B", "/A/B")}, target("two.xml"));
  const std::string written = lwtest::readBytes(dir_ / "two.xml");
  EXPECT_NE(written.find("\t\t\t<targets>\n\t\t\t</targets>\n\t\t\t<sources>\n\t\t\t</sources>\n\t\t</clip>\n\t\t<clip "
                         "item=\"B\" type=\"param-fcurve\" fullpath=\"/A/B\""),
            std::string::npos);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 13 + 2 * 12 + 2);
}

TEST_F(ClipWriter, AnEmptyClipListCreatesNoFile) {
  lwp::akio::writeClipFile({}, target("none.xml"));
  EXPECT_TRUE(filesInDir().empty());
}

TEST_F(ClipWriter, NamesAreCodePage932WithReferencesForWhatItCannotHold) {
  // 腕 and ソ (whose second byte is a backslash) convert; ß, an emoji, the
  // yen sign (only a look-alike there) and a tab become references.
  AnimClipItem item = itemNamed("\xE8\x85\x95 & \"Jerry\" <1>", "/Rig/Fu\xC3\x9F\t\xF0\x9F\x98\x80");
  item.channels = {AnimClipChannel{"Morph.a\xE3\x82\xBD\xC2\xA5", {key(0.0, 1.0, 0)}}};
  lwp::akio::writeClipFile({item}, target("names.xml"));

  const std::string written = lwtest::readBytes(dir_ / "names.xml");
  EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n", 0), 0u);
  EXPECT_NE(written.find("item=\"\x98\x72 &amp; &quot;Jerry&quot; &lt;1>\""), std::string::npos);
  EXPECT_NE(written.find("fullpath=\"/Rig/Fu&#xDF;&#x9;&#x1F600;\""), std::string::npos);
  EXPECT_NE(written.find("channel=\"Morph.a\x83\x5C&#xA5;\""), std::string::npos);
  if (lwtest::runningUnderWine()) GTEST_SKIP() << lwtest::kWineRefusesShiftJis;
  lwp::platform::startComOnce();
  int code = 0;
  const lwp::akio::AnimClip read = lwp::akio::readClipFile(target("names.xml"), code);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].itemName, item.itemName);
  EXPECT_EQ(read[0].fullPath, item.fullPath);
  EXPECT_EQ(read[0].channels.at(0).name, item.channels[0].name);
}

TEST_F(ClipWriter, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
  const std::string path = target("missing/take.xml");
  try {
    lwp::akio::writeClipFile({itemNamed("A", "/A")}, path);
    FAIL() << "no exception";
  } catch (const lw::ex::CFileReadWriteEx &error) {
    EXPECT_EQ(error.message(), "Failed to save file !(" + path + ")");
  }
  EXPECT_THAT(host_.transcript().formatted(),
              ElementsAre("status: *** ERROR: Failed to save file !(" + path + ") ***"));
  EXPECT_TRUE(filesInDir().empty());
}

TEST_F(ClipWriter, AnItemWithATextNoXmlCanCarryIsReportedAndTheFileKept) {
  std::FILE *previous = std::fopen(target("take.xml").c_str(), "wb");
  ASSERT_NE(previous, nullptr);
  std::fputs("previous", previous);
  std::fclose(previous);
  AnimClipItem badChannel = itemNamed("Arm", "/Arm");
  badChannel.channels = {AnimClipChannel{"Bad\x01", {}}};
  const std::string replacement = "\xEF\xBF\xBD";  // U+FFFD stands in for what cannot be shown
  const std::vector<std::pair<AnimClipItem, std::string>> cases = {
      {itemNamed("Arm\xFF", "/Arm"), "Arm" + replacement},
      {itemNamed("Arm\x01", "/Arm"), "Arm" + replacement},
      {itemNamed("Arm\xEF\xBF\xBF", "/Arm"), "Arm\xEF\xBF\xBF"},  // U+FFFF
      {itemNamed("Arm", "/Rig\xC3/Arm"), "Arm"},
      {badChannel, "Arm"}};
  for (const auto &[bad, shown] : cases) {
    SCOPED_TRACE(shown);
    host_.transcript().clear();
    EXPECT_THROW(lwp::akio::writeClipFile({itemNamed("Good", "/Good"), bad}, target("take.xml")),
                 lw::ex::CFileReadWriteEx);
    // On Windows the status line passes through the ANSI code page.
    const std::string line = "*** ERROR: Failed to save file !(" + shown + ") ***";
    EXPECT_THAT(host_.transcript().formatted(),
                ElementsAre("status: " + lwsim::utf8FromAnsi(lwp::platform::ansiForDisplay(line))));
  }
  EXPECT_EQ(lwtest::readBytes(dir_ / "take.xml"), "previous");
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
}

TEST_F(ClipWriter, ASaveKeepsReadOnlyClipsPermissionsAndWhatHasATemporaryName) {
  const std::string path = target("take.xml");
  lwp::akio::writeClipFile({itemNamed("A", "/A")}, path);
  const std::string first = lwtest::readBytes(path);
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, kWrite, fs::perm_options::remove);
  EXPECT_THROW(lwp::akio::writeClipFile({itemNamed("B", "/B")}, path), lw::ex::CFileReadWriteEx);
  EXPECT_EQ(lwtest::readBytes(path), first);
  EXPECT_THAT(host_.transcript().formatted(),
              ElementsAre("status: *** ERROR: Failed to save file !(" + path + ") ***"));
#ifndef _WIN32
  constexpr fs::perms kUnusual = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, kUnusual);
  lwp::akio::writeClipFile({itemNamed("B", "/B")}, path);
  EXPECT_THAT(lwtest::readBytes(path), ::testing::HasSubstr("item=\"B\""));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, kUnusual);
  // A link at a temporary name is neither followed nor replaced.
  fs::create_symlink(target("victim"), path + ".saving-link");
  bool linkTaken = false;
  EXPECT_EQ(lwp::platform::createNewFile((path + ".saving-link").c_str(), nullptr, linkTaken), nullptr);
  EXPECT_TRUE(linkTaken);
  EXPECT_FALSE(fs::exists(target("victim")));
#endif
  // Nor is a file.
  const std::string taken = path + ".saving-file";
  std::fclose(std::fopen(taken.c_str(), "wb"));
  bool fileTaken = false;
  EXPECT_EQ(lwp::platform::createNewFile(taken.c_str(), nullptr, fileTaken), nullptr);
  EXPECT_TRUE(fileTaken);
  EXPECT_TRUE(fs::exists(taken));
}

#ifndef _WIN32
// Files may not grow past a limit, so a long clip fails part way through
// writing, as on a full disk (a POSIX process limit).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(ClipWriter, AWriteThatFailsPartWayKeepsThePreviousClipAndLeavesNoPartialFile) {
  const std::string path = target("take.xml");
  lwp::akio::writeClipFile({itemNamed("Old", "/Old")}, path);
  const std::string previous = lwtest::readBytes(path);

  AnimClipItem big = itemNamed("New", "/New");
  big.channels.push_back(AnimClipChannel{"Position.X", {}});
  for (int i = 0; i < 5000; ++i) big.channels.back().keys.push_back(key(i / 30.0, i, 0));
  bool thrown = false;
  {
    FileSizeLimit limit(previous.size() + 16 * 1024);
    try {
      lwp::akio::writeClipFile({big}, path);
    } catch (const lw::ex::CFileReadWriteEx &error) {
      thrown = true;
      EXPECT_EQ(error.message(), "Failed to save file !(" + path + ")");
    }
  }
  EXPECT_TRUE(thrown);
  EXPECT_EQ(lwtest::readBytes(path), previous);
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
  EXPECT_THAT(host_.transcript().formatted(),
              ElementsAre("status: *** ERROR: Failed to save file !(" + path + ") ***"));

  // Without the limit the same clip replaces the old one completely.
  lwp::akio::writeClipFile({big}, path);
  const std::string written = lwtest::readBytes(path);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 13 + 13 + 2 + 5000 + 3 - 1);
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
}
#endif

TEST_F(ClipWriter, TheFailureTextFollowsTheInterfaceLanguage) {
  host_.setLocaleId(lwsim::Host::kJapanese);
  lwp::akio::saveLabels().choose(lwsim::GlobalRegistry::function());
  const std::string path = target("missing/take.xml");
  EXPECT_THROW(lwp::akio::writeClipFile({itemNamed("A", "/A")}, path), lw::ex::CFileReadWriteEx);
  EXPECT_THAT(host_.transcript().formatted(),
              ElementsAre("status: *** ERROR: ファイルの書き込みに失敗しました !(" + path + ") ***"));
  host_.setLocaleId(lwsim::Host::kEnglish);
  lwp::akio::saveLabels().choose(lwsim::GlobalRegistry::function());
}

}  // namespace
