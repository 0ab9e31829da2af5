// The module's UTF-8 read character by character, and its conversions to
// code page 932: every character with a form of its own converts, anything
// else refuses, within a byte limit.
#include <gtest/gtest.h>

#include "platform/text/code_page_932.h"
#include "platform/text/utf8_text.h"

#ifdef _WIN32
#include "platform/text/wide_text_win32.h"
#endif

namespace {

using lwp::platform::codePage932FromUtf8;
using lwp::platform::utf8FromCodePage932;

constexpr std::size_t kRoomy = 100;

TEST(Utf8Text, OnlyWellFormedCharactersCountAndNoneIsCut) {
  for (const char *good : {"", "Arm", "Fu\xC3\x9F", "\xE8\xA1\xA8", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(lwp::platform::isValidUtf8(good)) << good;
  // A lone continuation, a cut sequence, overlong forms, a surrogate, beyond
  // U+10FFFF, bytes that never occur.
  for (const char *bad : {"\x80", "a\xE8\xA1", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"})
    EXPECT_FALSE(lwp::platform::isValidUtf8(bad)) << bad;
  const std::string text = "ab\xE8\xA1\xA8";  // 2 + 3 bytes
  EXPECT_EQ(lwp::platform::utf8Prefix(text, 5), text);
  EXPECT_EQ(lwp::platform::utf8Prefix(text, 4), "ab");
  EXPECT_EQ(lwp::platform::utf8Prefix(text, 2), "ab");
  EXPECT_EQ(lwp::platform::utf8Prefix(text, 1), "a");
  EXPECT_EQ(lwp::platform::utf8ForDisplay("a\xFF\tb\xE8\xA1\xA8"),
            "a\xEF\xBF\xBD\xEF\xBF\xBD"
            "b\xE8\xA1\xA8");
}

TEST(CodePage932, CharactersWithAFormOfTheirOwnConvert) {
  EXPECT_EQ(codePage932FromUtf8("Rig/Arm.L \\~", kRoomy), "Rig/Arm.L \\~");
  EXPECT_EQ(codePage932FromUtf8("\xE8\xA1\xA8\xE7\xA4\xBA", kRoomy), "\x95\x5C\x8E\xA6");  // 表示
  EXPECT_EQ(codePage932FromUtf8("\xEF\xBD\xB1", kRoomy), "\xB1");                          // half-width katakana
  EXPECT_EQ(codePage932FromUtf8("\xE2\x91\xA0\xE2\x85\xB0", kRoomy), "\x87\x40\xFA\x40");  // ① ⅰ
  EXPECT_EQ(codePage932FromUtf8("", kRoomy), "");
}

TEST(CodePage932, CharactersWithoutOneOrWithOnlyALookAlikeRefuse) {
  for (const char *text : {"caf\xC3\xA9", "\xF0\x9F\x98\x80", "\xC2\xA5", "\xE3\x80\x9C", "\xE2\x80\x96",
                           "\xE2\x88\x92", "\xC2\xAC", "a\xC2\xA0"}) {
    EXPECT_EQ(codePage932FromUtf8(text, kRoomy), std::nullopt) << text;
  }
}

TEST(CodePage932, InvalidUtf8Refuses) {
  EXPECT_EQ(codePage932FromUtf8("\xFF", kRoomy), std::nullopt);
  EXPECT_EQ(codePage932FromUtf8("\xE8\xA1", kRoomy), std::nullopt);
  EXPECT_EQ(codePage932FromUtf8("\xED\xA0\x80", kRoomy), std::nullopt);  // a lone surrogate
}

TEST(CodePage932, TheLimitCountsConvertedBytes) {
  EXPECT_EQ(codePage932FromUtf8("abc", 3), "abc");
  EXPECT_EQ(codePage932FromUtf8("abcd", 3), std::nullopt);
  // Three UTF-8 bytes each, two in code page 932.
  EXPECT_EQ(codePage932FromUtf8("\xE8\xA1\xA8\xE7\xA4\xBA", 4), "\x95\x5C\x8E\xA6");
  EXPECT_EQ(codePage932FromUtf8("\xE8\xA1\xA8\xE7\xA4\xBA", 3), std::nullopt);
}

TEST(CodePage932, BytesReadBackAsUtf8) {
  EXPECT_EQ(utf8FromCodePage932("\x95\x5C\x8E\xA6 A"), "\xE8\xA1\xA8\xE7\xA4\xBA A");
  EXPECT_EQ(utf8FromCodePage932("\x81"), std::nullopt);  // a lead byte alone
}

#ifdef _WIN32
TEST(CodePage932, ATextForTheMessageBoxKeepsWhatConvertsAroundWhatCannot) {
  // U+0100 has no code page 932 form; the refusing conversion gives nothing.
  EXPECT_EQ(lwp::platform::codePageFromWide(L"Error \u0100 \u8868", 932), std::nullopt);
  const std::string shown = lwp::platform::narrowForDisplay(L"Error \u0100 \u8868", 932);
  EXPECT_EQ(shown.rfind("Error ", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 3), " \x95\x5C") << shown;
}
#endif

}  // namespace
