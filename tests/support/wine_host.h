// What the Windows build's tests must know of Wine, where they run on our
// Linux machines: a few things Wine's MSXML does not do as MSXML 6 on
// Windows does. Tests that depend on them are skipped under Wine alone.
#pragma once

namespace lwtest {

// Whether this process runs under Wine rather than on Windows or Linux.
bool runningUnderWine();

inline constexpr const char *kWineRefusesShiftJis =
    "Wine's MSXML refuses every document that declares Shift_JIS; MSXML 6 on Windows decodes it";
inline constexpr const char *kWineLacksEucJp =
    "Wine's MSXML refuses documents that declare EUC-JP; MSXML 6 on Windows decodes them";
inline constexpr const char *kWineIgnoresAStrayByte =
    "Wine's MSXML ignores a stray byte after a UTF-16 document; MSXML 6 on Windows refuses it";

}  // namespace lwtest

// Skips the calling test under Wine, for the reason given.
#define LWTEST_SKIP_UNDER_WINE(reason)                        \
  do {                                                        \
    if (::lwtest::runningUnderWine()) GTEST_SKIP() << reason; \
  } while (false)

// For tests that read a document declaring Shift_JIS through the platform's
// parser.
#define LWTEST_SKIP_WHERE_SHIFT_JIS_IS_REFUSED() LWTEST_SKIP_UNDER_WINE(::lwtest::kWineRefusesShiftJis)
