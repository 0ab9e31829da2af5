// A simulated host with the key setter's globals and a fresh undo history,
// for the tests of the history and of its entries.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/channels/key_channels.h"
#include "common/channels/key_records.h"
#include "common/globals/host_globals.h"
#include "key_setter/history/undo_history.h"
#include "sim/host.h"

namespace history_test {

// A key as the envelope holds it: time, value, shape, tension, continuity,
// bias, params.
using Key = std::tuple<double, double, int, double, double, double, std::array<double, 4>>;
using Keys = std::vector<Key>;

inline Key tcb(double time, double value, double tension = 0.0, double continuity = 0.0, double bias = 0.0) {
  return {time, value, 0, tension, continuity, bias, {}};
}
inline Key shaped(double time, double value, int shape, std::array<double, 4> params = {}) {
  return {time, value, shape, 0.0, 0.0, 0.0, params};
}

inline lwp::KeyRecord record(const Key &key) {
  const auto &[time, value, shape, tension, continuity, bias, params] = key;
  return {time, value, shape, tension, continuity, bias, params};
}

inline LWChannelID idOf(lwsim::Channel &channel) { return reinterpret_cast<LWChannelID>(&channel); }

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function()); }
  void TearDown() override { lwp::endChannelBatch(); }

  lwsim::Scene &scene() { return host_.scene(); }
  lwsim::Channel &channel(lwsim::SceneItem &item, const std::string &path) { return scene().ensureChannel(item, path); }

  static Keys keysOf(const lwsim::Channel &channel) {
    Keys keys;
    const lwsim::Envelope &envelope = channel.envelope();
    for (std::size_t i = 0; i < envelope.keyCount(); ++i) {
      const lwsim::EnvelopeKey &k = envelope.key(i);
      keys.emplace_back(k.time, k.value, k.shape, k.tension, k.continuity, k.bias, k.params);
    }
    return keys;
  }
  static void put(lwsim::Channel &channel, const Key &key) {
    const auto &[time, value, shape, tension, continuity, bias, params] = key;
    *channel.envelope().createKey(time, value) = {time, value, shape, tension, continuity, bias, params};
  }
  static void putAll(lwsim::Channel &channel, const Keys &keys) {
    for (const Key &key : keys) put(channel, key);
  }

  template <class Entry, class... Args>
  void add(Args &&...args) {
    ASSERT_TRUE(history_.add(std::make_unique<Entry>(std::forward<Args>(args)...)));
  }

  // Status lines as lwsim prints them.
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  std::size_t refreshes() const {
    const auto &log = host_.commands().log();
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [](const lwsim::CommandRecord &c) { return c.line == "RefreshNow"; }));
  }

  lwsim::Host host_;
  lwp::cks::CUndoHistory history_;
};

}  // namespace history_test
