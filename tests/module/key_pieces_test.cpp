// Pure pieces of the key setter: the frame field's texts, the shape popup's
// codes, the labels' language, and key copies and selection by time
// against envelopes of the simulated host.
#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clip_io/panels/load_labels.h"
#include "clip_io/panels/save_labels.h"
#include "common/channels/key_records.h"
#include "common/globals/host_globals.h"
#include "key_setter/operations/run_shape.h"
#include "key_setter/operations/shape_override.h"
#include "key_setter/panel/frame_field_text.h"
#include "key_setter/panel/key_setter_labels.h"
#include "sim/host.h"
#include "support/decimal_comma_locale.h"

namespace {

using namespace lwp::cks;

TEST(FrameText, ShowsStepsReadsAndTypesFrames) {
  const std::pair<double, const char *> shown[] = {{12.0, "12"},     {12.5, "12.50"}, {12.999, "13"},
                                                   {-2.25, "-2.25"}, {-0.001, "0"},   {100.004, "100"}};
  for (const auto &[frame, text] : shown) EXPECT_EQ(frameText(frame), text) << frame;
  const std::tuple<const char *, int, const char *> steps[] = {
      {"12.75", 1, "13"}, {"12.75", -1, "11"}, {"-1.5", 1, "0"}, {"-1.5", -1, "-2"}, {"", 1, "1"}, {"1e999", 1, "1"}};
  for (const auto &[text, delta, stepped] : steps) EXPECT_EQ(steppedFrameText(text, delta), stepped) << text;
  EXPECT_EQ(frameNumber("-1."), -1.0);
  EXPECT_EQ(frameNumber(" 12.5 "), 12.5);
  for (const char *none : {"", "-", ".", "7abc", "1.5.2"}) EXPECT_EQ(frameNumber(none), std::nullopt) << none;
  std::string typed = "4";
  for (int other : {int{'a'}, 13, 0x1011}) EXPECT_FALSE(typeFrameKey(typed, other)) << other;
  for (int used : {int{'.'}, int{'.'}, int{'-'}}) EXPECT_TRUE(typeFrameKey(typed, used)) << used;
  EXPECT_EQ(typed, "4.");
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

TEST(ShapePopup, AnIndexOutsideThePopupKeepsEachKeysOwnShape) {
  for (int index : {-1, 5, 6}) EXPECT_EQ(shapeCodeOf(index), kKeepOwnShape) << index;
  EXPECT_EQ(shapeCodeOf(4), 4) << "Stepped, the last";
}

// Only the low 16 bits of the host's id name the language; the choice
// lists are rebuilt, not appended to, at each choice.
TEST(Labels, JapaneseForId0411InItsLow16BitsAndEnglishOtherwise) {
  lwsim::Host host;
  const std::pair<std::uint64_t, bool> ids[] = {{0x0411u, true},  {0xFFFF0411u, true}, {0x123400000411ull, true},
                                                {0u, false},      {0x0409u, false},    {0x04110000u, false},
                                                {0x1411u, false}, {0x0411u, true}};
  for (const auto &[id, japanese] : ids) {
    host.setLocaleId(id);
    for (auto [unit, lists] : {std::pair<lwp::LabelUnit *, std::size_t>{&keySetterLabels(), 6},
                               {&lwp::akio::saveLabels(), 1},
                               {&lwp::akio::loadLabels(), 3}}) {
      unit->choose(lwsim::GlobalRegistry::function());
      EXPECT_EQ(unit->japanese(), japanese) << std::hex << id;
      EXPECT_EQ(unit->choiceListCount(), lists);
    }
    EXPECT_STREQ(keySetterLabels().label(kLabelCancel), japanese ? "キャンセル" : "Cancel");
    EXPECT_STREQ(keySetterLabels().choices(kFoldList)[1], "\x03(i:MIMG_DOWNARROW)");
  }
  host.globals().withhold("Locale Info");
  keySetterLabels().choose(lwsim::GlobalRegistry::function());
  EXPECT_FALSE(keySetterLabels().japanese()) << "a missing language gives English";
  keySetterLabels().choose(nullptr);
  EXPECT_FALSE(keySetterLabels().japanese());
}

class KeyRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    envelope_ = &host_.scene().ensureChannel(host_.scene().addObject("Null"), "Extra.Knob").envelope();
  }
  LWEnvelopeID id() { return reinterpret_cast<LWEnvelopeID>(envelope_); }
  std::vector<double> timesIn(lwp::TimeRange range) {
    std::vector<double> times;
    for (LWEnvKeyframeID key : lwp::keysInRange(id(), range))
      times.push_back(reinterpret_cast<lwsim::EnvelopeKey *>(key)->time);
    return times;
  }
  lwsim::Host host_;
  lwsim::Envelope *envelope_ = nullptr;
};

// Key times are shifted up by a microsecond against a half-open range; the
// full range is told by its exact bounds and takes negative times too.
TEST_F(KeyRecords, RangesAreHalfOpenWithKeyTimesShiftedUpByAMicrosecond) {
  for (double time : {-1.0, 0.999998, 0.9999995, 1.0, 1.5, 1.9999985, 1.9999995, 2.0, 3.0})
    envelope_->createKey(time, 0.0);
  EXPECT_EQ(timesIn({1.0, 2.0}), (std::vector<double>{0.9999995, 1.0, 1.5, 1.9999985}));
  EXPECT_EQ(timesIn({3.0, 3.0}), std::vector<double>{});
  EXPECT_EQ(timesIn({-5.0, 0.0}), std::vector<double>{-1.0});
  EXPECT_EQ(lwp::fullRange().start, DBL_MIN);
  EXPECT_EQ(lwp::fullRange().end, DBL_MAX);
  EXPECT_EQ(timesIn(lwp::fullRange()).size(), 9u);
  EXPECT_FALSE((lwp::TimeRange{DBL_MIN, 1e300}.isFull()));
  EXPECT_EQ(timesIn({DBL_MIN, 1e300}).front(), 0.999998) << "any other range shifts and compares";
}

TEST_F(KeyRecords, ShapesCarryTheirOwnFieldsAndSnapshotsRestoreADeletion) {
  lwsim::EnvelopeKey *keys[] = {envelope_->createKey(0.0, 1.0), envelope_->createKey(1.0, 2.0)};
  *keys[0] = {0.0, 1.0, 0, 0.5, -0.25, 0.75, {9.0, 9.0, 9.0, 9.0}};
  *keys[1] = {1.0, 2.0, 5, 0.5, 0.5, 0.5, {-0.1, 0.2, 0.3, -0.4}};
  envelope_->createKey(2.0, 3.0)->shape = 4;
  envelope_->createKey(5.0, 9.0);
  const lwp::KeyRecord tcb = lwp::readKey(id(), reinterpret_cast<LWEnvKeyframeID>(keys[0]));
  const lwp::KeyRecord bezier = lwp::readKey(id(), reinterpret_cast<LWEnvKeyframeID>(keys[1]));
  EXPECT_EQ(std::make_tuple(tcb.time, tcb.value, tcb.shape, tcb.tension, tcb.continuity, tcb.bias, tcb.param),
            std::make_tuple(0.0, 1.0, 0, 0.5, -0.25, 0.75, std::array<double, 4>{}));
  EXPECT_EQ(std::make_tuple(bezier.shape, bezier.tension, bezier.continuity, bezier.bias, bezier.param),
            std::make_tuple(5, 0.0, 0.0, 0.0, std::array<double, 4>{-0.1, 0.2, 0.3, -0.4}));
  lwp::KeyRecord written = bezier;
  written.time = 3.0;
  written.tension = 0.9;
  lwp::writeKey(id(), written);
  const lwsim::EnvelopeKey &created = *envelope_->findKey(3.0);
  EXPECT_EQ(std::make_tuple(created.value, created.shape, created.tension, created.params),
            std::make_tuple(2.0, 5, 0.0, bezier.param))
      << "only the fields of the shape are written";

  const lwp::KeyRecords saved = lwp::snapshotKeys(id(), lwp::keysInRange(id(), {0.5, 4.0}));
  ASSERT_EQ(saved.size(), 3u);
  lwp::deleteKeysInRange(id(), {0.5, 4.0});
  EXPECT_EQ(timesIn(lwp::fullRange()), (std::vector<double>{0.0, 5.0}));
  lwp::restoreKeys(id(), saved);
  ASSERT_EQ(envelope_->keyCount(), 5u);
  EXPECT_EQ(envelope_->key(1).params, (std::array<double, 4>{-0.1, 0.2, 0.3, -0.4}));
  EXPECT_EQ(std::make_pair(envelope_->key(2).shape, envelope_->key(2).value), std::make_pair(4, 3.0));
  EXPECT_EQ(envelope_->key(3).time, 3.0);
}

}  // namespace
