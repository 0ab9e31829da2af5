// Choosing each unit's labels by the host's language id.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "clip_io/panels/load_labels.h"
#include "clip_io/panels/save_labels.h"
#include "key_setter/panel/key_setter_labels.h"
#include "sim/host.h"

namespace {

GlobalFunc *hostLookup() { return lwsim::GlobalRegistry::function(); }

class Labels : public ::testing::TestWithParam<std::uint64_t> {
 protected:
  lwsim::Host host_;
};

class JapaneseIds : public Labels {};
class OtherIds : public Labels {};

TEST_P(JapaneseIds, PickTheJapaneseTablesOfEveryUnit) {
  host_.setLocaleId(GetParam());
  lwp::LabelUnit &keySetter = lwp::cks::keySetterLabels();
  keySetter.choose(hostLookup());
  EXPECT_TRUE(keySetter.japanese());
  EXPECT_STREQ(keySetter.label(lwp::cks::kLabelCancel), "キャンセル");
  EXPECT_STREQ(keySetter.label(lwp::cks::kLabelOk), "O K");
  EXPECT_STREQ(keySetter.choices(lwp::cks::kOperationList)[0], "キー作成");

  lwp::LabelUnit &save = lwp::akio::saveLabels();
  save.choose(hostLookup());
  EXPECT_STREQ(save.message(lwp::akio::kMsgFailedToSave), "操作を失敗しました !");
  EXPECT_STREQ(save.label(lwp::akio::kSaveButton), "Save") << "the button reads Save in both languages";
  EXPECT_STREQ(save.choices(lwp::akio::kSaveTargetList)[3], "全部のアイテム");

  lwp::LabelUnit &load = lwp::akio::loadLabels();
  load.choose(hostLookup());
  EXPECT_STREQ(load.label(lwp::akio::kLoadInfo), "    情報");
  EXPECT_STREQ(load.message(lwp::akio::kMsgFailedToLoad), "失敗しました !");
  EXPECT_STREQ(load.choices(lwp::akio::kLoadNameConvertList)[4], "置き換え(正規表現)");
}

// Only the low 16 bits name the language.
INSTANTIATE_TEST_SUITE_P(LowBits0411, JapaneseIds, ::testing::Values(0x0411u, 0xFFFF0411u, 0x123400000411ull));

TEST_P(OtherIds, PickEnglish) {
  host_.setLocaleId(GetParam());
  lwp::LabelUnit &keySetter = lwp::cks::keySetterLabels();
  keySetter.choose(hostLookup());
  EXPECT_FALSE(keySetter.japanese());
  EXPECT_STREQ(keySetter.label(lwp::cks::kLabelCancel), "Cancel");
  EXPECT_STREQ(keySetter.choices(lwp::cks::kPostBehaviorList)[5], "Offset Repeat");

  lwp::LabelUnit &save = lwp::akio::saveLabels();
  save.choose(hostLookup());
  EXPECT_STREQ(save.label(lwp::akio::kSaveSchemaPosition), "Shcema Position");
  EXPECT_STREQ(save.message(lwp::akio::kMsgFailedToSaveFile), "Failed to save file !(%s)");
}

INSTANTIATE_TEST_SUITE_P(NotJapanese, OtherIds, ::testing::Values(0u, 0x0409u, 0x0410u, 0x04110000u, 0x1411u));

TEST(LabelChoice, MissingLanguageGivesEnglish) {
  lwsim::Host host;
  host.setLocaleId(0x0411);
  host.globals().withhold("Locale Info");
  lwp::LabelUnit &unit = lwp::cks::keySetterLabels();
  unit.choose(lwsim::GlobalRegistry::function());
  EXPECT_FALSE(unit.japanese());
  unit.choose(nullptr);
  EXPECT_FALSE(unit.japanese());
}

TEST(LabelChoice, ChoiceListsAreRebuiltNotAppended) {
  lwsim::Host host;
  struct Expectation {
    lwp::LabelUnit &unit;
    std::size_t lists;
  };
  for (const Expectation &expected :
       {Expectation{lwp::cks::keySetterLabels(), 6}, Expectation{lwp::akio::saveLabels(), 1},
        Expectation{lwp::akio::loadLabels(), 3}}) {
    for (const std::uint64_t id : {0x0411u, 0x0409u, 0x0411u}) {
      host.setLocaleId(id);
      expected.unit.choose(lwsim::GlobalRegistry::function());
      EXPECT_EQ(expected.unit.choiceListCount(), expected.lists);
    }
  }
}

TEST(LabelChoice, FoldArrowsAreTheSameIconsInBothLanguages) {
  lwsim::Host host;
  lwp::LabelUnit &unit = lwp::cks::keySetterLabels();
  for (const std::uint64_t id : {0x0409u, 0x0411u}) {
    host.setLocaleId(id);
    unit.choose(lwsim::GlobalRegistry::function());
    EXPECT_STREQ(unit.choices(lwp::cks::kFoldList)[0], "\x03(i:MIMG_RIGHTARROW)");
    EXPECT_STREQ(unit.choices(lwp::cks::kFoldList)[1], "\x03(i:MIMG_DOWNARROW)");
    EXPECT_EQ(unit.choices(lwp::cks::kFoldList)[2], nullptr);
  }
}

}  // namespace
