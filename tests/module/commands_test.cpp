// The command and status layer of both sides, run against the simulated
// host's command interface, and the text formatting beneath it.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <clocale>
#include <cstdio>
#include <functional>
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

using Lines = std::vector<std::string>;

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  }
  Lines commandLines() const {
    Lines lines;
    for (const auto &record : host_.commands().log()) lines.push_back(record.line);
    return lines;
  }

  lwsim::Host host_;
};

// The clip side shows an error line for a command that fails (refused, empty
// or beyond 511 bytes) and throws an eval error, but never reports a refused
// error line again; status and progress lines are formatted exactly; a
// vanished interface info is an error; without a command function nothing
// is issued. The key setter's status lines keep their trailing blank and it
// ignores refusals.
TEST_F(Commands, EachSideIssuesItsLinesAndReportsWhatFails) {
  static_assert(!std::is_base_of_v<std::exception, lw::ex::CBaseEx>, "standard handlers must not catch it");
  const auto evalError = [](const auto &work) {
    try {
      work();
    } catch (const lw::ex::CEvalEx &error) {
      return error.message();
    }
    return std::string("no eval error");
  };
  EXPECT_EQ(evalError([] { lwp::eval(""); }), "eval( \"\" )");
  host_.commands().refuse("SelectItem");
  lwp::eval("SelectItem 0x10000001 100%d");
  lwp::eval("StatusMsg next");
  EXPECT_EQ(host_.transcript().formatted(),
            (Lines{"status: *** ERROR: eval( \"\" ) ***", "refused: SelectItem 0x10000001 100%d",
                   "status: *** ERROR: eval( \"SelectItem 0x10000001 100%d\" ) !(0) ***", "status: next"}));
  lwp::statusMsg("plain");
  lwp::statusMsgFormat("%d of %s", 3, "items");
  lwp::progressMsg(0.5f, "%s", " half way");
  lwp::progressMsg(1.0f, "done");
  lwp::reportError("file %s", "a.xml");
  const std::string fits(511, 'a'), tooLong(502, 'b');  // "StatusMsg " + 502 bytes = 512
  EXPECT_EQ(lwp::formatBounded("%s", fits.c_str()), fits);
  EXPECT_EQ(lwp::formatBounded("%s!", fits.c_str()), "");
  EXPECT_EQ(evalError([&] { lwp::evalFormat("StatusMsg %s", tooLong.c_str()); }), "eval( \"\" )");
  lwp::statusMsgFormat("%s", tooLong.c_str());  // the text alone fits
  lwp::statusMsgFormat("%s!", fits.c_str());    // the text alone does not
  lwp::keyStatusMsg("");
  lwp::keyStatusMsg("Keyed 3 channels");
  lwp::issueCommand("Bogus 1");
  lwp::issueCommand("StatusMsg after");
  host_.globals().withhold("LW Interface Info 8");
  try {
    lwp::refetchInterfaceInfoChecked();
    ADD_FAILURE() << "a missing interface info must throw";
  } catch (const lw::ex::CBaseEx &error) {
    EXPECT_EQ(error.message(), "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )");
  }
  host_.commands().refuse("StatusMsg");
  lwp::eval("Bogus");
  host_.globals().restore("LW Interface Info 8");
  host_.globals().withhold("LW Command Interface");
  EXPECT_FALSE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  lwp::errorMsg("nobody hears this");
  EXPECT_EQ(
      commandLines(),
      (Lines{"StatusMsg *** ERROR: eval( \"\" ) ***", "SelectItem 0x10000001 100%d",
             "StatusMsg *** ERROR: eval( \"SelectItem 0x10000001 100%d\" ) !(0) ***", "StatusMsg next",
             "StatusMsg plain", "StatusMsg 3 of items", "StatusMsg {0.50} half way", "StatusMsg {1.00}done",
             "StatusMsg *** ERROR: file a.xml ***", "StatusMsg *** ERROR: eval( \"\" ) ***", "StatusMsg " + tooLong,
             "StatusMsg ", "StatusMsg {1.0} ", "StatusMsg {1.0} Keyed 3 channels", "Bogus 1", "StatusMsg after",
             "StatusMsg *** ERROR: g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT ) ***", "Bogus",
             "StatusMsg *** ERROR: eval( \"Bogus\" ) !(0) ***"}));
}

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
  EXPECT_EQ(commandLines(),
            (Lines{"StatusMsg a?", "StatusMsg {1.0} b?", "StatusMsg *** ERROR: eval( \"StatusMsg c?\" ) !(0) ***",
                   "StatusMsg {1.0} Error! cannot issue StatusMsg d?"}));
#else
  EXPECT_EQ(commandLines(),
            (Lines{"StatusMsg a" + smile, "StatusMsg {1.0} b" + smile, "StatusMsg c" + smile, "StatusMsg d" + smile}));
#endif
}

// A growing buffer has no limit and forgets earlier texts; item ids print
// their low 32 bits; numbers use a decimal point whatever the locale.
TEST(TextFormat, GrowingBufferItemIdsAndNumbersWhateverTheLocale) {
  const std::string big(20000, 'x');
  EXPECT_EQ(lwp::formatGrowing("<%s>", big.c_str()), "<" + big + ">");
  EXPECT_EQ(lwp::formatGrowing("%d", 7), "7");
  const auto *id = reinterpret_cast<const void *>(static_cast<std::uintptr_t>(0x12345678ABCDEF01ull));
  EXPECT_EQ(lwp::formatBounded("SelectItem 0x%x", lwp::idArg(id)), "SelectItem 0xabcdef01");
  EXPECT_EQ(lwp::formatGrowing("0x%x", lwp::idArg(reinterpret_cast<const void *>(0x10000001))), "0x10000001");
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  const std::string bounded = lwp::formatBounded("%.10f", 1.5), growing = lwp::formatGrowing("%.2f", 0.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(native, "1,5") << "the locale is in effect for the process";
  EXPECT_EQ(bounded, "1.5000000000");
  EXPECT_EQ(growing, "0.25");
}

// No exception leaves an entry from the host, and each is reported, even
// when the report fails too.
TEST(EntryGuard, NoExceptionLeavesAnEntryAndEachIsReported) {
  Lines reports;
  const auto report = [&reports](const std::string &text) { reports.push_back(text); };
  const std::function<int()> entries[] = {
      [] { return 0; }, []() -> int { throw lw::ex::CFileReadWriteEx("disk full"); },
      []() -> int { throw std::runtime_error("out of range"); }, []() -> int { throw 42; }};
  for (const auto &entry : entries) EXPECT_EQ(lwp::guardEntry(2, entry, report), &entry == entries ? 0 : 2);
  const auto failingReport = [](const std::string &) { throw std::runtime_error("the report fails too"); };
  EXPECT_EQ(lwp::guardEntry(
                3, []() -> int { throw std::runtime_error("first"); }, failingReport),
            3);
  EXPECT_EQ(reports, (Lines{"disk full", "out of range", "unknown error"}));
}

}  // namespace
