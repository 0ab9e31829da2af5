// The host's envelope evaluation: each key shape between keys, each behaviour
// before and after them (the simpler shapes and behaviours are also seen
// through lwsim's @eval). Expected values are worked out by hand from the
// Hermite basis h1 = 2u^3 - 3u^2 + 1, h2 = 3u^2 - 2u^3, h3 = u^3 - 2u^2 + u,
// h4 = u^3 - u^2 (u the fraction of the span) and the cubic Bezier
// (1-u)^3 p0 + 3(1-u)^2 u p1 + 3(1-u) u^2 p2 + u^3 p3.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "sim/scene/envelope.h"
#include "sim/scene/envelope_evaluation.h"

namespace {

using lwsim::evaluateEnvelope;

enum Shape : int { kTcb = 0, kHermite = 1, kBezier = 2, kLine = 3, kStep = 4, kBezier2D = 5 };
enum Behaviour : int { kReset, kConstant, kRepeat, kOscillate, kOffsetRepeat, kLinear };

struct Key {
  double time, value;
  int shape;
  std::array<double, 4> params{};  // tension, continuity and bias for TCB keys
};

struct Case {
  const char *what;
  std::vector<Key> keys;
  std::vector<std::pair<double, double>> values;  // time, value
  int pre = kConstant, post = kConstant;
};

void build(lwsim::Envelope &env, const std::vector<Key> &keys, int pre, int post) {
  for (const Key &key : keys) {
    lwsim::EnvelopeKey *made = env.createKey(key.time, key.value);
    made->shape = key.shape;
    if (key.shape == kTcb) {
      made->tension = key.params[0];
      made->continuity = key.params[1];
      made->bias = key.params[2];
    } else {
      made->params = key.params;
    }
  }
  env.setPreBehavior(pre);
  env.setPostBehavior(post);
}

// Straight spans through (1, 1), (3, 5), (5, 3): one rising, one falling, and
// a first key away from time 0 so that folding must measure from it.
// f(1) = 1, f(2) = 3, f(3) = 5, f(4) = 4, f(5) = 3; period 4.
const std::vector<Key> kZigzag = {{1.0, 1.0, kLine}, {3.0, 5.0, kLine}, {5.0, 3.0, kLine}};
// A peak (0,0) (1,1) (2,0) with the middle key's tension, continuity, bias.
std::vector<Key> peak(double t, double c, double b) {
  return {{0.0, 0.0, kTcb}, {1.0, 1.0, kTcb, {t, c, b, 0.0}}, {2.0, 0.0, kTcb}};
}

const Case kCases[] = {
    {"times on keys give the key values",
     {{0.0, 2.0, kTcb},
      {1.0, -1.0, kHermite, {7.0, -3.0}},
      {2.5, 4.0, kStep},
      {3.0, 6.0, kBezier2D, {-0.2, 1.0, 0.2, -1.0}},
      {4.0, 0.5, kBezier, {2.0, 2.0}},
      {6.0, -2.0, kLine}},
     {{0.0, 2.0}, {1.0, -1.0}, {2.5, 4.0}, {3.0, 6.0}, {4.0, 0.5}, {6.0, -2.0}},
     kReset,
     kReset},
    // The middle key's tangents average its two chords, 0.5 * (-1 + 1) = 0;
    // the end tangents are the chords 1 and -1. First span h2 + h3 at 0.5 =
    // 0.5 + 0.125; second h1 - h4 = 0.5 + 0.125.
    {"TCB peak", peak(0.0, 0.0, 0.0), {{0.5, 0.625}, {1.5, 0.625}}},
    // Bias 0.5 weighs the incoming chord 1.5 and the outgoing 0.5 on both
    // sides: tangents 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 + 0.5 h4 =
    // 0.5625; second h1 + 0.5 h3 - h4 = 0.6875.
    {"TCB bias", peak(0.0, 0.0, 0.5), {{0.5, 0.5625}, {1.5, 0.6875}}},
    // Continuity 0.5 breaks the tangent: incoming 0.5 * (0.5 - 1.5) = -0.5,
    // outgoing 0.5 * (1.5 - 0.5) = 0.5. First span h2 + h3 - 0.5 h4 = 0.6875.
    {"TCB continuity", peak(0.0, 0.5, 0.0), {{0.5, 0.6875}, {1.5, 0.6875}}},
    // Tension 0.5 on the middle of a straight run halves its tangent:
    // 0.5 * 0.5 * (1 + 1) = 0.5, so h2 + h3 + 0.5 h4 = 0.5625, not 0.5.
    {"TCB tension 0.5", {{0.0, 0.0, kTcb}, {1.0, 1.0, kTcb, {0.5}}, {2.0, 2.0, kTcb}}, {{0.5, 0.5625}}},
    // Collinear keys a span of 1 and a span of 2 apart. The middle key's
    // tangents take each span's share of the time 0..3: incoming 1/3 * (2 + 1)
    // = 1 per span of 1, outgoing 2/3 * (1 + 2) = 2 per span of 2. Both are
    // slope 1, so the curve stays the line.
    {"TCB uneven spacing",
     {{0.0, 0.0, kTcb}, {1.0, 1.0, kTcb}, {3.0, 3.0, kTcb}},
     {{0.5, 0.5}, {1.5, 1.5}, {2.5, 2.5}}},
    // The first key's outgoing tangent (params[1]) is 20, the second's
    // incoming (params[0]) 0: 10 h2 + 20 h3 at 0.5 = 5 + 2.5.
    {"Hermite outgoing", {{0.0, 0.0, kHermite, {0.0, 20.0}}, {10.0, 10.0, kHermite}}, {{5.0, 7.5}}},
    // A key between two others scales its tangent by its span's share of the
    // neighbours' time, 1 / 2: incoming 4 becomes 2, so at 0.5 of the first
    // span h2 + 2 h4 = 0.5 - 0.25.
    {"Hermite inner key", {{0.0, 0.0, kHermite}, {1.0, 1.0, kHermite, {4.0}}, {2.0, 0.0, kHermite}}, {{0.5, 0.25}}},
    // Tangents 3 and -3 put the inner control values at 0 + 3/3 = 1 and
    // 0 - (-3)/3 = 1: the Bezier 0, 1, 1, 0 gives 3(0.75)^2(0.25) +
    // 3(0.75)(0.25)^2 = 0.5625 at 0.25 and 0.75 at 0.5.
    {"1-D Bezier",
     {{0.0, 0.0, kBezier, {0.0, 3.0}}, {1.0, 0.0, kBezier, {-3.0}}},
     {{0.25, 0.5625}, {0.5, 0.75}, {0.75, 0.5625}}},
    // Handles at (0.5,1) and (2.5,5) keep the line but not an even pace: the
    // curve parameter at time 1 is not 1/3 (which would give 1.777...), yet the
    // value must still be 2.
    {"2-D Bezier uneven",
     {{0.0, 0.0, kBezier2D, {0.0, 0.0, 0.5, 1.0}}, {3.0, 6.0, kBezier2D, {-0.5, -1.0}}},
     {{1.0, 2.0}, {2.7, 5.4}}},
    // Flat handles (1,0) and (2,6): times 0,1,2,3 make time = 3u, so at time 1
    // u = 1/3 and the value is 3(1/3)^2(2/3) 6 + (1/3)^3 6 = 4/3 + 2/9 = 14/9.
    {"2-D Bezier eased",
     {{0.0, 0.0, kBezier2D, {0.0, 0.0, 1.0, 0.0}}, {3.0, 6.0, kBezier2D, {-1.0, 0.0}}},
     {{1.0, 14.0 / 9.0}, {1.5, 3.0}, {2.0, 6.0 - 14.0 / 9.0}}},
    // A TCB start key has no handle: one a third of the span along its tangent
    // (the chord 6) lands at (1,2), on the line again.
    {"2-D Bezier after TCB", {{0.0, 0.0, kTcb}, {3.0, 6.0, kBezier2D, {-1.0, -2.0}}}, {{1.0, 2.0}}},
    {"constant before, reset after", kZigzag, {{0.0, 1.0}, {6.0, 0.0}}, kConstant, kReset},
    // After: 6 -> 2, 7 -> 3, 10 -> 2 (two periods on), 9 -> 1 (a new cycle).
    // Before: 0 -> 4, -1 -> 3, -6 -> 2.
    {"repeat",
     kZigzag,
     {{6.0, 3.0}, {7.0, 5.0}, {10.0, 3.0}, {9.0, 1.0}, {0.0, 4.0}, {-1.0, 5.0}, {-6.0, 3.0}},
     kRepeat,
     kRepeat},
    // After: the first cycle runs backwards from 5, so f(5 + d) = f(5 - d);
    // the next runs forwards again from 1. Before: f(1 - d) = f(1 + d) in the
    // mirrored cycle, forwards two periods back.
    {"oscillate",
     kZigzag,
     {{6.0, 4.0}, {7.0, 5.0}, {8.0, 3.0}, {9.0, 1.0}, {10.0, 3.0}, {0.0, 3.0}, {-2.0, 4.0}, {-5.0, 5.0}},
     kOscillate,
     kOscillate},
    // Each period adds the last value minus the first, 3 - 1 = 2.
    {"offset repeat",
     kZigzag,
     {{6.0, 5.0}, {9.0, 5.0}, {11.0, 9.0}, {0.0, 2.0}, {-5.0, 1.0}},
     kOffsetRepeat,
     kOffsetRepeat},
    // The zigzag leaves at slope 2 before its first key and -1 after its last.
    {"linear zigzag", kZigzag, {{0.0, -1.0}, {-2.0, -5.0}, {7.0, 1.0}}, kLinear, kLinear},
    // A Hermite end key's incoming tangent 4 over a span of 2 is slope 2, not
    // the chord's slope 1.
    {"linear after Hermite", {{0.0, 0.0, kHermite}, {2.0, 2.0, kHermite, {4.0}}}, {{3.0, 4.0}}, kConstant, kLinear}};

TEST(EnvelopeEvaluation, EachShapeAndBehaviour) {
  for (const Case &c : kCases) {
    lwsim::Envelope env;
    build(env, c.keys, c.pre, c.post);
    for (auto [time, value] : c.values)
      EXPECT_NEAR(evaluateEnvelope(env, time), value, 1e-9) << c.what << " at " << time;
  }
  // Just past the last key an offset repeat carries on from its value.
  lwsim::Envelope offset;
  build(offset, kZigzag, kOffsetRepeat, kOffsetRepeat);
  EXPECT_NEAR(evaluateEnvelope(offset, 5.0 + 1e-6), 3.0, 1e-5);
  // One key gives its value whatever the behaviours.
  for (int behaviour = kReset; behaviour <= kLinear; ++behaviour) {
    lwsim::Envelope one;
    build(one, {{2.0, 3.5, kTcb}}, behaviour, behaviour);
    for (double time : {-10.0, 2.0, 40.0}) EXPECT_NEAR(evaluateEnvelope(one, time), 3.5, 1e-9) << behaviour;
  }
  // Many keys: each time finds its own span. Keys at t = 0..40 with value
  // t^2; the midpoint of span [i, i+1] is (i^2 + (i+1)^2) / 2.
  lwsim::Envelope many;
  for (int i = 0; i <= 40; ++i) many.createKey(i, i * i)->shape = kLine;
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(evaluateEnvelope(many, i + 0.5), (i * i + (i + 1) * (i + 1)) / 2.0, 1e-9) << i;
    EXPECT_NEAR(evaluateEnvelope(many, i), i * i, 1e-9) << i;
  }
}

}  // namespace
