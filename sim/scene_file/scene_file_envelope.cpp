#include "scene_file_envelope.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace lwsim {

namespace {

enum Shape : int { kTcb = 0, kHermite = 1, kBezier = 2, kBezier2D = 5 };
constexpr int kLastShape = 5;
constexpr int kLastBehavior = kLinear;

EnvelopeKey readKey(const SceneFileText &text) {
  const std::vector<std::string> words = text.arguments();
  if (words.size() != 9) text.fail("a Key line holds a value, a time, a shape and six parameters");
  const double value = text.number(words[0], "key value");
  const double time = text.number(words[1], "key time");
  const long long shape = text.integer(words[2], "key shape");
  if (shape < 0 || shape > kLastShape) text.fail("a key's shape is 0 to " + std::to_string(kLastShape));
  std::array<double, 6> p{};
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = text.number(words[3 + i], "key parameter");
  return keyFromFile(value, time, static_cast<int>(shape), p);
}

int readBehavior(const SceneFileText &text, const std::string &word) {
  const long long code = text.integer(word, "behaviour");
  if (code < 0 || code > kLastBehavior) text.fail("a behaviour is 0 to " + std::to_string(kLastBehavior));
  return static_cast<int>(code);
}

}  // namespace

EnvelopeKey keyFromFile(double value, double time, int shape, const std::array<double, 6> &p) {
  EnvelopeKey key;
  key.value = value;
  key.time = time;
  key.shape = shape;
  if (shape == kTcb || shape == kHermite || shape == kBezier) {
    key.tension = p[0];
    key.continuity = p[1];
    key.bias = p[2];
  }
  if (shape == kHermite || shape == kBezier) key.params = {p[3], p[4], 0.0, 0.0};
  if (shape == kBezier2D) key.params = {p[0], p[1], p[2], p[3]};
  return key;
}

// Whether a time read earlier lies within the tolerance of time: the
// nearest one on either side does if any does.
bool nearEarlierKey(const std::set<double> &times, double time) {
  const auto above = times.lower_bound(time);
  const auto near = [time](double earlier) { return std::abs(earlier - time) < Envelope::kTimeTolerance; };
  return (above != times.end() && near(*above)) || (above != times.begin() && near(*std::prev(above)));
}

EnvelopeDescription readEnvelopeBlock(SceneFileText &text) {
  const int opened = text.lineNumber();
  const auto next = [&text, opened] {
    if (!text.advance()) text.failAt(opened, "the { Envelope block is cut off by the end of the file");
  };
  next();
  const long long count = text.integer(text.line(), "key count");
  if (count < 0) text.fail("an envelope's key count cannot be negative");

  EnvelopeDescription envelope;
  std::set<double> times;  // of the keys read so far
  for (long long read = 0; read < count; ++read) {
    next();
    if (text.keyword() != "Key")
      text.fail("the envelope announces " + std::to_string(count) + " keys but holds " + std::to_string(read));
    const EnvelopeKey key = readKey(text);
    if (nearEarlierKey(times, key.time)) text.fail("two keys of the envelope are at time " + text.arguments()[1]);
    if (!std::isnan(key.time)) times.insert(key.time);  // NaN is near nothing and has no place in order
    envelope.keys.push_back(key);
  }
  // Behaviors, and whatever later versions add, up to the closing brace.
  for (next(); !text.closesBlock(); next()) {
    if (text.opensBlock()) {
      text.skipBlock();
    } else if (text.keyword() == "Key") {
      text.fail("the envelope holds more keys than the " + std::to_string(count) + " it announces");
    } else if (text.keyword() == "Behaviors") {
      const std::vector<std::string> words = text.arguments();
      if (words.size() != 2) text.fail("Behaviors takes a pre- and a post-behaviour");
      envelope.pre = readBehavior(text, words[0]);
      envelope.post = readBehavior(text, words[1]);
    }
  }
  return envelope;
}

}  // namespace lwsim
