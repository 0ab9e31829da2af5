// The name conversions of the clip load's item matching.
#include "clip_io/load/item_name_matcher.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using lwp::akio::ItemNameMatcher;
using lwp::akio::ZaduDuzAVOptions;

ItemNameMatcher matcherFor(int mode) {
  ZaduDuzAVOptions options = lwp::akio::loadDefaults();
  options.nameConvertMode = mode;
  options.namePrefix = "pre_";
  options.nameSuffix = "_suf";
  return ItemNameMatcher(options);
}

TEST(ItemNameConversion, EachModeConvertsANameItsOwnWay) {
  EXPECT_EQ(matcherFor(0).convertName("arm_L"), "arm_L");
  EXPECT_EQ(matcherFor(1).convertName("arm_L"), "pre_arm_L");
  EXPECT_EQ(matcherFor(2).convertName("arm_L"), "arm_L_suf");
  EXPECT_EQ(matcherFor(3).convertName("a_L_b_L_c"), "a_R_b_R_c");
  EXPECT_EQ(matcherFor(3).convertName("a_L_L_b"), "a_R_L_b");  // no overlapping occurrences
  EXPECT_EQ(matcherFor(4).convertName("arm_L"), "arm_R");
  EXPECT_EQ(matcherFor(4).convertName("hand_L_tip"), "hand_R_tip");
  EXPECT_EQ(matcherFor(4).convertName("a_L_b_L"), "a_L_b_R");  // the greedy group takes the first _L
  EXPECT_EQ(matcherFor(4).convertName("Spine"), "Spine");
  EXPECT_EQ(matcherFor(9).convertName("arm_L"), "arm_L");
}

TEST(ItemNameConversion, AnEmptySearchTextLeavesTheName) {
  ZaduDuzAVOptions options = lwp::akio::loadDefaults();
  options.nameConvertMode = lwp::akio::kReplace;
  options.replaceFrom.clear();
  EXPECT_EQ(ItemNameMatcher(options).convertName("arm_L"), "arm_L");
}

TEST(ItemNameConversion, PathsAreConvertedComponentByComponentAfterTheFirstSeparator) {
  const ItemNameMatcher regex = matcherFor(4);
  EXPECT_EQ(regex.convertPath("/Rig_L/Hip_L/Leg"), "/Rig_R/Hip_R/Leg");
  EXPECT_EQ(regex.convertPath("Rig_L/Hip_L"), "/Hip_R");
  EXPECT_EQ(regex.convertPath("Hip_L"), "Hip_R");
  EXPECT_EQ(matcherFor(1).convertPath("/Rig//Leg/"), "/pre_Rig/pre_/pre_Leg/pre_");
  EXPECT_EQ(matcherFor(0).convertPath("Rig/Hip"), "/Hip");
}

TEST(ItemNameConversion, APatternThatDoesNotCompileThrowsWhenTheMatcherIsMade) {
  ZaduDuzAVOptions options = lwp::akio::loadDefaults();
  options.regexPattern = "([a-";
  options.nameConvertMode = lwp::akio::kReplace;
  EXPECT_NO_THROW(ItemNameMatcher{options});  // compiled only for its own mode
  options.nameConvertMode = lwp::akio::kRegularExpression;
  EXPECT_THROW(ItemNameMatcher{options}, std::regex_error);
}

}  // namespace
