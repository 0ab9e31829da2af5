// The host's envelope evaluation: each key shape between keys, each behaviour
// before and after them. Expected values are worked out by hand from the
// Hermite basis h1 = 2u^3 - 3u^2 + 1, h2 = 3u^2 - 2u^3, h3 = u^3 - 2u^2 + u,
// h4 = u^3 - u^2 (u the fraction of the span) and the cubic Bezier
// (1-u)^3 p0 + 3(1-u)^2 u p1 + 3(1-u) u^2 p2 + u^3 p3.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "sim/scene/envelope.h"
#include "sim/scene/envelope_evaluation.h"

namespace {

using lwsim::Envelope;
using lwsim::EnvelopeKey;
using lwsim::evaluateEnvelope;

constexpr double kTolerance = 1e-9;

enum Shape : int { kTcb = 0, kHermite = 1, kBezier = 2, kLine = 3, kStep = 4, kBezier2D = 5 };

EnvelopeKey *addKey(Envelope &env, double time, double value, int shape,
                    std::array<double, 4> params = {0.0, 0.0, 0.0, 0.0}) {
  EnvelopeKey *key = env.createKey(time, value);
  key->shape = shape;
  key->params = params;
  return key;
}

// Straight spans through (1, 1), (3, 5), (5, 3): one rising, one falling, and
// a first key away from time 0 so that folding must measure from it.
// f(1) = 1, f(2) = 3, f(3) = 5, f(4) = 4, f(5) = 3; period 4.
void zigzag(Envelope &env, int pre, int post) {
  addKey(env, 1.0, 1.0, kLine);
  addKey(env, 3.0, 5.0, kLine);
  addKey(env, 5.0, 3.0, kLine);
  env.setPreBehavior(pre);
  env.setPostBehavior(post);
}

TEST(EnvelopeEvaluation, EmptyEnvelopeIsZero) {
  Envelope env;
  env.setPreBehavior(lwsim::kConstant);
  env.setPostBehavior(lwsim::kLinear);
  EXPECT_EQ(evaluateEnvelope(env, -3.0), 0.0);
  EXPECT_EQ(evaluateEnvelope(env, 0.0), 0.0);
  EXPECT_EQ(evaluateEnvelope(env, 12.5), 0.0);
}

TEST(EnvelopeEvaluation, OneKeyGivesItsValueWhateverTheBehaviours) {
  for (int behavior = lwsim::kReset; behavior <= lwsim::kLinear; ++behavior) {
    Envelope env;
    addKey(env, 2.0, 3.5, kTcb);
    env.setPreBehavior(behavior);
    env.setPostBehavior(behavior);
    EXPECT_NEAR(evaluateEnvelope(env, -10.0), 3.5, kTolerance) << behavior;
    EXPECT_NEAR(evaluateEnvelope(env, 2.0), 3.5, kTolerance) << behavior;
    EXPECT_NEAR(evaluateEnvelope(env, 40.0), 3.5, kTolerance) << behavior;
  }
}

TEST(EnvelopeEvaluation, TimesOnKeysGiveTheKeyValues) {
  Envelope env;
  addKey(env, 0.0, 2.0, kTcb);
  addKey(env, 1.0, -1.0, kHermite, {7.0, -3.0, 0.0, 0.0});
  addKey(env, 2.5, 4.0, kStep);
  addKey(env, 3.0, 6.0, kBezier2D, {-0.2, 1.0, 0.2, -1.0});
  addKey(env, 4.0, 0.5, kBezier, {2.0, 2.0, 0.0, 0.0});
  addKey(env, 6.0, -2.0, kLine);
  env.setPreBehavior(lwsim::kReset);
  env.setPostBehavior(lwsim::kReset);
  for (std::size_t i = 0; i < env.keyCount(); ++i)
    EXPECT_NEAR(evaluateEnvelope(env, env.key(i).time), env.key(i).value, kTolerance) << env.key(i).time;
}

TEST(EnvelopeEvaluation, LinearSpansAreStraight) {
  Envelope env;
  addKey(env, 0.0, 0.0, kLine);
  addKey(env, 10.0, 20.0, kLine);
  addKey(env, 20.0, -10.0, kLine);
  EXPECT_NEAR(evaluateEnvelope(env, 2.5), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 5.0), 10.0, kTolerance);
  // Second span: 20 + (15 - 10) / 10 * (-10 - 20) = 5.
  EXPECT_NEAR(evaluateEnvelope(env, 15.0), 5.0, kTolerance);
}

// Many keys: each time finds its own span. Keys at t = 0..40 with value t^2;
// the midpoint of span [i, i+1] is (i^2 + (i+1)^2) / 2.
TEST(EnvelopeEvaluation, EveryTimeFindsItsSpanAmongManyKeys) {
  Envelope env;
  for (int i = 0; i <= 40; ++i) addKey(env, i, i * i, kLine);
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(evaluateEnvelope(env, i + 0.5), (i * i + (i + 1) * (i + 1)) / 2.0, kTolerance) << i;
    EXPECT_NEAR(evaluateEnvelope(env, i), i * i, kTolerance) << i;
  }
}

TEST(EnvelopeEvaluation, SteppedSpansHoldThePreviousValue) {
  Envelope env;
  addKey(env, 0.0, 1.0, kTcb);
  addKey(env, 4.0, 5.0, kStep);
  addKey(env, 8.0, 2.0, kStep);
  EXPECT_NEAR(evaluateEnvelope(env, 0.5), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 3.999), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 4.0), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 7.9), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 8.0), 2.0, kTolerance);
}

TEST(EnvelopeEvaluation, TcbSpans) {
  // Two keys, zero parameters: both end tangents are the chord (10 per span),
  // and h2 + h3 + h4 = u, so the span is the straight line 10u.
  Envelope plain;
  addKey(plain, 0.0, 0.0, kTcb);
  addKey(plain, 10.0, 10.0, kTcb);
  EXPECT_NEAR(evaluateEnvelope(plain, 2.5), 2.5, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(plain, 7.0), 7.0, kTolerance);

  // Tension 1 zeroes both tangents: 10 h2(u), and h2(0.25) = 0.15625.
  Envelope tense;
  addKey(tense, 0.0, 0.0, kTcb)->tension = 1.0;
  addKey(tense, 10.0, 10.0, kTcb)->tension = 1.0;
  EXPECT_NEAR(evaluateEnvelope(tense, 2.5), 1.5625, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(tense, 5.0), 5.0, kTolerance);

  // A peak (0,0) (1,1) (2,0): the middle key's tangents average its two chords,
  // 0.5 * (-1 + 1) = 0; the end tangents are the chords 1 and -1.
  // First span h2 + h3 at 0.5 = 0.5 + 0.125; second h1 - h4 = 0.5 + 0.125.
  Envelope peak;
  addKey(peak, 0.0, 0.0, kTcb);
  EnvelopeKey *top = addKey(peak, 1.0, 1.0, kTcb);
  addKey(peak, 2.0, 0.0, kTcb);
  EXPECT_NEAR(evaluateEnvelope(peak, 0.5), 0.625, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(peak, 1.5), 0.625, kTolerance);

  // Bias 0.5 weighs the incoming chord 1.5 and the outgoing 0.5 on both sides:
  // tangents 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 + 0.5 h4 = 0.5625;
  // second h1 + 0.5 h3 - h4 = 0.6875.
  top->bias = 0.5;
  EXPECT_NEAR(evaluateEnvelope(peak, 0.5), 0.5625, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(peak, 1.5), 0.6875, kTolerance);

  // Continuity 0.5 breaks the tangent: incoming 0.5 * (0.5 - 1.5) = -0.5,
  // outgoing 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 - 0.5 h4 = 0.6875.
  top->bias = 0.0;
  top->continuity = 0.5;
  EXPECT_NEAR(evaluateEnvelope(peak, 0.5), 0.6875, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(peak, 1.5), 0.6875, kTolerance);

  // Tension 0.5 on the middle of a straight run (0,0) (1,1) (2,2) halves its
  // tangent: 0.5 * 0.5 * (1 + 1) = 0.5, so h2 + h3 + 0.5 h4 = 0.5625, not 0.5.
  Envelope run;
  addKey(run, 0.0, 0.0, kTcb);
  addKey(run, 1.0, 1.0, kTcb)->tension = 0.5;
  addKey(run, 2.0, 2.0, kTcb);
  EXPECT_NEAR(evaluateEnvelope(run, 0.5), 0.5625, kTolerance);
}

TEST(EnvelopeEvaluation, TcbTangentsFollowUnevenKeySpacing) {
  // Collinear keys (0,0) (1,1) (3,3) a span of 1 and a span of 2 apart. The
  // middle key's tangents take each span's share of the time 0..3:
  // incoming 1/3 * (2 + 1) = 1 per span of 1, outgoing 2/3 * (1 + 2) = 2 per
  // span of 2. Both are slope 1, so the curve stays the line.
  Envelope env;
  addKey(env, 0.0, 0.0, kTcb);
  addKey(env, 1.0, 1.0, kTcb);
  addKey(env, 3.0, 3.0, kTcb);
  EXPECT_NEAR(evaluateEnvelope(env, 0.5), 0.5, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 1.5), 1.5, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 2.5), 2.5, kTolerance);
}

TEST(EnvelopeEvaluation, HermiteSpans) {
  // Zero tangents give 10 h2(u): h2(0.25) = 0.15625, h2(0.5) = 0.5.
  Envelope flat;
  addKey(flat, 0.0, 0.0, kHermite);
  addKey(flat, 10.0, 10.0, kHermite);
  EXPECT_NEAR(evaluateEnvelope(flat, 2.5), 1.5625, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(flat, 5.0), 5.0, kTolerance);

  // The first key's outgoing tangent (params[1]) is 20, the second's
  // incoming (params[0]) 0: 10 h2 + 20 h3 at 0.5 = 5 + 2.5.
  Envelope steep;
  addKey(steep, 0.0, 0.0, kHermite, {0.0, 20.0, 0.0, 0.0});
  addKey(steep, 10.0, 10.0, kHermite, {0.0, 0.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(steep, 5.0), 7.5, kTolerance);

  // Incoming tangent -10 at the second key: 10 h2 - 10 h4 at 0.5 = 5 + 1.25.
  Envelope late;
  addKey(late, 0.0, 0.0, kHermite);
  addKey(late, 10.0, 10.0, kHermite, {-10.0, 0.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(late, 5.0), 6.25, kTolerance);

  // A key between two others scales its tangent by its span's share of the
  // neighbours' time, 1 / 2: incoming 4 becomes 2, so at 0.5 of the first span
  // h2 + 2 h4 = 0.5 - 0.25.
  Envelope inner;
  addKey(inner, 0.0, 0.0, kHermite);
  addKey(inner, 1.0, 1.0, kHermite, {4.0, 0.0, 0.0, 0.0});
  addKey(inner, 2.0, 0.0, kHermite);
  EXPECT_NEAR(evaluateEnvelope(inner, 0.5), 0.25, kTolerance);
}

TEST(EnvelopeEvaluation, OneDimensionalBezierSpans) {
  // Tangents 3 and -3 put the inner control values at 0 + 3/3 = 1 and
  // 0 - (-3)/3 = 1: the Bezier 0, 1, 1, 0 gives 3(0.75)^2(0.25) + 3(0.75)(0.25)^2
  // = 0.5625 at 0.25 and 0.75 at 0.5.
  Envelope env;
  addKey(env, 0.0, 0.0, kBezier, {0.0, 3.0, 0.0, 0.0});
  addKey(env, 1.0, 0.0, kBezier, {-3.0, 0.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(env, 0.25), 0.5625, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 0.5), 0.75, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 0.75), 0.5625, kTolerance);
}

TEST(EnvelopeEvaluation, TwoDimensionalBezierSpans) {
  // Handles (0,0)->(1,2) and (3,6)->(2,4) lie on the line v = 2t.
  Envelope even;
  addKey(even, 0.0, 0.0, kBezier2D, {0.0, 0.0, 1.0, 2.0});
  addKey(even, 3.0, 6.0, kBezier2D, {-1.0, -2.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(even, 0.75), 1.5, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(even, 2.0), 4.0, kTolerance);

  // Handles at (0.5,1) and (2.5,5) keep the line but not an even pace: the
  // curve parameter at time 1 is not 1/3 (which would give 1.777...), yet the
  // value must still be 2.
  Envelope uneven;
  addKey(uneven, 0.0, 0.0, kBezier2D, {0.0, 0.0, 0.5, 1.0});
  addKey(uneven, 3.0, 6.0, kBezier2D, {-0.5, -1.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(uneven, 1.0), 2.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(uneven, 2.7), 5.4, kTolerance);

  // Flat handles (1,0) and (2,6): times 0,1,2,3 make time = 3u, so at time 1
  // u = 1/3 and the value is 3(1/3)^2(2/3) 6 + (1/3)^3 6 = 4/3 + 2/9 = 14/9.
  Envelope eased;
  addKey(eased, 0.0, 0.0, kBezier2D, {0.0, 0.0, 1.0, 0.0});
  addKey(eased, 3.0, 6.0, kBezier2D, {-1.0, 0.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(eased, 1.0), 14.0 / 9.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(eased, 1.5), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(eased, 2.0), 6.0 - 14.0 / 9.0, kTolerance);

  // A TCB start key has no handle: one a third of the span along its tangent
  // (the chord 6) lands at (1,2), on the line again.
  Envelope mixed;
  addKey(mixed, 0.0, 0.0, kTcb);
  addKey(mixed, 3.0, 6.0, kBezier2D, {-1.0, -2.0, 0.0, 0.0});
  EXPECT_NEAR(evaluateEnvelope(mixed, 1.0), 2.0, kTolerance);
}

TEST(EnvelopeEvaluation, ResetIsZeroOnBothSides) {
  Envelope env;
  zigzag(env, lwsim::kReset, lwsim::kReset);
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), 0.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -10.0), 0.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 6.0), 0.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 5.0), 3.0, kTolerance);
}

TEST(EnvelopeEvaluation, ConstantHoldsTheEndValues) {
  Envelope env;
  zigzag(env, lwsim::kConstant, lwsim::kConstant);
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -100.0), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 6.0), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 100.0), 3.0, kTolerance);
}

TEST(EnvelopeEvaluation, EachSideUsesItsOwnBehaviour) {
  Envelope resetFirst;
  zigzag(resetFirst, lwsim::kReset, lwsim::kConstant);
  EXPECT_NEAR(evaluateEnvelope(resetFirst, 0.0), 0.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(resetFirst, 6.0), 3.0, kTolerance);
  Envelope resetLast;
  zigzag(resetLast, lwsim::kConstant, lwsim::kReset);
  EXPECT_NEAR(evaluateEnvelope(resetLast, 0.0), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(resetLast, 6.0), 0.0, kTolerance);
}

TEST(EnvelopeEvaluation, RepeatCyclesTheKeys) {
  Envelope env;
  zigzag(env, lwsim::kRepeat, lwsim::kRepeat);
  // After: 6 -> 2, 7 -> 3, 10 -> 2 (two periods on), 9 -> 1 (a new cycle).
  EXPECT_NEAR(evaluateEnvelope(env, 6.0), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 7.0), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 10.0), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 9.0), 1.0, kTolerance);
  // Before: 0 -> 4, -1 -> 3, -6 -> 2.
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), 4.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -1.0), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -6.0), 3.0, kTolerance);
}

TEST(EnvelopeEvaluation, OscillateMirrorsEveryOtherCycle) {
  Envelope env;
  zigzag(env, lwsim::kOscillate, lwsim::kOscillate);
  // After: the first cycle runs backwards from 5, so f(5 + d) = f(5 - d);
  // the next runs forwards again from 1.
  EXPECT_NEAR(evaluateEnvelope(env, 6.0), 4.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 7.0), 5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 8.0), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 9.0), 1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 10.0), 3.0, kTolerance);
  // Before: f(1 - d) = f(1 + d) in the mirrored cycle, forwards two periods back.
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), 3.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -2.0), 4.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -5.0), 5.0, kTolerance);
}

TEST(EnvelopeEvaluation, OffsetRepeatAccumulatesTheChange) {
  // Each period adds the last value minus the first, 3 - 1 = 2.
  Envelope env;
  zigzag(env, lwsim::kOffsetRepeat, lwsim::kOffsetRepeat);
  EXPECT_NEAR(evaluateEnvelope(env, 6.0), 3.0 + 2.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 9.0), 1.0 + 4.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 11.0), 5.0 + 4.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), 4.0 - 2.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -5.0), 5.0 - 4.0, kTolerance);
  // Just past the last key the curve carries on from its value.
  EXPECT_NEAR(evaluateEnvelope(env, 5.0 + 1e-6), 3.0, 1e-5);
}

TEST(EnvelopeEvaluation, LinearExtrapolatesAlongTheEndTangents) {
  // Two straight keys: the line through them, v = 1 + 2t.
  Envelope pair;
  addKey(pair, 0.0, 1.0, kLine);
  addKey(pair, 2.0, 5.0, kLine);
  pair.setPreBehavior(lwsim::kLinear);
  pair.setPostBehavior(lwsim::kLinear);
  EXPECT_NEAR(evaluateEnvelope(pair, -1.0), -1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(pair, 4.0), 9.0, kTolerance);

  // The zigzag leaves at slope 2 before its first key and -1 after its last.
  Envelope env;
  zigzag(env, lwsim::kLinear, lwsim::kLinear);
  EXPECT_NEAR(evaluateEnvelope(env, 0.0), -1.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, -2.0), -5.0, kTolerance);
  EXPECT_NEAR(evaluateEnvelope(env, 7.0), 1.0, kTolerance);

  // A Hermite end key's incoming tangent 4 over a span of 2 is slope 2, not
  // the chord's slope 1.
  Envelope curved;
  addKey(curved, 0.0, 0.0, kHermite);
  addKey(curved, 2.0, 2.0, kHermite, {4.0, 0.0, 0.0, 0.0});
  curved.setPostBehavior(lwsim::kLinear);
  EXPECT_NEAR(evaluateEnvelope(curved, 3.0), 4.0, kTolerance);
}

}  // namespace
