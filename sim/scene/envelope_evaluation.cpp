#include "envelope_evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace lwsim {
namespace {

enum Shape : int { kTcb = 0, kHermite = 1, kBezier = 2, kStraight = 3, kStepped = 4, kBezier2D = 5 };

// Handle time offsets shorter than this count as vertical handles.
constexpr double kMinHandleTime = 1e-5;

// A span between two keys with its neighbours (null at the ends).
struct Span {
  const EnvelopeKey *before;
  const EnvelopeKey &start;
  const EnvelopeKey &end;
  const EnvelopeKey *after;

  double length() const { return end.time - start.time; }
};

double cubicBezier(double p0, double p1, double p2, double p3, double u) {
  const double v = 1.0 - u;
  return v * v * v * p0 + 3.0 * v * v * u * p1 + 3.0 * v * u * u * p2 + u * u * u * p3;
}

// Cubic Hermite on u in [0, 1]; tangents are per whole span.
double hermite(double u, double v0, double v1, double out, double in) {
  const double u2 = u * u, u3 = u2 * u;
  return (2.0 * u3 - 3.0 * u2 + 1.0) * v0 + (3.0 * u2 - 2.0 * u3) * v1 + (u3 - 2.0 * u2 + u) * out + (u3 - u2) * in;
}

// Slope of a 2-D Bezier handle scaled to a span of the given length.
double handleTangent(double handleTime, double handleValue, double spanLength) {
  const double time = std::fabs(handleTime) > kMinHandleTime ? handleTime : kMinHandleTime;
  return handleValue * spanLength / time;
}

// Tangent leaving span.start, per span. Its neighbour share is weighted by the
// span lengths so that uneven key spacing keeps the curve smooth.
double outgoing(const Span &s) {
  const EnvelopeKey &k = s.start;
  const double delta = s.end.value - k.value;
  const double share = s.before ? s.length() / (s.end.time - s.before->time) : 1.0;
  switch (k.shape) {
    case kTcb: {
      const double a = (1.0 - k.tension) * (1.0 + k.continuity) * (1.0 + k.bias);
      const double b = (1.0 - k.tension) * (1.0 - k.continuity) * (1.0 - k.bias);
      return s.before ? share * (a * (k.value - s.before->value) + b * delta) : b * delta;
    }
    case kStraight:
      return s.before ? share * (k.value - s.before->value + delta) : delta;
    case kHermite:
    case kBezier:
      return k.params[1] * share;
    case kBezier2D:
      return handleTangent(k.params[2], k.params[3], s.length());
    default:
      return 0.0;
  }
}

// Tangent arriving at span.end, per span.
double incoming(const Span &s) {
  const EnvelopeKey &k = s.end;
  const double delta = k.value - s.start.value;
  const double share = s.after ? s.length() / (s.after->time - s.start.time) : 1.0;
  switch (k.shape) {
    case kTcb: {
      const double a = (1.0 - k.tension) * (1.0 - k.continuity) * (1.0 + k.bias);
      const double b = (1.0 - k.tension) * (1.0 + k.continuity) * (1.0 - k.bias);
      return s.after ? share * (b * (s.after->value - k.value) + a * delta) : a * delta;
    }
    case kStraight:
      return s.after ? share * (s.after->value - k.value + delta) : delta;
    case kHermite:
    case kBezier:
      return k.params[0] * share;
    case kBezier2D:
      return handleTangent(k.params[0], k.params[1], s.length());
    default:
      return 0.0;
  }
}

// The curve parameter at which the time coordinate of the curve reaches time;
// the time coordinate is taken to rise along the curve.
double solveBezierTime(double x0, double x1, double x2, double x3, double time) {
  double lo = 0.0, hi = 1.0;
  for (int i = 0; i < 64; ++i) {
    const double mid = 0.5 * (lo + hi);
    (cubicBezier(x0, x1, x2, x3, mid) < time ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

// The start key's outgoing handle and the end key's incoming handle are the
// inner control points. A start key of another shape gets a handle a third of
// the span long along its outgoing tangent, which gives the same curve as the
// Hermite form.
double bezier2D(const Span &s, double time) {
  const bool handled = s.start.shape == kBezier2D;
  const double t1 = s.start.time + (handled ? s.start.params[2] : s.length() / 3.0);
  const double v1 = s.start.value + (handled ? s.start.params[3] : outgoing(s) / 3.0);
  const double t2 = s.end.time + s.end.params[0];
  const double v2 = s.end.value + s.end.params[1];
  const double u = solveBezierTime(s.start.time, t1, t2, s.end.time, time);
  return cubicBezier(s.start.value, v1, v2, s.end.value, u);
}

// 1-D Bezier tangents are the Hermite tangents: the inner control values sit
// a third of a tangent from the keys, which is the same cubic.
double spanValue(const Span &s, double time) {
  const double u = (time - s.start.time) / s.length();
  switch (s.end.shape) {
    case kTcb:
    case kHermite:
    case kBezier:
      return hermite(u, s.start.value, s.end.value, outgoing(s), incoming(s));
    case kStepped:
      return s.start.value;
    case kBezier2D:
      return bezier2D(s, time);
    default:
      return s.start.value + u * (s.end.value - s.start.value);
  }
}

Span spanAt(const Envelope &env, std::size_t end) {
  const std::size_t last = env.keyCount() - 1;
  return {end >= 2 ? &env.key(end - 2) : nullptr, env.key(end - 1), env.key(end),
          end < last ? &env.key(end + 1) : nullptr};
}

// Value for a time within the keys' range (at least two keys).
double interpolate(const Envelope &env, double time) {
  // The span's end: the first key from the second on not before the time.
  std::size_t end = 1, last = env.keyCount() - 1;
  while (end < last) {
    const std::size_t middle = end + (last - end) / 2;
    if (env.key(middle).time < time)
      end = middle + 1;
    else
      last = middle;
  }
  const Span s = spanAt(env, end);
  if (std::fabs(time - s.start.time) <= Envelope::kTimeTolerance) return s.start.value;
  if (std::fabs(time - s.end.time) <= Envelope::kTimeTolerance) return s.end.value;
  return spanValue(s, time);
}

// Value outside the keys' range by the behaviour of that side: cyclic
// behaviours fold the time into the range, counting whole cycles.
double extrapolate(const Envelope &env, int behavior, double time) {
  const std::size_t last = env.keyCount() - 1;
  const EnvelopeKey &first = env.key(0), &lastKey = env.key(last);
  const bool before = time < first.time;
  const double period = lastKey.time - first.time;
  const double cycles = std::floor((time - first.time) / period);
  const double phase = std::clamp(time - first.time - cycles * period, 0.0, period);
  switch (behavior) {
    case kReset:
      return 0.0;
    case kRepeat:
      return interpolate(env, first.time + phase);
    case kOscillate:
      return interpolate(env, std::fmod(cycles, 2.0) != 0.0 ? lastKey.time - phase : first.time + phase);
    case kOffsetRepeat:
      return interpolate(env, first.time + phase) + cycles * (lastKey.value - first.value);
    case kLinear: {
      const Span edge = spanAt(env, before ? 1 : last);
      const EnvelopeKey &anchor = before ? first : lastKey;
      const double tangent = before ? outgoing(edge) : incoming(edge);
      return anchor.value + tangent / edge.length() * (time - anchor.time);
    }
    default:
      return before ? first.value : lastKey.value;
  }
}

}  // namespace

double evaluateEnvelope(const Envelope &envelope, double time) {
  const std::size_t count = envelope.keyCount();
  if (count == 0) return 0.0;
  if (count == 1) return envelope.key(0).value;
  const EnvelopeKey &first = envelope.key(0), &last = envelope.key(count - 1);
  if (time < first.time - Envelope::kTimeTolerance) return extrapolate(envelope, envelope.preBehavior(), time);
  if (time > last.time + Envelope::kTimeTolerance) return extrapolate(envelope, envelope.postBehavior(), time);
  return interpolate(envelope, time);
}

}  // namespace lwsim
