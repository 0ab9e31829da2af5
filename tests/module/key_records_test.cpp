// Key copies and key selection by time on the key setter's side, against
// envelopes of the simulated host.
#include <gtest/gtest.h>

#include <cfloat>
#include <vector>

#include "common/channels/key_records.h"
#include "common/globals/host_globals.h"
#include "sim/host.h"

namespace {

class KeyRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    envelope_ = &host_.scene().ensureChannel(host_.scene().addObject("Null"), "Extra.Knob").envelope();
  }

  LWEnvelopeID envelopeId() { return reinterpret_cast<LWEnvelopeID>(envelope_); }
  void keyAt(double time, double value = 0.0) { envelope_->createKey(time, value); }
  std::vector<double> timesOf(const lwp::KeyList &keys) {
    std::vector<double> times;
    for (LWEnvKeyframeID key : keys) times.push_back(reinterpret_cast<lwsim::EnvelopeKey *>(key)->time);
    return times;
  }
  std::vector<double> timesInRange(double start, double end) {
    return timesOf(lwp::keysInRange(envelopeId(), {start, end}));
  }

  lwsim::Host host_;
  lwsim::Envelope *envelope_ = nullptr;
};

TEST_F(KeyRecords, ATcbKeyCarriesTensionContinuityAndBiasAndNoParams) {
  lwsim::EnvelopeKey &key = *envelope_->createKey(1.5, 2.25);
  key = {1.5, 2.25, 0, 0.5, -0.25, 0.75, {9.0, 9.0, 9.0, 9.0}};
  const lwp::KeyRecord record = lwp::readKey(envelopeId(), reinterpret_cast<LWEnvKeyframeID>(&key));
  EXPECT_EQ(record.time, 1.5);
  EXPECT_EQ(record.value, 2.25);
  EXPECT_EQ(record.shape, 0);
  EXPECT_EQ(record.tension, 0.5);
  EXPECT_EQ(record.continuity, -0.25);
  EXPECT_EQ(record.bias, 0.75);
  EXPECT_EQ(record.param, (std::array<double, 4>{}));
}

TEST_F(KeyRecords, OtherShapesCarryTheirFourParamsAndNoTcb) {
  lwsim::EnvelopeKey &key = *envelope_->createKey(-2.0, 7.0);
  key = {-2.0, 7.0, 5, 0.5, 0.5, 0.5, {-0.1, 0.2, 0.3, -0.4}};
  const lwp::KeyRecord record = lwp::readKey(envelopeId(), reinterpret_cast<LWEnvKeyframeID>(&key));
  EXPECT_EQ(record.shape, 5);
  EXPECT_EQ(record.param, (std::array<double, 4>{-0.1, 0.2, 0.3, -0.4}));
  EXPECT_EQ(record.tension, 0.0);
  EXPECT_EQ(record.continuity, 0.0);
  EXPECT_EQ(record.bias, 0.0);
  EXPECT_EQ(record.time, -2.0);
  EXPECT_EQ(record.value, 7.0);

  // Writing sets only the fields that apply to the shape.
  lwp::KeyRecord written = record;
  written.time = 3.0;
  written.tension = 0.9;
  lwp::writeKey(envelopeId(), written);
  const lwsim::EnvelopeKey &created = *envelope_->findKey(3.0);
  EXPECT_EQ(created.value, 7.0);
  EXPECT_EQ(created.shape, 5);
  EXPECT_EQ(created.params, (std::array<double, 4>{-0.1, 0.2, 0.3, -0.4}));
  EXPECT_EQ(created.tension, 0.0);
}

TEST_F(KeyRecords, RangesAreHalfOpenWithKeyTimesShiftedUpByAMicrosecond) {
  for (double time : {-1.0, 0.999998, 0.9999995, 1.0, 1.5, 1.9999985, 1.9999995, 2.0, 3.0}) keyAt(time);
  EXPECT_EQ(timesInRange(1.0, 2.0), (std::vector<double>{0.9999995, 1.0, 1.5, 1.9999985}));
  EXPECT_EQ(timesInRange(3.0, 3.0), std::vector<double>{});
  EXPECT_EQ(timesInRange(2.5, 10.0), std::vector<double>{3.0});
  EXPECT_EQ(timesInRange(-5.0, 0.0), std::vector<double>{-1.0});
}

TEST_F(KeyRecords, TheFullRangeIsToldByItsExactBoundsAndTakesNegativeTimes) {
  for (double time : {-100.0, -0.5, 0.0, 1e6}) keyAt(time);
  const lwp::TimeRange full = lwp::fullRange();
  EXPECT_EQ(full.start, DBL_MIN);
  EXPECT_EQ(full.end, DBL_MAX);
  EXPECT_TRUE(full.isFull());
  EXPECT_EQ(timesOf(lwp::keysInRange(envelopeId(), full)), (std::vector<double>{-100.0, -0.5, 0.0, 1e6}));
  // Any other range, however wide, shifts and compares.
  EXPECT_FALSE((lwp::TimeRange{DBL_MIN, 1e300}.isFull()));
  EXPECT_EQ(timesInRange(DBL_MIN, 1e300), (std::vector<double>{0.0, 1e6}));
}

TEST_F(KeyRecords, SnapshotsRestoreWhatADeletionRemoved) {
  envelope_->createKey(0.0, 1.0)->tension = 0.3;
  lwsim::EnvelopeKey &bezier = *envelope_->createKey(1.0, 2.0);
  bezier.shape = 2;
  bezier.params = {0.5, -0.5, 0.25, 0.0};
  envelope_->createKey(2.0, 3.0)->shape = 4;
  keyAt(5.0, 9.0);

  const lwp::TimeRange range{0.5, 4.0};
  const lwp::KeyRecords saved = lwp::snapshotKeys(envelopeId(), lwp::keysInRange(envelopeId(), range));
  ASSERT_EQ(saved.size(), 2u);
  lwp::deleteKeysInRange(envelopeId(), range);
  EXPECT_EQ(timesOf(lwp::keysInRange(envelopeId(), lwp::fullRange())), (std::vector<double>{0.0, 5.0}));

  lwp::restoreKeys(envelopeId(), saved);
  ASSERT_EQ(envelope_->keyCount(), 4u);
  const lwsim::EnvelopeKey &restored = envelope_->key(1);
  EXPECT_EQ(restored.time, 1.0);
  EXPECT_EQ(restored.value, 2.0);
  EXPECT_EQ(restored.shape, 2);
  EXPECT_EQ(restored.params, (std::array<double, 4>{0.5, -0.5, 0.25, 0.0}));
  EXPECT_EQ(envelope_->key(2).shape, 4);
  EXPECT_EQ(envelope_->key(2).value, 3.0);
  EXPECT_EQ(envelope_->key(0).tension, 0.3);
}

}  // namespace
