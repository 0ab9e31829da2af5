// The clip file format on its own: the XML document the reader walks, the
// reader and the writer with their numbers and texts, the code page 932
// conversions, and the file and name helpers around them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <thread>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "clip_io/format/clip_attributes.h"
#include "clip_io/format/clip_reader.h"
#include "clip_io/format/clip_writer.h"
#include "clip_io/load/item_name_matcher.h"
#include "common/commands/exceptions.h"
#include "common/files/file_listing.h"
#include "common/globals/clip_globals.h"
#include "common/text/fixed_number.h"
#include "platform/files/directory_listing.h"
#include "platform/files/file_replace.h"
#include "platform/text/ansi_text.h"
#include "platform/text/code_page_932.h"
#include "platform/text/utf8_text.h"
#include "platform/xml/com_startup.h"
#include "platform/xml/xml_reader.h"
#include "sim/commands/ansi_text.h"
#include "sim/host.h"
#include "support/decimal_comma_locale.h"
#include "support/number_text.h"
#include "support/script_session.h"
#include "support/wine_host.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/text/wide_text_win32.h"
#endif

namespace {

namespace fs = std::filesystem;
using lwp::akio::AnimClip;
using lwp::akio::AnimClipChannel;
using lwp::akio::AnimClipItem;
using lwp::akio::AnimClipKey;
using lwtest::exactText;
using lwtest::fixed10;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kSjisDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n";
const std::string kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kHyo = "\xE8\xA1\xA8";  // 表, whose code page 932 form ends in a backslash byte

// A document with one clip category holding body.
std::string clipDocument(const std::string &body, const std::string &declaration = kUtf8Declaration) {
  return declaration + "<docroot>\n<info><tool>t</tool></info>\n<category type=\"LW_animClip\" format=\"1.0\" >\n" +
         body + "</category>\n</docroot>\n<!--EOF-->";
}
std::string clipElement(const std::string &attributes, const std::string &inside = "") {
  return "<clip " + attributes + " >\n" + inside + "</clip>\n";
}
std::string keyElement(const std::string &time, const std::string &value) {
  return "<key time=\"" + time + "\" value=\"" + value + "\" shape=\"0\" />";
}
const std::string kFullPose =
    "<basepose><pivot_pos x=\"1\" y=\"2\" z=\"3\"/><pivot_rot x=\"4\" y=\"5\" z=\"6\"/>"
    "<rest_pos x=\"7\" y=\"8\" z=\"9\"/><rest_rot x=\"10\" y=\"11\" z=\"12\"/></basepose>\n";

// UTF-16 code units of an ASCII or BMP text, as bytes in either order.
std::string utf16Bytes(const std::u16string &text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
    bytes += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
  }
  return bytes;
}
std::u16string widen(const std::string &ascii) { return std::u16string(ascii.begin(), ascii.end()); }

AnimClipItem itemNamed(const std::string &name, const std::string &path) {
  return {name, path, 1.0 / 30, 2.0, 30.0, {}, {}, {}, {}, {}};
}

class ClipFormat : public ::testing::Test {
 protected:
  // The load driver starts COM for the reader; the writer reports through the host.
  void SetUp() override {
    lwp::platform::startComOnce();
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  }
  std::string target(const std::string &name) const { return (dir_ / name).string(); }
  std::string writeFile(const std::string &name, const std::string &bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return target(name);
  }
  // Reads bytes as a clip file; the result code starts at zero.
  AnimClip read(const std::string &bytes) {
    code_ = 0;
    return lwp::akio::readClipFile(writeFile("clip.xml", bytes), code_);
  }
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  lwsim::Host host_;
  lwtest::ScratchDirectory dir_;
  int code_ = 0;
};

// ---- the reader ----

// Clips as the reader table compares them, each ended by "|": the item, "@"
// and its path, its range and rate where they are not the defaults, its base
// pose where one is set, and each channel with the times of its keys.
std::string describe(const AnimClip &clips) {
  constexpr double kMax = std::numeric_limits<double>::max();
  std::string text;
  for (const AnimClipItem &clip : clips) {
    text += clip.itemName + (clip.fullPath.empty() ? "" : "@" + clip.fullPath);
    if (std::make_tuple(clip.rangeStart, clip.rangeEnd, clip.fps) != std::make_tuple(-kMax, kMax, 24.0))
      text += "(" + exactText(clip.rangeStart) + "," + exactText(clip.rangeEnd) + "," + exactText(clip.fps) + ")";
    std::string pose;
    for (const lwp::akio::Vector3 &vector : {clip.pivotPos, clip.pivotRot, clip.restPos, clip.restRot})
      pose += exactText(vector[0]) + "," + exactText(vector[1]) + "," + exactText(vector[2]) + ";";
    if (pose != "0,0,0;0,0,0;0,0,0;0,0,0;") text += " pose " + pose;
    for (const AnimClipChannel &channel : clip.channels) {
      text += " " + channel.name + ":";
      for (const AnimClipKey &key : channel.keys) text += exactText(key.time) + ",";
    }
    text += "|";
  }
  return text;
}

struct ReadCase {
  std::string bytes;
  std::string clips;               // as described; none when the file fails
  const char *wineSkip = nullptr;  // why Wine's MSXML cannot read it
};

// Every failure yields nothing, silently; the result code has the pose bit
// when a clip has a base pose. Names reach the module as UTF-8 whatever the
// document's encoding.
TEST_F(ClipFormat, TheReaderTakesTheFirstExactCategoryAndDecodesStrictlyWhateverTheEncoding) {
  const auto fcurve = [](const std::string &time) { return "<fcurve>" + keyElement(time, time) + "</fcurve>"; };
  const auto declared = [](const std::string &encoding) { return "<?xml version='1.0' encoding='" + encoding + "'?>"; };
  const auto named = [](const std::string &item) { return clipElement("item=\"" + item + "\""); };
  const std::string body = named("A"), good = clipDocument(body), fits(2047, 'a'), zeros(2046, '0');
  std::string kanji;
  for (int i = 0; i < 682; ++i) kanji += kHyo;  // 2046 bytes of UTF-8
  const std::string dtd = writeFile("clip.dtd", "<!ATTLIST clip item CDATA \"FROM-DTD\">\n");
  const std::string category = "<category type=\"LW_animClip\" format=\"1.";
  std::vector<ReadCase> cases = {
      // The first exact category; an element counts once, for its nearest clip.
      {kUtf8Declaration + "<docroot>\n" + category +
           "0 \"><clip item=\"Padded\"/></category>\n"
           "<category type=\"lw_animclip\" format=\"1.0\"><clip item=\"Lower\"/></category>\n"
           "<category type=\"LW_animClip\"><clip item=\"NoFormat\"/></category>\n<group>" +
           category +
           "0\"><group><clip item=\"First\"><note><clip item=\"Inner\"><targets><param channel=\"X\"/></targets>"
           "</clip></note></clip></group><clip item=\"Last\"/></category></group>" +
           category + "0\"><clip item=\"Later\"/></category>\n</docroot>",
       "First|Inner X:|Last|"},
      {kUtf8Declaration + "<DocRoot>" + category + "0\">" + body + "</category></DocRoot>", ""},
      // Params of every targets add channels and every sources fills them in order.
      {clipDocument(clipElement("item=\"A\"",
                                "<targets><param channel=\"Position.X\"/><param channel=\"Position.Y\"/></targets>\n"
                                "<targets><group><param channel=\"Face.Smile\"/></group><param/></targets>\n<sources>" +
                                    fcurve("0") + "</sources>\n<sources>" + fcurve("2") + fcurve("5") + "</sources>")),
       "A Position.X:0,2, Position.Y:5, Face.Smile: :|"},
      // Texts longer than 2047 bytes take the default.
      {clipDocument(clipElement("item=\"" + fits + "\" fullpath=\"" + fits + "b\"") +
                    clipElement("item=\"" + kanji + "a\" fullpath=\"" + kanji + "ab\"") +
                    clipElement("range_start=\"" + zeros + "5\" range_end=\"" + zeros + "05\" fps=\"" + zeros + "\"")),
       fits + "|" + kanji + "a|(5,1.7976931348623157e+308,0)|"},
      // Missing values take their defaults; a number without digits reads as zero.
      {clipDocument("<clip/>" + clipElement("item=\"A\" fps=\"abc\" range_start=\"\" range_end=\" 2.5s\"") +
                    clipElement("item=\"Posed\"", kFullPose) +
                    clipElement("item=\"Sparse\"",
                                "<basepose><pivot_pos/><pivot_rot x=\"-1\"/><rest_pos/><deep><rest_rot z=\"0.5\"/>"
                                "</deep></basepose>")),
       "|A(0,2.5,0)|Posed pose 1,2,3;4,5,6;7,8,9;10,11,12;|Sparse pose 0,0,0;-1,0,0;0,0,0;0,0,0.5;|"},
      {good + "\n<?pi x?>\n<!-- c -->", "A|"},
      // Names in the document's own encoding.
      {"\xEF\xBB\xBF" + clipDocument(named(kHyo), ""), kHyo + "|"},
      {clipDocument(named("Fu\xC3\x9F\xF0\x9F\x98\x80")), "Fu\xC3\x9F\xF0\x9F\x98\x80|"},
      {clipDocument("<clip item=\"A&amp;B&lt;&quot;&#x8868;&#35;&#xDF;&#x1F600;&#x9;\"/>"),
       "A&B<\"" + kHyo + "#\xC3\x9F\xF0\x9F\x98\x80\t|"},
      {clipDocument(named("\x95\x5C\x8E\xA6\x87\x40"), kSjisDeclaration), kHyo + "\xE7\xA4\xBA\xE2\x91\xA0|",
       lwtest::kWineRefusesShiftJis},  // with a NEC digit
      {clipDocument(named("\xC9\xBD"), declared("EUC-JP")), kHyo + "|", lwtest::kWineLacksEucJp},
      {clipDocument(named("caf\xE9"), declared("ISO-8859-1")), "caf\xC3\xA9|"},
      // The declared encoding is read from the declaration only.
      {clipDocument(clipElement("item=\"\x95\x5C\" note='encoding=\"Shift_JIS\"'"), ""), "",
       lwtest::kWineRefusesShiftJis},
      {clipDocument(named("\x95\x5C"), "<?xml version = \"1.0\"\n  encoding = 'sjis' standalone='yes'?>"), kHyo + "|",
       lwtest::kWineRefusesShiftJis},
      // What cannot be decoded or is not one well-formed tree.
      {clipDocument(body + named("\xFF\xFE")), ""},                    // not UTF-8
      {clipDocument(body + named("\xF8\x88\x80\x80\x80")), ""},        // a five-byte form
      {clipDocument(body + named("\xF4\x90\x80\x80")), ""},            // beyond U+10FFFF
      {clipDocument(body + named("\x81\x20"), kSjisDeclaration), ""},  // a cut pair
      {clipDocument(body, declared("x-unheard-of")), ""},              // unknown
      {clipDocument(body, declared("UTF-16")), ""},                    // not 16-bit
      {"", ""},
      {good.substr(0, good.size() / 2), ""},
      {good + "trailing text", ""},
      // An fcurve beyond the channels empties the result, base pose and all.
      {clipDocument(clipElement("item=\"Good\"", kFullPose) +
                    clipElement("item=\"Bad\"", "<targets><param channel=\"A\"/></targets><sources>" + fcurve("0") +
                                                    fcurve("1") + "</sources>")),
       ""},
      {utf16Bytes(u"\uFEFF", false) + utf16Bytes(widen(good), false) + "x", "", lwtest::kWineIgnoresAStrayByte},
      // No external document type is read.
      {kUtf8Declaration + "<!DOCTYPE docroot SYSTEM \"file://" + dtd + "\">\n" + clipDocument("<clip fps=\"30\"/>", ""),
       "(-1.7976931348623157e+308,1.7976931348623157e+308,30)|"},
  };
  // Many channels without keys take no more than a file of their size may.
  std::string params, curves, bare = "Bare";
  for (int i = 0; i < 10000; ++i) params += "<param channel=\"X\"/>", curves += "<fcurve></fcurve>", bare += " X:";
  cases.push_back(
      {clipDocument(clipElement("item=\"Bare\"", "<targets>" + params + "</targets><sources>" + curves + "</sources>")),
       bare + "|"});
  // A character cut between two of the 64 KiB pieces the file is read in.
  const auto padded = [&](std::size_t pad) {
    return clipDocument(clipElement("note=\"" + std::string(pad, 'a') + "\" item=\"\x95\x5C\""), kSjisDeclaration);
  };
  cases.push_back({padded((1 << 16) - 1 - padded(0).find('\x95')), kHyo + "|", lwtest::kWineRefusesShiftJis});
  const std::string document = clipDocument(named("@"), declared("UTF-16"));
  const std::size_t at = document.find('@');
  const std::u16string utf16 = widen(document.substr(0, at)) + u"\u8868" + widen(document.substr(at + 1));
  for (const bool bigEndian : {false, true})
    for (const bool mark : {false, true})
      cases.push_back({(mark ? utf16Bytes(u"\uFEFF", bigEndian) : "") + utf16Bytes(utf16, bigEndian), kHyo + "|"});
  for (const ReadCase &each : cases) {
    SCOPED_TRACE(each.bytes);
    if (each.wineSkip != nullptr && lwtest::runningUnderWine()) continue;
    EXPECT_EQ(describe(read(each.bytes)), each.clips);
    EXPECT_EQ((code_ & lwp::akio::kBasePoseBit) != 0, each.clips.find(" pose ") != std::string::npos);
  }
  EXPECT_THAT(lwp::akio::readClipFile(target("missing.xml"), code_), IsEmpty());
  EXPECT_THAT(lwp::akio::readClipFile(dir_.path().string(), code_), IsEmpty());
  // Whatever the parser makes of an external entity in an attribute, the
  // file's content never arrives.
  const std::string secret = writeFile("secret.txt", "TOP-SECRET");
  EXPECT_THAT(describe(read(kUtf8Declaration + "<!DOCTYPE docroot [\n<!ENTITY leak SYSTEM \"file://" + secret +
                            "\">\n]>\n" + clipDocument("<clip item=\"&leak;\" fullpath=\"/&leak;\"/>", ""))),
              Not(HasSubstr("TOP-SECRET")));
  EXPECT_THAT(transcript(), IsEmpty());
  // Nested to the limit a clip reads; one level deeper the parser refuses the
  // file, or where it has no such limit (Wine's MSXML), the walk does.
  for (const int depth : {lwp::platform::kMaxElementDepth, lwp::platform::kMaxElementDepth + 1}) {
    std::string groups, ends;
    for (int level = 3; level < depth; ++level) groups += "<g>", ends += "</g>";  // below docroot and category
    EXPECT_EQ(describe(read(clipDocument(groups + named("Deep") + ends))),
              depth == lwp::platform::kMaxElementDepth ? "Deep|" : "");
  }
}

TEST_F(ClipFormat, NumbersReadTheirPrefixAsTheCLibraryDoesInAnyLocale) {
  const auto sameBits = [](double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  };
  // Each text between bars, the empty one too.
  std::istringstream texts(
      "1.5| -2.5e3x|+.5|-.5|0x1p3|-0X1P-2|00x1|1e|1e+|.e5|-||inf|-Infinity|nan(7)|1e400|-1e-400|4e-320|"
      "123456789012345678901234|0.30000000000000004441|\t7|3,75|99999999999999999999|-99999999999");
  for (std::string text; std::getline(texts, text, '|');) {
    EXPECT_TRUE(sameBits(lwp::akio::decimalNumber(text.c_str()), std::strtod(text.c_str(), nullptr))) << text;
    // Integers are held to int.
    EXPECT_EQ(lwp::akio::decimalInteger(text.c_str()),
              std::clamp<long>(std::strtol(text.c_str(), nullptr, 10), INT_MIN, INT_MAX))
        << text;
  }
  std::mt19937_64 random(7);
  char text[64];
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random() & 0xBFFFFFFFFFFFFFFFULL);  // below 2 in magnitude
    std::snprintf(text, sizeof text, i % 2 == 0 ? "%.17g" : "%.10f", value * (1 << (i % 30)));
    ASSERT_TRUE(sameBits(lwp::akio::decimalNumber(text), std::strtod(text, nullptr))) << text;
  }

  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "no decimal comma locale on this system";
  const AnimClip comma = read(clipDocument(clipElement("item=\"A\" fps=\"29.5\" range_start=\"1,5\"",
                                                       "<targets><param channel=\"X\"/></targets><sources><fcurve>" +
                                                           keyElement("0.25,5", "3") + "</fcurve></sources>")));
  std::setlocale(LC_NUMERIC, "C");  // before the description
  EXPECT_EQ(describe(comma), "A(1,1.7976931348623157e+308,29.5) X:0.25,|");
}

#if defined(_WIN32)
TEST_F(ClipFormat, AComFailureIsShownInTheBoxWithItsDescriptionAndYieldsNothing) {
  // COM is started for each thread: on a thread of its own, without it, the
  // parser cannot be created.
  const std::string path = writeFile("clip.xml", clipDocument(clipElement("item=\"A\"")));
  AnimClip clip(1);
  std::thread([&] { clip = lwp::akio::readClipFile(path, code_); }).join();
  EXPECT_THAT(clip, IsEmpty());
  const std::string prefix = "message: Debug Window: ";
  ASSERT_EQ(transcript().size(), 1u);
  EXPECT_EQ(transcript()[0].rfind(prefix, 0), 0u) << transcript()[0];
  EXPECT_GT(transcript()[0].size(), prefix.size()) << "the box tells why";
}
#endif

// ---- the writer ----

std::string fastFixed(double value) {
  std::string out;
  lwp::appendFixed10(out, value);
  return out;
}

TEST(FixedNumbers, MatchPrintfByteForByte) {
  // Zeros, the ends of the range, and values near the last decimal.
  for (const double value :
       {0.0, -0.0, 1e-11, -5e-11, 5e-11, 123456789.123456789, 1e300, -1.7976931348623157e308, 2.675, 1e-320})
    EXPECT_EQ(fastFixed(value), fixed10(value)) << value;
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
}

TEST_F(ClipFormat, TheWriterHasItsFixedLayout) {
  AnimClipItem item = itemNamed("Arm", "/Rig/Arm");
  item.pivotPos = {0.5, -2.0, 0.0};
  item.restRot = {0.25, 0.0, -0.125};
  const AnimClipKey bezier{0.5, -2.0, 5, 0.1, 0, 0, -0.25, 0, 0, 3.0};
  item.channels = {AnimClipChannel{"Position.X", {AnimClipKey{0.0, 0.5, 3}, bezier}},
                   AnimClipChannel{"Face.Smile", {}}};
  lwp::akio::writeClipFile({item}, target("arm.xml"));
  EXPECT_EQ(lwtest::readBytes(dir_ / "arm.xml"),
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n<docroot>\n\t<info>\n\t\t<author></author>\n"
            "\t\t<tool>qd_zaza02</tool>\n\t\t<comments></comments>\n\t\t<scene></scene>\n\t\t<created></created>\n"
            "\t\t<modified></modified>\n\t\t<unit name=\"centimeter\" meter=\"0.01\" />\n"
            "\t\t<axis up=\"Y\" order=\"left_hand\" />\n\t</info>\n"
            "\t<category type=\"LW_animClip\" format=\"1.0\" >\n"
            "\t\t<clip item=\"Arm\" type=\"param-fcurve\" fullpath=\"/Rig/Arm\" range_start=\"0.0333333333\" "
            "range_end=\"2.0000000000\" fps=\"30.0000000000\" >\n\t\t\t<basepose>\n"
            "\t\t\t\t<pivot_pos x=\"0.5000000000\" y=\"-2.0000000000\" z=\"0.0000000000\"/>\n"
            "\t\t\t\t<pivot_rot x=\"0.0000000000\" y=\"0.0000000000\" z=\"0.0000000000\"/>\n"
            "\t\t\t\t<rest_pos x=\"0.0000000000\" y=\"0.0000000000\" z=\"0.0000000000\"/>\n"
            "\t\t\t\t<rest_rot x=\"0.2500000000\" y=\"0.0000000000\" z=\"-0.1250000000\"/>\n\t\t\t</basepose>\n"
            "\t\t\t<targets>\n\t\t\t\t<param channel=\"Position.X\" />\n\t\t\t\t<param channel=\"Face.Smile\" />\n"
            "\t\t\t</targets>\n\t\t\t<sources>\n\t\t\t\t<fcurve>\n"
            "\t\t\t\t\t<key time=\"0.0000000000\" value=\"0.5000000000\" shape=\"3\" tension=\"0.0000000000\" "
            "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"0.0000000000\" param1=\"0.0000000000\" "
            "param2=\"0.0000000000\" param3=\"0.0000000000\" />\n"
            "\t\t\t\t\t<key time=\"0.5000000000\" value=\"-2.0000000000\" shape=\"5\" tension=\"0.1000000000\" "
            "continuity=\"0.0000000000\" bias=\"0.0000000000\" param0=\"-0.2500000000\" param1=\"0.0000000000\" "
            "param2=\"0.0000000000\" param3=\"3.0000000000\" />\n\t\t\t\t</fcurve>\n\t\t\t\t<fcurve>\n"
            "\t\t\t\t</fcurve>\n\t\t\t</sources>\n\t\t</clip>\n\t</category>\n</docroot>\n<!--EOF-->");
  // Clips follow each other; one without channels keeps its pairs; no clip, no file.
  lwp::akio::writeClipFile({itemNamed("A", "/A"), itemNamed("B", "/A/B")}, target("two.xml"));
  EXPECT_THAT(lwtest::readBytes(dir_ / "two.xml"),
              HasSubstr("\t\t\t<targets>\n\t\t\t</targets>\n\t\t\t<sources>\n\t\t\t</sources>\n\t\t</clip>\n\t\t<clip "
                        "item=\"B\" type=\"param-fcurve\" fullpath=\"/A/B\""));
  EXPECT_THAT(filesInDir(), ElementsAre("arm.xml", "two.xml"));
  EXPECT_THAT(transcript(), IsEmpty());
}

// The path of a failed save, its box and the Japanese line are checked
// through the module's save panel.
TEST_F(ClipFormat, AFailedSaveShowsWhatTheNameCanShowAndKeepsThePreviousFile) {
  // A text no XML can carry: U+FFFD stands in for what cannot be shown, and
  // on Windows the status line passes through the ANSI code page.
  const std::string path = writeFile("take.xml", "previous");
  AnimClipItem badChannel = itemNamed("Arm", "/Arm");
  badChannel.channels = {AnimClipChannel{"Bad\x01", {}}};
  const std::string replacement = "\xEF\xBF\xBD";
  const std::vector<std::pair<AnimClipItem, std::string>> cases = {
      {itemNamed("Arm\xFF", "/Arm"), "Arm" + replacement},
      {itemNamed("Arm\x01", "/Arm"), "Arm" + replacement},
      {itemNamed("Arm\xEF\xBF\xBF", "/Arm"), "Arm\xEF\xBF\xBF"},  // U+FFFF
      {itemNamed("Arm", "/Rig\xC3/Arm"), "Arm"},
      {badChannel, "Arm"}};
  for (const auto &[bad, shown] : cases) {
    host_.transcript().clear();
    EXPECT_THROW(lwp::akio::writeClipFile({itemNamed("Good", "/Good"), bad}, path), lw::ex::CFileReadWriteEx);
    const std::string line = "*** ERROR: Failed to save file !(" + shown + ") ***";
    EXPECT_THAT(transcript(), ElementsAre("status: " + lwsim::utf8FromAnsi(lwp::platform::ansiForDisplay(line))));
  }
  EXPECT_EQ(lwtest::readBytes(path), "previous");
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
}

// A save keeps read-only clips, permissions and what has a temporary name,
// and one that fails part way leaves the previous clip and no partial file.
TEST_F(ClipFormat, ASaveReplacesTheClipSafelyOrNotAtAll) {
  const std::string path = target("take.xml");
  lwp::akio::writeClipFile({itemNamed("A", "/A")}, path);
  const std::string first = lwtest::readBytes(path);
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, kWrite, fs::perm_options::remove);
  EXPECT_THROW(lwp::akio::writeClipFile({itemNamed("B", "/B")}, path), lw::ex::CFileReadWriteEx);
  EXPECT_EQ(lwtest::readBytes(path), first);
  EXPECT_THAT(transcript(), ElementsAre("status: *** ERROR: Failed to save file !(" + path + ") ***"));
#ifndef _WIN32
  constexpr fs::perms kUnusual = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, kUnusual);
  lwp::akio::writeClipFile({itemNamed("B", "/B")}, path);
  EXPECT_THAT(lwtest::readBytes(path), HasSubstr("item=\"B\""));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, kUnusual);
  // A link at a temporary name is neither followed nor replaced.
  fs::create_symlink(target("victim"), path + ".saving-link");
  bool linkTaken = false;
  EXPECT_EQ(lwp::platform::createNewFile((path + ".saving-link").c_str(), nullptr, linkTaken), nullptr);
  EXPECT_TRUE(linkTaken);
  EXPECT_FALSE(fs::exists(target("victim")));
#endif
  // Nor is a file.
  const std::string taken = writeFile("take.xml.saving-file", "");
  bool fileTaken = false;
  EXPECT_EQ(lwp::platform::createNewFile(taken.c_str(), nullptr, fileTaken), nullptr);
  EXPECT_TRUE(fileTaken);
  EXPECT_TRUE(fs::exists(taken));
#ifndef _WIN32
  fs::remove(taken);
  fs::remove(path + ".saving-link");
  const std::string previous = lwtest::readBytes(path);
  AnimClipItem big = itemNamed("New", "/New");
  big.channels.push_back(AnimClipChannel{"Position.X", {}});
  for (int i = 0; i < 5000; ++i) big.channels.back().keys.push_back(AnimClipKey{i / 30.0, static_cast<double>(i)});
  // Files may not grow past a limit, so the clip fails part way through
  // writing, as on a full disk (a POSIX process limit).
  rlimit unlimited{}, limited{};
  getrlimit(RLIMIT_FSIZE, &unlimited);
  limited = unlimited;
  limited.rlim_cur = previous.size() + 16 * 1024;
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  EXPECT_THROW(lwp::akio::writeClipFile({big}, path), lw::ex::CFileReadWriteEx);
  setrlimit(RLIMIT_FSIZE, &unlimited);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(lwtest::readBytes(path), previous);
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
  // Without the limit the same clip replaces the old one completely.
  lwp::akio::writeClipFile({big}, path);
  const std::string written = lwtest::readBytes(path);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 13 + 13 + 2 + 5000 + 3 - 1);
  EXPECT_THAT(filesInDir(), ElementsAre("take.xml"));
#endif
}

// A value that overflows on its way is passed over, and a key the host
// refuses is not written: each is counted for the load's status lines.
// ---- texts, files and names ----

TEST(CodePage932, CharactersWithAFormOfTheirOwnConvertAndNothingElse) {
  using lwp::platform::codePage932FromUtf8;
  constexpr std::size_t kRoomy = 100;
  const std::pair<const char *, const char *> converted[] = {{"Rig/Arm.L \\~", "Rig/Arm.L \\~"},
                                                             {"\xE8\xA1\xA8\xE7\xA4\xBA", "\x95\x5C\x8E\xA6"},  // 表示
                                                             {"\xEF\xBD\xB1", "\xB1"},  // half-width katakana
                                                             {"\xE2\x91\xA0\xE2\x85\xB0", "\x87\x40\xFA\x40"},  // ① ⅰ
                                                             {"", ""}};
  for (const auto &[utf8, bytes] : converted) EXPECT_EQ(codePage932FromUtf8(utf8, kRoomy), bytes) << utf8;
  // Without a form, with only a look-alike, or not UTF-8 at all.
  for (const char *text : {"caf\xC3\xA9", "\xF0\x9F\x98\x80", "\xC2\xA5", "\xE3\x80\x9C", "\xE2\x80\x96",
                           "\xE2\x88\x92", "\xC2\xAC", "a\xC2\xA0", "\xFF", "\xE8\xA1", "\xED\xA0\x80"})
    EXPECT_EQ(codePage932FromUtf8(text, kRoomy), std::nullopt) << text;
  EXPECT_EQ(lwp::platform::utf8FromCodePage932("\x95\x5C\x8E\xA6 A"), "\xE8\xA1\xA8\xE7\xA4\xBA A");
  // UTF-8 counts only well-formed characters.
  for (const char *good : {"", "Fu\xC3\x9F", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(lwp::platform::isValidUtf8(good)) << good;
  for (const char *bad : {"\x80", "a\xE8\xA1", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"})
    EXPECT_FALSE(lwp::platform::isValidUtf8(bad)) << bad;
#ifdef _WIN32
  // A text for the message box keeps what converts around what cannot.
  EXPECT_EQ(lwp::platform::codePageFromWide(L"Error \u0100 \u8868", 932), std::nullopt);
  const std::string shown = lwp::platform::narrowForDisplay(L"Error \u0100 \u8868", 932);
  EXPECT_EQ(shown.rfind("Error ", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 3), " \x95\x5C") << shown;
#endif
}

TEST_F(ClipFormat, DirectoryListingsHoldTheFilesAndLinksToFiles) {
  const std::string dir = target("list"), separator(1, lwp::platform::kPathSeparator);
  fs::create_directories(dir + "/sub");
  for (const char *name : {"walk.xml", ".hidden", "no extension", "sub/inner.xml"})
    std::ofstream(dir + "/" + name) << "clip\n";
  std::vector<std::string> expected;
  for (const char *name : {".hidden", "no extension", "walk.xml"}) expected.push_back(dir + separator + name);
#ifdef _WIN32
  // Files marked hidden or system are listed.
  ASSERT_TRUE(SetFileAttributesW((fs::path(dir) / "walk.xml").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
#else
  // Links count by what they lead to.
  fs::create_symlink(dir + "/walk.xml", dir + "/link to file");
  fs::create_directory_symlink(dir + "/sub", dir + "/link to folder");
  fs::create_symlink(dir + "/gone.xml", dir + "/dangling");
  expected.insert(expected.begin() + 1, dir + separator + "link to file");
#endif
  // Trailing separators of the directory do not change the paths.
  std::vector<std::string> files = lwp::listFiles(dir + separator + separator);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, expected);
  EXPECT_THAT(lwp::listFiles(target("missing")), IsEmpty());
  EXPECT_THAT(lwp::listFiles(""), IsEmpty());
}

TEST(ItemNameConversion, EachModeConvertsNamesAndPathsItsOwnWay) {
  const auto matcher = [](int mode, const std::string &from = "_L_", const std::string &pattern = "(.*)_L(.*)") {
    lwp::akio::ZaduDuzAVOptions options = lwp::akio::loadDefaults();
    options.nameConvertMode = mode;
    options.namePrefix = options.nameSuffix = "_x_";
    options.replaceFrom = from;
    options.regexPattern = pattern;
    return lwp::akio::ItemNameMatcher(options);
  };
  const std::tuple<int, const char *, const char *> names[] = {
      {0, "arm_L", "arm_L"},           {1, "arm_L", "_x_arm_L"},  {2, "arm_L", "arm_L_x_"}, {9, "arm_L", "arm_L"},
      {3, "a_L_b_L_c", "a_R_b_R_c"},   {3, "a_L_L_b", "a_R_L_b"},   // no overlapping occurrences
      {4, "hand_L_tip", "hand_R_tip"}, {4, "a_L_b_L", "a_L_b_R"}};  // the greedy group takes the first _L
  for (const auto &[mode, name, converted] : names) EXPECT_EQ(matcher(mode).convertName(name), converted) << name;
  EXPECT_EQ(matcher(3, "").convertName("arm_L"), "arm_L");  // an empty search text leaves the name
  // Paths are converted component by component after the first separator
  // (the panel tests load onto converted paths), a name without one as a name.
  EXPECT_EQ(matcher(4).convertPath("Hip_L") + " " + matcher(1).convertPath("/Rig//Leg/"),
            "Hip_R /_x_Rig/_x_/_x_Leg/_x_");
  // A pattern that does not compile counts only for its own mode (the panel
  // tests show its message).
  EXPECT_NO_THROW(matcher(3, "_L_", "([a-"));
}

}  // namespace
