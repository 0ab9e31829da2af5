// The frame field's texts: the shown frame, typing and whole-frame steps.
#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "key_setter/panel/frame_field_text.h"
#include "support/decimal_comma_locale.h"

namespace {

using lwp::cks::frameNumber;
using lwp::cks::frameText;
using lwp::cks::steppedFrameText;
using lwp::cks::typeFrameKey;

TEST(FrameText, TwoDecimalsWithoutAWholeSuffix) {
  EXPECT_EQ(frameText(12.0), "12");
  EXPECT_EQ(frameText(12.5), "12.50");
  EXPECT_EQ(frameText(12.999), "13") << "rounded to a whole number first";
  EXPECT_EQ(frameText(-2.25), "-2.25");
  EXPECT_EQ(frameText(-0.001), "0") << "no negative zero";
  EXPECT_EQ(frameText(100.004), "100");
}

TEST(FrameText, StepsFromTheIntegerPartTowardsZero) {
  EXPECT_EQ(steppedFrameText("12.75", 1), "13");
  EXPECT_EQ(steppedFrameText("12.75", -1), "11");
  EXPECT_EQ(steppedFrameText("-1.5", 1), "0");
  EXPECT_EQ(steppedFrameText("-1.5", -1), "-2");
  EXPECT_EQ(steppedFrameText("", 1), "1");
  EXPECT_EQ(steppedFrameText("1e999", 1), "1") << "a number that is not finite steps from 0";
}

TEST(FrameText, ReadsAndWritesAPointWhateverTheProcessLocale) {
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  const std::optional<double> read = frameNumber("12.5");
  const std::string written = frameText(12.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(read, 12.5);
  EXPECT_EQ(written, "12.50");
}

TEST(FrameText, ReadsATextThatIsOneNumberAndNothingElse) {
  EXPECT_EQ(frameNumber("-1."), -1.0);
  EXPECT_EQ(frameNumber(" 12.5 "), 12.5);
  for (const char *none : {"", "-", ".", "7abc", "1.5.2"}) EXPECT_EQ(frameNumber(none), std::nullopt) << none;
}

TEST(FrameTyping, OtherKeysLeaveTheTextAndAreNotTyping) {
  std::string text = "4";
  EXPECT_FALSE(typeFrameKey(text, 'a'));
  EXPECT_FALSE(typeFrameKey(text, 13));
  EXPECT_FALSE(typeFrameKey(text, 0x1011));
  EXPECT_EQ(text, "4");
  EXPECT_TRUE(typeFrameKey(text, '.'));
  EXPECT_TRUE(typeFrameKey(text, '.'));
  EXPECT_TRUE(typeFrameKey(text, '-'));
  EXPECT_EQ(text, "4.");
}

}  // namespace
