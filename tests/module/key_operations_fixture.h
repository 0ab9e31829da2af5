// A simulated host with the module loaded and the key setter's globals
// acquired in the test, for runs of the key operations called directly:
// items, keys in frames, and the history's depth around a run.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/channels/key_channels.h"
#include "common/globals/host_globals.h"
#include "key_setter/history/undo_history.h"
#include "key_setter/operations/run_settings.h"
#include "sim/host.h"
#include "support/module_host.h"

namespace key_operations_test {

inline constexpr double kFps = 30.0;

// A key as (frame, value), the frame read back from seconds and rounded to
// a millionth so that keys compare as typed.
using FrameKey = std::pair<double, double>;
using FrameKeys = std::vector<FrameKey>;

inline double roundedFrame(double seconds) { return std::round(seconds * kFps * 1e6) / 1e6; }

class KeyOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    scene().setFramesPerSecond(kFps);
    const lwp::cks::CUndoGroup *newest = history().nextUndo();
    serialBefore_ = newest != nullptr ? static_cast<long long>(newest->serial()) : -1;
  }
  void TearDown() override { lwp::endChannelBatch(); }

  lwsim::Host &host() { return fixture_.host(); }
  lwsim::Scene &scene() { return host().scene(); }
  static lwp::cks::CUndoHistory &history() { return lwp::cks::undoHistory(); }
  int run(const std::string &line) { return host().commands().run(line); }

  // Layout's way: the new item becomes the only selected one.
  lwsim::SceneItem &addNull(const std::string &name) {
    EXPECT_EQ(run("AddNull " + name), 1);
    return *scene().findByName(name);
  }
  lwsim::SceneItem &addMesh(const std::string &name) {
    EXPECT_EQ(run("LoadObject " + name + ".lwo"), 1);
    return *scene().findByName(name);
  }
  // Adds the item to the selection as the host does, telling the masters.
  void selectAlso(lwsim::SceneItem &item) {
    scene().addToSelection(item);
    host().selectionChanged();
  }
  lwsim::Channel &channel(lwsim::SceneItem &item, const std::string &path) { return scene().ensureChannel(item, path); }
  static LWChannelID idOf(lwsim::Channel &channel) { return reinterpret_cast<LWChannelID>(&channel); }
  static LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }

  // Replaces the channel's keys by TCB keys at the frames.
  static void setKeys(lwsim::Channel &channel, const FrameKeys &keys) {
    lwsim::Envelope &envelope = channel.envelope();
    while (envelope.keyCount() > 0) envelope.destroyKey(&envelope.key(0));
    for (const auto &[frame, value] : keys) envelope.createKey(frame / kFps, value);
  }
  static FrameKeys keysOf(const lwsim::Channel &channel) {
    FrameKeys keys;
    const lwsim::Envelope &envelope = channel.envelope();
    for (std::size_t i = 0; i < envelope.keyCount(); ++i)
      keys.emplace_back(roundedFrame(envelope.key(i).time), envelope.key(i).value);
    return keys;
  }
  static const lwsim::EnvelopeKey &keyAtFrame(const lwsim::Channel &channel, double frame) {
    const lwsim::EnvelopeKey *key = channel.envelope().findKey(frame / kFps);
    EXPECT_NE(key, nullptr) << "no key at frame " << frame;
    static const lwsim::EnvelopeKey none{};
    return key != nullptr ? *key : none;
  }

  void goToFrame(double frame) { host().goToTime(frame / kFps); }
  std::vector<std::string> statusLines() const { return fixture_.transcript(); }
  std::vector<std::string> selectionNames() {
    std::vector<std::string> names;
    for (const lwsim::SceneItem *item : scene().selection()) names.push_back(item->name);
    return names;
  }
  // The group the test committed last, or null when it committed none.
  static const lwp::cks::CUndoGroup *committedGroup(long long after) {
    const lwp::cks::CUndoGroup *newest = history().nextUndo();
    return newest != nullptr && static_cast<long long>(newest->serial()) > after ? newest : nullptr;
  }
  const lwp::cks::CUndoGroup *committedGroup() const { return committedGroup(serialBefore_); }
  long long newestSerial() const {
    const lwp::cks::CUndoGroup *newest = history().nextUndo();
    return newest != nullptr ? static_cast<long long>(newest->serial()) : -1;
  }

  // Every run works on the scope's items with every channel toggle as set.
  static lwp::cks::RunSettings settingsFor(int operation) {
    lwp::cks::RunSettings settings;
    settings.operation = operation;
    settings.scope = lwp::kTargetSelection;
    return settings;
  }

  lwtest::ModuleHost fixture_;
  long long serialBefore_ = -1;
};

}  // namespace key_operations_test
