// The clip file reader: which category and clips it takes, defaults and
// numbers, text as UTF-8 from any encoding a document may be in, what
// a failing document gives, and clips written by the writer reading back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "clip_io/format/clip_attributes.h"
#include "clip_io/format/clip_reader.h"
#include "clip_io/format/clip_writer.h"
#include "common/globals/clip_globals.h"
#include "platform/xml/com_startup.h"
#include "sim/host.h"
#include "support/decimal_comma_locale.h"
#include "support/exported_names.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

namespace {

using lwtest::fixed10;

using lwp::akio::AnimClip;
using lwp::akio::AnimClipChannel;
using lwp::akio::AnimClipItem;
using lwp::akio::AnimClipKey;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kUntouched = 42;  // a result code the reader must leave alone

const std::string kSjisDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n";
const std::string kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A document with one clip category holding body.
std::string clipDocument(const std::string &body, const std::string &declaration = kUtf8Declaration) {
  return declaration + "<docroot>\n<info><tool>t</tool></info>\n<category type=\"LW_animClip\" format=\"1.0\" >\n" +
         body + "</category>\n</docroot>\n<!--EOF-->";
}

std::string clipElement(const std::string &attributes, const std::string &inside = "") {
  return "<clip " + attributes + " >\n" + inside + "</clip>\n";
}

std::string keyElement(const std::string &time, const std::string &value) {
  return "<key time=\"" + time + "\" value=\"" + value +
         "\" shape=\"0\" tension=\"0\" continuity=\"0\" bias=\"0\" param0=\"0\" param1=\"0\" param2=\"0\" "
         "param3=\"0\" />";
}

std::string fullBasePose() {
  return "<basepose><pivot_pos x=\"1\" y=\"2\" z=\"3\"/><pivot_rot x=\"4\" y=\"5\" z=\"6\"/>"
         "<rest_pos x=\"7\" y=\"8\" z=\"9\"/><rest_rot x=\"10\" y=\"11\" z=\"12\"/></basepose>\n";
}

// UTF-16 code units of an ASCII or BMP text, as bytes in either order.
std::string utf16Bytes(const std::u16string &text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::u16string widen(const std::string &ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class ClipReader : public ::testing::Test {
 protected:
  // The load driver starts COM for the reader.
  void SetUp() override { lwp::platform::startComOnce(); }

  std::string writeFile(const std::string &name, const std::string &bytes) const {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // Reads bytes as a clip file; the result code starts untouched.
  AnimClip read(const std::string &bytes) {
    code_ = kUntouched;
    return lwp::akio::readClipFile(writeFile("clip.xml", bytes), code_);
  }

  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }

  lwsim::Host host_;
  lwtest::ScratchDirectory dir_;
  int code_ = kUntouched;
};

// --- The category and the clips taken from it ---

TEST_F(ClipReader, TakesTheFirstCategoryWithExactlyTheClipTypeAndFormat) {
  const std::string document = kUtf8Declaration +
                               "<docroot>\n"
                               "<category type=\"LW_animClip\" format=\"1.0 \"><clip item=\"Padded\"/></category>\n"
                               "<category type=\"lw_animclip\" format=\"1.0\"><clip item=\"Lower\"/></category>\n"
                               "<category type=\"LW_animClip\"><clip item=\"NoFormat\"/></category>\n"
                               "<group><category type=\"LW_animClip\" format=\"1.0\"><clip item=\"Exact\"/>"
                               "</category></group>\n"
                               "<category type=\"LW_animClip\" format=\"1.0\"><clip item=\"Later\"/></category>\n"
                               "</docroot>";
  const AnimClip clip = read(document);
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ(clip[0].itemName, "Exact");
  EXPECT_EQ(code_, 1);
}

TEST_F(ClipReader, ANonMatchingCategoryOrRootYieldsNothingAndLeavesTheCode) {
  EXPECT_THAT(read(kUtf8Declaration + "<docroot><category type=\"LW_animClip\" format=\"1.1\">" +
                   clipElement("item=\"A\"") + "</category></docroot>"),
              IsEmpty());
  EXPECT_EQ(code_, kUntouched);
  EXPECT_THAT(read(kUtf8Declaration + "<DocRoot><category type=\"LW_animClip\" format=\"1.0\">" +
                   clipElement("item=\"A\"") + "</category></DocRoot>"),
              IsEmpty());
  EXPECT_EQ(code_, kUntouched);
  EXPECT_THAT(transcript(), IsEmpty());
}

// An element counts once, for its nearest clip: the inner clip's channel
// is not the outer one's too.
TEST_F(ClipReader, ReadsClipsAtAnyDepthInDocumentOrder) {
  const AnimClip clip =
      read(clipDocument("<group><clip item=\"First\"><note><clip item=\"Inner\"><targets><param channel=\"X\"/>"
                        "</targets></clip></note></clip></group>\n<clip item=\"Last\"/>\n"));
  std::vector<std::string> names;
  std::vector<std::size_t> channels;
  for (const AnimClipItem &item : clip) {
    names.push_back(item.itemName);
    channels.push_back(item.channels.size());
  }
  EXPECT_THAT(names, ElementsAre("First", "Inner", "Last"));
  EXPECT_THAT(channels, ElementsAre(0u, 1u, 0u));
}

TEST_F(ClipReader, ParamsOfEveryTargetsAddChannelsAndEverySourcesFillsThemFromTheFirst) {
  const AnimClip clip = read(clipDocument(
      clipElement("item=\"A\"",
                  "<targets><param channel=\"Position.X\"/><param channel=\"Position.Y\"/></targets>\n"
                  "<targets><group><param channel=\"Face.Smile\"/></group><param/></targets>\n"
                  "<sources><fcurve>" +
                      keyElement("0", "1") + keyElement("1", "2") + "</fcurve></sources>\n<sources><fcurve>" +
                      keyElement("2", "3") + "</fcurve><fcurve>" + keyElement("5", "6") + "</fcurve></sources>\n")));
  ASSERT_EQ(clip.size(), 1u);
  const std::vector<AnimClipChannel> &channels = clip[0].channels;
  ASSERT_EQ(channels.size(), 4u);
  EXPECT_EQ(channels[0].name, "Position.X");
  EXPECT_EQ(channels[2].name, "Face.Smile");
  EXPECT_EQ(channels[3].name, "");
  std::vector<double> firstTimes;
  for (const AnimClipKey &key : channels[0].keys) firstTimes.push_back(key.time);
  EXPECT_THAT(firstTimes, ElementsAre(0.0, 1.0, 2.0));
  ASSERT_EQ(channels[1].keys.size(), 1u);
  EXPECT_EQ(channels[1].keys[0].value, 6.0);
  EXPECT_THAT(channels[2].keys, IsEmpty());
  EXPECT_EQ(code_, 1);
}

TEST_F(ClipReader, AnFcurveBeyondTheChannelsEmptiesTheResultWithCodeZero) {
  const std::string targets = "<targets><param channel=\"A\"/><param channel=\"B\"/></targets>";
  const std::string fcurve = "<fcurve>" + keyElement("0", "1") + "</fcurve>";
  const AnimClip clip =
      read(clipDocument(clipElement("item=\"Good\"", fullBasePose()) +
                        clipElement("item=\"Bad\"", targets + "<sources>" + fcurve + fcurve + fcurve + "</sources>")));
  EXPECT_THAT(clip, IsEmpty());
  EXPECT_EQ(code_, 0);
  EXPECT_THAT(transcript(), IsEmpty());
}

TEST_F(ClipReader, FewerFcurvesThanChannelsLeaveTheLastChannelsWithoutKeys) {
  const std::string fcurve = "<fcurve>" + keyElement("0", "1") + "</fcurve>";
  const AnimClip clip = read(clipDocument(clipElement(
      "item=\"A\"", "<targets><param channel=\"A\"/><param channel=\"B\"/><param channel=\"C\"/></targets><sources>" +
                        fcurve + fcurve + "</sources>")));
  ASSERT_EQ(clip.size(), 1u);
  ASSERT_EQ(clip[0].channels.size(), 3u);
  EXPECT_EQ(clip[0].channels[1].keys.size(), 1u);
  EXPECT_THAT(clip[0].channels[2].keys, IsEmpty());
}

// --- Defaults, base poses and result codes ---

TEST_F(ClipReader, MissingClipAttributesTakeTheirDefaults) {
  const AnimClip clip = read(clipDocument("<clip/>"));
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ(clip[0].itemName, "");
  EXPECT_EQ(clip[0].fullPath, "");
  EXPECT_EQ(clip[0].rangeStart, -1.7976931348623157e308);
  EXPECT_EQ(clip[0].rangeEnd, 1.7976931348623157e308);
  EXPECT_EQ(clip[0].fps, 24.0);
  EXPECT_EQ(clip[0].pivotPos, (lwp::akio::Vector3{0, 0, 0}));
  EXPECT_EQ(clip[0].restRot, (lwp::akio::Vector3{0, 0, 0}));
  EXPECT_EQ(code_, 1);
}

TEST_F(ClipReader, AClipNumberWithoutDigitsReadsAsZero) {
  const AnimClip clip = read(clipDocument(clipElement("item=\"A\" fps=\"abc\" range_start=\"\" range_end=\" 2.5s\"")));
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ(clip[0].fps, 0.0);
  EXPECT_EQ(clip[0].rangeStart, 0.0);
  EXPECT_EQ(clip[0].rangeEnd, 2.5);
}

TEST_F(ClipReader, ABasePoseSetsItsTwelveValuesAndTheBasePoseBit) {
  const AnimClip clip =
      read(clipDocument(clipElement("item=\"Plain\"") + clipElement("item=\"Posed\"", fullBasePose()) +
                        clipElement("item=\"Sparse\"",
                                    "<basepose><pivot_pos/><pivot_rot x=\"-1\"/><rest_pos/>"
                                    "<deep><rest_rot z=\"0.5\"/></deep></basepose>")));
  ASSERT_EQ(clip.size(), 3u);
  EXPECT_EQ(code_, 3);
  EXPECT_EQ(clip[0].pivotPos, (lwp::akio::Vector3{0, 0, 0}));
  EXPECT_EQ(clip[1].pivotPos, (lwp::akio::Vector3{1, 2, 3}));
  EXPECT_EQ(clip[1].pivotRot, (lwp::akio::Vector3{4, 5, 6}));
  EXPECT_EQ(clip[1].restPos, (lwp::akio::Vector3{7, 8, 9}));
  EXPECT_EQ(clip[1].restRot, (lwp::akio::Vector3{10, 11, 12}));
  EXPECT_EQ(clip[2].pivotRot, (lwp::akio::Vector3{-1, 0, 0}));
  EXPECT_EQ(clip[2].restRot, (lwp::akio::Vector3{0, 0, 0.5}));
}

TEST_F(ClipReader, APartialBasePoseFailsTheFileWithTheDebugWindowBox) {
  const AnimClip clip = read(clipDocument(clipElement("item=\"Good\"", fullBasePose()) +
                                          clipElement("item=\"Bad\"", "<basepose><pivot_pos x=\"1\"/></basepose>")));
  EXPECT_THAT(clip, IsEmpty());
  EXPECT_EQ(code_, kUntouched);
  ASSERT_EQ(host_.transcript().lines().size(), 1u);
  EXPECT_EQ(host_.transcript().lines()[0].kind, lwsim::TranscriptLine::Kind::Message);
  EXPECT_THAT(transcript(), ElementsAre("message: Debug Window: A basepose element lacks its pivot_rot element."));
}

TEST_F(ClipReader, EachMissingBasePoseElementIsNamedInTheBox) {
  for (const std::string missing : {"pivot_pos", "pivot_rot", "rest_pos", "rest_rot"}) {
    std::string pose = fullBasePose();
    pose.erase(pose.find("<" + missing), pose.find("/>", pose.find("<" + missing)) + 2 - pose.find("<" + missing));
    host_.transcript().clear();
    EXPECT_THAT(read(clipDocument(clipElement("item=\"A\"", pose))), IsEmpty()) << missing;
    EXPECT_EQ(code_, kUntouched);
    EXPECT_THAT(transcript(),
                ElementsAre("message: Debug Window: A basepose element lacks its " + missing + " element."));
  }
}

#if defined(_WIN32)
TEST_F(ClipReader, AComFailureIsShownInTheBoxWithItsDescriptionAndYieldsNothing) {
  // COM is started for each thread: on a thread of its own, without it, the
  // parser cannot be created.
  const std::string path = writeFile("clip.xml", clipDocument(clipElement("item=\"A\"")));
  AnimClip clip(1);
  code_ = kUntouched;
  std::thread([&] { clip = lwp::akio::readClipFile(path, code_); }).join();
  EXPECT_THAT(clip, IsEmpty());
  EXPECT_EQ(code_, kUntouched);
  const std::string prefix = "message: Debug Window: ";
  ASSERT_EQ(transcript().size(), 1u);
  EXPECT_EQ(transcript()[0].rfind(prefix, 0), 0u) << transcript()[0];
  EXPECT_GT(transcript()[0].size(), prefix.size()) << "the box tells why";
}
#endif

TEST_F(ClipReader, TheMessageBoxEntryIsExportedByTheCommandLineHost) {
  EXPECT_THAT(lwtest::exportedNames(LWSIM_PATH), ::testing::Contains("lwpShowMessageBox"));
}

// --- Key numbers ---

TEST_F(ClipReader, KeyNumbersReadTheirNumericPrefix) {
  const AnimClip clip = read(clipDocument(
      clipElement("item=\"A\"",
                  "<targets><param channel=\"X\"/></targets><sources><fcurve>"
                  "<key time=\" 1.5x\" value=\"-2e1\" shape=\"2.9\" tension=\"abc\" continuity=\"\" bias=\"0.25\" "
                  "param0=\"+.5\" param1=\"3,75\" param2=\"1e-3\" param3=\"7\" />"
                  "<key time=\"2\" value=\"1\" />"
                  "</fcurve></sources>")));
  ASSERT_EQ(clip.size(), 1u);
  ASSERT_EQ(clip[0].channels[0].keys.size(), 2u);
  const AnimClipKey &key = clip[0].channels[0].keys[0];
  EXPECT_EQ(key.time, 1.5);
  EXPECT_EQ(key.value, -20.0);
  EXPECT_EQ(key.shape, 2);
  EXPECT_EQ(key.tension, 0.0);
  EXPECT_EQ(key.continuity, 0.0);
  EXPECT_EQ(key.bias, 0.25);
  EXPECT_EQ(key.param0, 0.5);
  EXPECT_EQ(key.param1, 3.0);
  EXPECT_EQ(key.param2, 0.001);
  EXPECT_EQ(key.param3, 7.0);
  // A key the writer would never produce: what it lacks reads as 0.
  const AnimClipKey &partial = clip[0].channels[0].keys[1];
  EXPECT_EQ(partial.time, 2.0);
  EXPECT_EQ(partial.shape, 0);
  EXPECT_EQ(partial.param3, 0.0);
}

TEST(ClipNumbers, ReadAsTheCLibraryReadsThemIntegersHeldToInt) {
  const auto sameBits = [](double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  };
  for (const char *text : {"1.5",
                           " -2.5e3x",
                           "+.5",
                           "-.5",
                           "0x1p3",
                           "-0X1P-2",
                           "00x1",
                           "1e",
                           "1e+",
                           ".e5",
                           "-",
                           "",
                           "inf",
                           "-Infinity",
                           "nan(7)",
                           "1e400",
                           "-1e-400",
                           "4e-320",
                           "123456789012345678901234",
                           "0.30000000000000004441",
                           "\t7",
                           "3,75"}) {
    EXPECT_TRUE(sameBits(lwp::akio::decimalNumber(text), std::strtod(text, nullptr))) << text;
    const long integer = std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX);
    EXPECT_EQ(lwp::akio::decimalInteger(text), integer) << text;
  }
  std::mt19937_64 random(7);
  char text[64];
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random() & 0xBFFFFFFFFFFFFFFFULL);  // below 2 in magnitude
    std::snprintf(text, sizeof text, i % 2 == 0 ? "%.17g" : "%.10f", value * (1 << (i % 30)));
    ASSERT_TRUE(sameBits(lwp::akio::decimalNumber(text), std::strtod(text, nullptr))) << text;
  }
  EXPECT_EQ(lwp::akio::decimalInteger("99999999999999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(lwp::akio::decimalInteger("-99999999999"), std::numeric_limits<int>::min());
}

TEST_F(ClipReader, ADecimalCommaLocaleDoesNotChangeTheNumbers) {
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "no decimal comma locale on this system";
  const AnimClip clip = read(clipDocument(clipElement("item=\"A\" fps=\"29.97\" range_start=\"1,5\"",
                                                      "<targets><param channel=\"X\"/></targets><sources><fcurve>" +
                                                          keyElement("0.25", "3,5") + "</fcurve></sources>")));
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ(clip[0].fps, 29.97);
  EXPECT_EQ(clip[0].rangeStart, 1.0);
  EXPECT_EQ(clip[0].channels[0].keys[0].time, 0.25);
  EXPECT_EQ(clip[0].channels[0].keys[0].value, 3.0);
}

// --- Text and encodings ---

// A document of one clip whose item name is given in the document's own
// encoding, and the UTF-8 name it must give the module.
struct EncodedName {
  const char *label;
  std::string bytes;
  std::string expected;
  const char *wineSkip;  // why Wine's MSXML cannot read it, or null
};

std::vector<EncodedName> encodedNames() {
  const auto declared = [](const char *encoding) {
    return std::string("<?xml version='1.0' encoding='") + encoding + "'?>";
  };
  const std::string hyo = "\xE8\xA1\xA8";  // 表, whose code page 932 form ends in a backslash byte
  std::vector<EncodedName> rows = {
      {"UTF-8 with no declaration", clipDocument(clipElement("item=\"" + hyo + "\""), ""), hyo, nullptr},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + clipDocument(clipElement("item=\"" + hyo + "\""), ""), hyo,
       nullptr},
      {"UTF-8 beyond code page 932", clipDocument(clipElement("item=\"Fu\xC3\x9F\xF0\x9F\x98\x80\"")),
       "Fu\xC3\x9F\xF0\x9F\x98\x80", nullptr},
      {"references", clipDocument("<clip item=\"A&amp;B&lt;&quot;&#x8868;&#35;&#xDF;&#x1F600;&#x9;\"/>"),
       "A&B<\"" + hyo + "#\xC3\x9F\xF0\x9F\x98\x80\t", nullptr},
      {"Shift_JIS with a NEC digit", clipDocument(clipElement("item=\"\x95\x5C\x8E\xA6\x87\x40\""), kSjisDeclaration),
       hyo + "\xE7\xA4\xBA\xE2\x91\xA0", lwtest::kWineRefusesShiftJis},
      {"EUC-JP", clipDocument(clipElement("item=\"\xC9\xBD\""), declared("EUC-JP")), hyo, lwtest::kWineLacksEucJp},
      {"ISO-8859-1", clipDocument(clipElement("item=\"caf\xE9\""), declared("ISO-8859-1")), "caf\xC3\xA9", nullptr},
  };
  for (const char *alias : {"sjis", "SHIFT_JIS", "x-sjis", "MS_Kanji", "windows-31j", "csShiftJIS"})
    rows.push_back(
        {alias, clipDocument(clipElement("item=\"\x95\x5C\""), declared(alias)), hyo, lwtest::kWineRefusesShiftJis});
  const std::string document = clipDocument(clipElement("item=\"@\""), declared("UTF-16"));
  const std::size_t at = document.find('@');
  const std::u16string named = widen(document.substr(0, at)) + u"\u8868" + widen(document.substr(at + 1));
  for (const bool bigEndian : {false, true})
    for (const bool mark : {false, true})
      rows.push_back({bigEndian ? "UTF-16BE" : "UTF-16LE",
                      (mark ? utf16Bytes(u"\uFEFF", bigEndian) : "") + utf16Bytes(named, bigEndian), hyo, nullptr});
  return rows;
}

TEST_F(ClipReader, NamesReachTheModuleAsUtf8WhateverTheDocumentsEncoding) {
  for (const EncodedName &row : encodedNames()) {
    SCOPED_TRACE(row.label);
    if (row.wineSkip != nullptr && lwtest::runningUnderWine()) continue;
    const AnimClip clip = read(row.bytes);
    ASSERT_EQ(clip.size(), 1u);
    EXPECT_EQ(clip[0].itemName, row.expected);
  }
}

TEST_F(ClipReader, ClipTextsLongerThan2047BytesTakeTheDefault) {
  const std::string fits(2047, 'a');
  std::string kanji;
  for (int i = 0; i < 682; ++i) kanji += "\xE8\xA1\xA8";  // 2046 bytes of UTF-8
  const std::string zeros(2046, '0');
  const AnimClip clip = read(
      clipDocument(clipElement("item=\"" + fits + "\" fullpath=\"" + fits + "b\"") +
                   clipElement("item=\"" + kanji + "a\" fullpath=\"" + kanji + "ab\"") +
                   clipElement("range_start=\"" + zeros + "5\" range_end=\"" + zeros + "05\" fps=\"" + zeros + "\"")));
  ASSERT_EQ(clip.size(), 3u);
  EXPECT_EQ(clip[0].itemName, fits);
  EXPECT_EQ(clip[0].fullPath, "");
  EXPECT_EQ(clip[1].itemName, kanji + "a");
  EXPECT_EQ(clip[1].fullPath, "");
  EXPECT_EQ(clip[2].rangeStart, 5.0);
  EXPECT_EQ(clip[2].rangeEnd, 1.7976931348623157e308);
  EXPECT_EQ(clip[2].fps, 0.0);
}

TEST(ClipAttributes, TextAndNumberFallBackOnlyWhereTheValueCannotBeHad) {
  EXPECT_EQ(lwp::akio::attributeText(std::nullopt, "none"), "none");
  EXPECT_EQ(lwp::akio::attributeText(std::string(), "none"), "");
  EXPECT_EQ(lwp::akio::attributeText(std::string("\xC3\xA9"), "none"), "\xC3\xA9");
  EXPECT_EQ(lwp::akio::attributeText(std::string("a\xC3"), "none"), "none");  // not well-formed
  EXPECT_EQ(lwp::akio::attributeNumber(std::nullopt, 24.0), 24.0);
  EXPECT_EQ(lwp::akio::attributeNumber(std::string("x"), 24.0), 0.0);
  EXPECT_EQ(lwp::akio::attributeNumber(std::string("1\xFF"), 24.0), 24.0);
}

TEST_F(ClipReader, ADocumentThatCannotBeDecodedYieldsNothingSilently) {
  const std::string body = clipElement("item=\"A\"");
  for (const std::string &bytes : {
           clipDocument(body + "<clip item=\"\xFF\xFE\"/>"),                         // not UTF-8
           clipDocument(body + "<clip item=\"\xF8\x88\x80\x80\x80\"/>"),             // a five-byte form
           clipDocument(body + "<clip item=\"\xF4\x90\x80\x80\"/>"),                 // beyond U+10FFFF
           clipDocument(body + "<clip item=\"\x81\x20\"/>", kSjisDeclaration),       // cut pair
           clipDocument(body, "<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>"),  // unknown
           clipDocument(body, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"),        // not 16-bit
       }) {
    SCOPED_TRACE(bytes);
    EXPECT_THAT(read(bytes), IsEmpty());
    EXPECT_EQ(code_, kUntouched);
  }
  EXPECT_THAT(transcript(), IsEmpty());
}

TEST_F(ClipReader, AUtf16DocumentWithAStrayByteAtItsEndYieldsNothingSilently) {
  LWTEST_SKIP_UNDER_WINE(lwtest::kWineIgnoresAStrayByte);
  const std::string bytes =
      utf16Bytes(u"\uFEFF", false) + utf16Bytes(widen(clipDocument(clipElement("item=\"A\""))), false) + "x";
  EXPECT_THAT(read(bytes), IsEmpty());
  EXPECT_EQ(code_, kUntouched);
  EXPECT_THAT(transcript(), IsEmpty());
}

// --- Documents that are not clip files ---

TEST_F(ClipReader, AMissingOrMalformedFileYieldsNothingSilently) {
  code_ = kUntouched;
  EXPECT_THAT(lwp::akio::readClipFile((dir_ / "missing.xml").string(), code_), IsEmpty());
  EXPECT_THAT(lwp::akio::readClipFile(dir_.path().string(), code_), IsEmpty());
#ifndef _WIN32
  // A named pipe without a writer: opening it must not wait for one.
  ASSERT_EQ(mkfifo((dir_ / "pipe.xml").c_str(), 0600), 0);
  EXPECT_THAT(lwp::akio::readClipFile((dir_ / "pipe.xml").string(), code_), IsEmpty());
#endif
  EXPECT_EQ(code_, kUntouched);
  const std::string good = clipDocument(clipElement("item=\"A\""));
  for (const std::string &bytes : {std::string(), good.substr(0, good.size() / 2), good + "<docroot/>",
                                   good + "trailing text", kUtf8Declaration + "<docroot><clip></docroot>"}) {
    SCOPED_TRACE(bytes);
    EXPECT_THAT(read(bytes), IsEmpty());
    EXPECT_EQ(code_, kUntouched);
  }
  EXPECT_THAT(transcript(), IsEmpty());
}

TEST_F(ClipReader, NoExternalDocumentTypeOrEntityIsRead) {
  const std::string secret = writeFile("secret.txt", "TOP-SECRET");
  const std::string dtd = writeFile("clip.dtd", "<!ATTLIST clip item CDATA \"FROM-DTD\">\n");
  const AnimClip typed = read(kUtf8Declaration + "<!DOCTYPE docroot SYSTEM \"file://" + dtd + "\">\n" +
                              clipDocument("<clip fps=\"30\"/>", ""));
  ASSERT_EQ(typed.size(), 1u);
  EXPECT_EQ(typed[0].itemName, "");
  EXPECT_EQ(typed[0].fps, 30.0);
  // An external entity may not stand in an attribute; whatever the parser
  // makes of it, the file's content never arrives.
  const AnimClip leaked = read(kUtf8Declaration + "<!DOCTYPE docroot [\n<!ENTITY leak SYSTEM \"file://" + secret +
                               "\">\n]>\n" + clipDocument("<clip item=\"&leak;\" fullpath=\"/&leak;\"/>", ""));
  for (const AnimClipItem &item : leaked) {
    EXPECT_THAT(item.itemName, ::testing::Not(::testing::HasSubstr("TOP-SECRET")));
    EXPECT_THAT(item.fullPath, ::testing::Not(::testing::HasSubstr("TOP-SECRET")));
  }
  EXPECT_THAT(transcript(), IsEmpty());
}

// --- Files of the writer ---

AnimClipKey keyAt(double time, double value, int shape, double p) {
  AnimClipKey key;
  key.time = time;
  key.value = value;
  key.shape = shape;
  key.tension = p / 3.0;
  key.continuity = -p / 7.0;
  key.bias = p * 0.1;
  key.param0 = p + 1.0 / 3.0;
  key.param1 = -p;
  key.param2 = p * 1e-9;
  key.param3 = p * 12345.678901234;  // below 1e5: %.10f holds every digit a double has
  return key;
}

TEST_F(ClipReader, AClipOfTheWriterReadsBackToItsPrecision) {
  LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED();
  ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  AnimClipItem arm;
  // 表示, ß, an emoji, a tab and the characters XML escapes.
  arm.itemName = "\xE8\xA1\xA8\xE7\xA4\xBA \"A&B<C\"\tFu\xC3\x9F\xF0\x9F\x98\x80";
  arm.fullPath = "/Rig/" + arm.itemName;
  arm.rangeStart = 1.0 / 30.0;
  arm.rangeEnd = 61.0 / 30.0;
  arm.fps = 30.0;
  arm.pivotPos = {0.1, -0.2, 1.0 / 3.0};
  arm.restRot = {90.0, -45.5, 1e-12};
  arm.channels = {AnimClipChannel{"Position.X", {keyAt(0.0, 0.5, 0, 1.0), keyAt(1.0 / 30.0, -2.0 / 3.0, 5, -2.5)}},
                  AnimClipChannel{"Face.Sm\xC3\xAFle\r\n", {}},
                  AnimClipChannel{"Rotation.H", {keyAt(2.0, 1e4 / 7.0, 3, 0.125)}}};
  AnimClipItem scene;
  scene.itemName = "LWScene";
  scene.fullPath = "/LWScene";
  scene.fps = 24.0;
  lwp::akio::writeClipFile({arm, scene}, (dir_ / "written.xml").string());

  int code = kUntouched;
  const AnimClip clip = lwp::akio::readClipFile((dir_ / "written.xml").string(), code);
  EXPECT_EQ(code, 3);
  ASSERT_EQ(clip.size(), 2u);
  EXPECT_EQ(clip[0].itemName, arm.itemName);
  EXPECT_EQ(clip[0].fullPath, arm.fullPath);
  EXPECT_EQ(fixed10(clip[0].rangeStart), fixed10(arm.rangeStart));
  EXPECT_EQ(fixed10(clip[0].rangeEnd), fixed10(arm.rangeEnd));
  EXPECT_EQ(clip[0].fps, 30.0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fixed10(clip[0].pivotPos[i]), fixed10(arm.pivotPos[i]));
    EXPECT_EQ(fixed10(clip[0].restRot[i]), fixed10(arm.restRot[i]));
  }
  ASSERT_EQ(clip[0].channels.size(), arm.channels.size());
  for (std::size_t c = 0; c < arm.channels.size(); ++c) {
    const AnimClipChannel &expected = arm.channels[c];
    const AnimClipChannel &got = clip[0].channels[c];
    EXPECT_EQ(got.name, expected.name);
    ASSERT_EQ(got.keys.size(), expected.keys.size());
    for (std::size_t k = 0; k < expected.keys.size(); ++k) {
      const AnimClipKey &a = expected.keys[k];
      const AnimClipKey &b = got.keys[k];
      EXPECT_EQ(b.shape, a.shape);
      for (const auto field :
           {&AnimClipKey::time, &AnimClipKey::value, &AnimClipKey::tension, &AnimClipKey::continuity,
            &AnimClipKey::bias, &AnimClipKey::param0, &AnimClipKey::param1, &AnimClipKey::param2, &AnimClipKey::param3})
        EXPECT_EQ(fixed10(b.*field), fixed10(a.*field)) << c << ' ' << k;
    }
  }
  EXPECT_EQ(clip[1].itemName, "LWScene");
  EXPECT_EQ(clip[1].fullPath, "/LWScene");
  EXPECT_THAT(clip[1].channels, IsEmpty());
}

}  // namespace
