// The command and status layer of both sides, run against the simulated
// host's command interface.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "common/commands/clip_commands.h"
#include "common/commands/entry_guard.h"
#include "common/commands/exceptions.h"
#include "common/commands/key_commands.h"
#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "common/globals/interface_refetch.h"
#include "common/text/text_format.h"
#include "sim/host.h"
#include "support/decimal_comma_locale.h"

namespace {

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  }

  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (const auto &record : host_.commands().log()) lines.push_back(record.line);
    return lines;
  }

  lwsim::Host host_;
};

// ---- clip side ----

TEST_F(Commands, EmptyCommandShowsTheErrorLineAndThrowsAnEvalError) {
  static_assert(!std::is_base_of_v<std::exception, lw::ex::CBaseEx>, "standard handlers must not catch it");
  try {
    lwp::eval("");
    FAIL() << "eval of the empty text must throw";
  } catch (const lw::ex::CBaseEx &error) {
    EXPECT_NE(dynamic_cast<const lw::ex::CEvalEx *>(&error), nullptr);
    EXPECT_EQ(error.message(), "eval( \"\" )");
  }
  EXPECT_EQ(commandLines(), std::vector<std::string>{"StatusMsg *** ERROR: eval( \"\" ) ***"});
}

TEST_F(Commands, RefusedCommandGivesOneErrorLineAndTheWorkGoesOn) {
  host_.commands().refuse("SelectItem");
  lwp::eval("SelectItem 0x10000001 100%d");
  lwp::eval("StatusMsg next");
  EXPECT_EQ(transcript(), (std::vector<std::string>{
                              "refused: SelectItem 0x10000001 100%d",
                              "status: *** ERROR: eval( \"SelectItem 0x10000001 100%d\" ) !(0) ***",
                              "status: next",
                          }));
}

TEST_F(Commands, RefusedErrorLineIsNotReportedAgain) {
  host_.commands().refuse("StatusMsg");
  lwp::eval("Bogus");
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"Bogus", "StatusMsg *** ERROR: eval( \"Bogus\" ) !(0) ***"}));
}

TEST_F(Commands, StatusAndProgressLinesAreFormattedExactly) {
  lwp::statusMsg("plain");
  lwp::statusMsgFormat("%d of %s", 3, "items");
  lwp::progressMsg(0.5f, "%s", " half way");
  lwp::progressMsg(1.0f, "done");
  lwp::reportError("file %s", "a.xml");
  EXPECT_EQ(commandLines(), (std::vector<std::string>{
                                "StatusMsg plain",
                                "StatusMsg 3 of items",
                                "StatusMsg {0.50} half way",
                                "StatusMsg {1.00}done",
                                "StatusMsg *** ERROR: file a.xml ***",
                            }));
}

TEST_F(Commands, ErrorLinesNeedACommandFunction) {
  host_.globals().withhold("LW Command Interface");
  EXPECT_FALSE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  lwp::errorMsg("nobody hears this");
  EXPECT_TRUE(commandLines().empty());
}

TEST_F(Commands, TextBeyond511BytesBecomesEmptyAndEvalOfItFails) {
  const std::string fits(511, 'a');
  EXPECT_EQ(lwp::formatBounded("%s", fits.c_str()), fits);
  EXPECT_EQ(lwp::formatBounded("%s!", fits.c_str()), "");
  const std::string tooLong(502, 'b');  // "StatusMsg " + 502 bytes = 512
  EXPECT_THROW(lwp::evalFormat("StatusMsg %s", tooLong.c_str()), lw::ex::CEvalEx);
  lwp::statusMsgFormat("%s", tooLong.c_str());  // the text alone fits
  lwp::statusMsgFormat("%s!", fits.c_str());    // the text alone does not
  EXPECT_EQ(commandLines(),
            (std::vector<std::string>{"StatusMsg *** ERROR: eval( \"\" ) ***", "StatusMsg " + tooLong, "StatusMsg "}));
}

TEST_F(Commands, InterfaceInfoThatVanishedIsAnError) {
  host_.globals().withhold("LW Interface Info 8");
  try {
    lwp::refetchInterfaceInfoChecked();
    FAIL() << "a missing interface info must throw";
  } catch (const lw::ex::CBaseEx &error) {
    EXPECT_EQ(error.message(), "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )");
  }
  EXPECT_EQ(transcript(),
            std::vector<std::string>{"status: *** ERROR: g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT ) ***"});
}

// ---- key-setter side ----

TEST_F(Commands, KeyStatusLinesKeepTheirTrailingBlank) {
  lwp::keyStatusMsg("");
  lwp::keyStatusMsg("Keyed 3 channels");
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"StatusMsg {1.0} ", "StatusMsg {1.0} Keyed 3 channels"}));
}

TEST_F(Commands, KeySetterSideIgnoresRefusals) {
  lwp::issueCommand("Bogus 1");
  lwp::issueCommand("StatusMsg after");
  EXPECT_EQ(transcript(), (std::vector<std::string>{"refused: Bogus 1", "status: after"}));
}

// ---- both sides ----

TEST_F(Commands, LinesReachTheHostInItsAnsiCodePage) {
  // No ANSI code page holds the emoji. A status line shows "?" for it; any
  // other line is not issued, and an error line says so.
  const std::string smile = "\xF0\x9F\x98\x80";
  lwp::statusMsg("a" + smile);
  lwp::keyStatusMsg("b" + smile);
  lwp::eval("StatusMsg c" + smile);
  lwp::issueCommand("StatusMsg d" + smile);
#ifdef _WIN32
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "this system's ANSI code page is UTF-8";
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"StatusMsg a?", "StatusMsg {1.0} b?",
                                                      "StatusMsg *** ERROR: eval( \"StatusMsg c?\" ) !(0) ***",
                                                      "StatusMsg {1.0} Error! cannot issue StatusMsg d?"}));
#else
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"StatusMsg a" + smile, "StatusMsg {1.0} b" + smile,
                                                      "StatusMsg c" + smile, "StatusMsg d" + smile}));
#endif
}

// ---- formatting ----

TEST(TextFormat, GrowingBufferHasNoLimitAndForgetsEarlierTexts) {
  const std::string big(20000, 'x');
  EXPECT_EQ(lwp::formatGrowing("<%s>", big.c_str()), "<" + big + ">");
  EXPECT_EQ(lwp::formatGrowing("%d", 7), "7");
}

TEST(TextFormat, ItemIdsPrintTheirLow32Bits) {
  const auto *id = reinterpret_cast<const void *>(static_cast<std::uintptr_t>(0x12345678ABCDEF01ull));
  EXPECT_EQ(lwp::formatBounded("SelectItem 0x%x", lwp::idArg(id)), "SelectItem 0xabcdef01");
  EXPECT_EQ(lwp::formatGrowing("0x%x", lwp::idArg(reinterpret_cast<const void *>(0x10000001))), "0x10000001");
}

TEST(TextFormat, NumbersUseADecimalPointWhateverTheProcessLocale) {
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  EXPECT_STREQ(native, "1,5") << "the locale is in effect for the process";
  const std::string bounded = lwp::formatBounded("%.10f", 1.5);
  const std::string growing = lwp::formatGrowing("%.2f", 0.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(bounded, "1.5000000000");
  EXPECT_EQ(growing, "0.25");
}

}  // namespace

namespace {

// ---- entries from the host ----

TEST(EntryGuard, NoExceptionLeavesAnEntryAndEachIsReported) {
  std::vector<std::string> reports;
  const auto report = [&reports](const std::string &text) { reports.push_back(text); };
  EXPECT_EQ(lwp::guardEntry(
                2, [] { return 0; }, report),
            0);
  EXPECT_EQ(lwp::guardEntry(
                2, []() -> int { throw lw::ex::CFileReadWriteEx("disk full"); }, report),
            2);
  EXPECT_EQ(lwp::guardEntry(
                2, []() -> int { throw std::runtime_error("out of range"); }, report),
            2);
  EXPECT_EQ(lwp::guardEntry(
                2, []() -> int { throw 42; }, report),
            2);
  EXPECT_EQ(lwp::guardEntry(
                3, []() -> int { throw std::runtime_error("first"); },
                [](const std::string &) { throw std::runtime_error("the report fails too"); }),
            3);
  EXPECT_EQ(reports, (std::vector<std::string>{"disk full", "out of range", "unknown error"}));
}

}  // namespace
