// The key setter driven through the module in the simulated host: lwsim
// scripts run in-process, the panel's controls by creation index, a
// channel's keys as the scene holds them, and the events on the master topic.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "key_setter/master/ring_records.h"
#include "sim/host.h"
#include "support/module_host.h"
#include "support/script_session.h"

namespace key_panel_test {

// Controls of the key-setter panel by creation index: the seven operations'
// cycling buttons, the fold selector's two, the fields, the scope, the item
// kinds, the channel toggles, the extra section and the clip-set area.
constexpr int kCreateKey = 1, kDeleteKey = 6, kDeleteRange = 7, kFolded = 8, kUnfolded = 9, kFrame = 10, kFrom = 11,
              kTo = 12, kOffset = 13, kFactor = 14, kDestination = 15, kCount = 16, kStep = 17, kScope = 18, kNull = 19,
              kMesh = 20, kCamera = 23, kPosition = 24, kPositionX = 25, kPositionY = 26, kPositionZ = 27,
              kRotation = 28, kRotationH = 29, kRotationP = 30, kRotationB = 31, kScale = 32, kScaleX = 33,
              kScaleY = 34, kScaleZ = 35, kMisc = 36, kMorph = 37, kDissolve = 38, kZero = 39, kHundred = 40,
              kKeyShape = 42, kShape = 43, kTension = 44, kContinuity = 45, kBias = 46, kOk = 48, kCancel = 49,
              kUndo = 50, kRedo = 51, kBehavior = 52, kPre = 53, kPost = 54, kCopyValues = 55, kPasteValues = 56,
              kPoseClip = 58, kCharacter = 59, kClone = 60, kClipSet = 61;

constexpr double kFps = 30.0;

inline std::string press(int index) { return "@press #" + std::to_string(index) + "\n"; }
inline std::string set(int index, const std::string &value) {
  return "@set #" + std::to_string(index) + " " + value + "\n";
}
inline std::string key(int code) { return "@keypress " + std::to_string(code) + "\n"; }
inline std::string typed(const std::string &text) {
  std::string keys;
  for (const char c : text) keys += key(c);
  return keys;
}
// The operation selector opens on Create Key and steps on with each press.
inline std::string choose(int operation) {
  std::string presses;
  for (int shown = kCreateKey; shown < operation; ++shown) presses += press(shown);
  return presses;
}
inline const std::string kPressOk = "@press \"O K\"\n";

// Value and state of each control as one @controls prints them
// ("control #N TYPE "LABEL" VALUE STATE"), one map per @controls.
using Snapshot = std::map<int, std::pair<std::string, std::string>>;
inline std::vector<Snapshot> snapshots(const std::vector<std::string> &out) {
  std::vector<Snapshot> all;
  for (const std::string &line : out) {
    if (line.rfind("control #", 0) != 0) continue;
    const int index = std::stoi(line.substr(9));
    if (index == 1) all.emplace_back();
    const std::size_t state = line.rfind(' '), value = line.rfind(' ', state - 1);
    all.back()[index] = {line.substr(value + 1, state - value - 1), line.substr(state + 1)};
  }
  return all;
}
// The indices in [first, last] whose state is `state`.
inline std::vector<int> withState(const Snapshot &shown, int first, int last, const std::string &state) {
  std::vector<int> found;
  for (int i = first; i <= last; ++i)
    if (shown.at(i).second == state) found.push_back(i);
  return found;
}

// A key as (frame, value, shape, tension, continuity, bias, params), the
// frame read back from seconds and rounded to a millionth.
using Key = std::tuple<double, double, int, double, double, double, std::array<double, 4>>;
using Keys = std::vector<Key>;
// Values are rounded to a billionth, so that sampled curves compare.
inline double rounded(double value, double unit) { return std::round(value * unit) / unit; }
inline Key k(double frame, double value, int shape = 0, std::array<double, 4> params = {}) {
  return {frame, rounded(value, 1e9), shape, 0.0, 0.0, 0.0, params};
}

// Answers the panel's two questions as the clip-set tool does: its names,
// and its clip-set record whose sequences of 144-byte channel entries
// start at byte 32, one per clone.
struct StandInClipSetTool {
  struct Entry {
    LWItemID item;
    LWChannelID channel;
  };
  std::vector<std::string> names;
  std::string clipSet;
  int index = 0;
  int valid = 1;  // 0: every field filled but the one that says the answer holds
  bool withRecord = true;

  void setClones(const std::vector<std::vector<Entry>> &clones) {
    using namespace lwp::cks;
    entries_.assign(clones.size(), {});
    record_.assign(kClipSetSequencesOffset + clones.size() * sizeof(ClipSetSequence), 0xEE);
    for (std::size_t clone = 0; clone < clones.size(); ++clone) {
      std::vector<unsigned char> &bytes = entries_[clone];
      bytes.assign(clones[clone].size() * kClipSetEntrySize, 0xEE);
      for (std::size_t i = 0; i < clones[clone].size(); ++i) {
        std::memcpy(&bytes[i * kClipSetEntrySize + kClipSetEntryItemOffset], &clones[clone][i].item, sizeof(LWItemID));
        std::memcpy(&bytes[i * kClipSetEntrySize + kClipSetEntryChannelOffset], &clones[clone][i].channel,
                    sizeof(LWChannelID));
      }
      setSequence(clone, {bytes.data(), bytes.data() + bytes.size(), bytes.data() + bytes.size()});
    }
  }
  void setSequence(std::size_t clone, lwp::cks::ClipSetSequence sequence) {
    std::memcpy(&record_[lwp::cks::kClipSetSequencesOffset + clone * sizeof sequence], &sequence, sizeof sequence);
  }
  void listenOn(lwsim::Host &host) {
    host.ring().attach(lwp::cks::kClipSetTopic, this, [this](int code, void *data) { answer(code, data); });
  }
  void answer(int question, void *reply) {
    if (reply == nullptr) return;
    if (question == lwp::cks::kClipSetInfoQuestion) {
      pointers_.clear();
      for (const std::string &name : names) pointers_.push_back(name.c_str());
      nameSequence_ = {pointers_.data(), pointers_.data() + pointers_.size(), pointers_.data() + pointers_.size()};
      *static_cast<lwp::cks::ClipSetInfoReply *>(reply) = {valid, &nameSequence_, clipSet.c_str(), index};
    }
    if (question == lwp::cks::kClipSetChannelQuestion)
      *static_cast<lwp::cks::ClipSetChannelReply *>(reply) = {valid, 0xFFFFFFFFFFFFFFFFull,
                                                              withRecord ? record_.data() : nullptr, index};
  }
  std::vector<const char *> pointers_;
  lwp::cks::ClipSetSequence nameSequence_{};
  std::vector<std::vector<unsigned char>> entries_;
  std::vector<unsigned char> record_;
};

class KeyPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    host().ring().attach(lwp::cks::kMasterTopic, this, [this](int code, void *) { masterEvents_.push_back(code); });
  }

  lwsim::Host &host() { return module_.host(); }
  lwsim::Scene &scene() { return host().scene(); }
  std::vector<std::string> run(const std::string &script) { return lwtest::runScript(host(), script); }
  // Runs the key setter with the lines as the user's work in its panel.
  std::vector<std::string> inPanel(const std::string &work) { return run("@run QD:VaruDudEdodav\n" + work); }
  // One press of a history button in a panel opened for it.
  void historyButton(int button) { inPanel(press(button) + "@press Cancel\n"); }

  lwsim::Panel *findPanel() {
    for (const auto &panel : host().panels().panels())
      if (panel->title().rfind("QD:VaruDudEdodav", 0) == 0) return panel.get();
    return nullptr;
  }
  lwsim::Control &control(int index) {
    lwsim::Panel *panel = findPanel();
    if (panel == nullptr) throw std::runtime_error("no key-setter panel");
    return *panel->findControl(index);
  }
  lwsim::DrawState state(int index) { return control(index).drawState(); }
  long resets() const { return std::count(masterEvents_.begin(), masterEvents_.end(), lwp::cks::kMasterResetEvent); }
  long issued(const std::string &line) const {
    const std::vector<std::string> lines = module_.commandLines();
    return std::count(lines.begin(), lines.end(), line);
  }

  lwsim::SceneItem &item(const std::string &name) { return *scene().findByName(name); }
  lwsim::Envelope &envelope(const std::string &name, const std::string &path) {
    return scene().ensureChannel(item(name), path).envelope();
  }
  // Replaces the channel's keys.
  void put(const std::string &name, const std::string &path, const Keys &keys) {
    lwsim::Envelope &e = envelope(name, path);
    while (e.keyCount() > 0) e.destroyKey(&e.key(0));
    for (const auto &[frame, value, shape, tension, continuity, bias, params] : keys)
      *e.createKey(frame / kFps, value) = {frame / kFps, value, shape, tension, continuity, bias, params};
  }
  Keys keys(const std::string &name, const std::string &path) {
    Keys found;
    const lwsim::Envelope &e = envelope(name, path);
    for (std::size_t i = 0; i < e.keyCount(); ++i) {
      const lwsim::EnvelopeKey &x = e.key(i);
      found.emplace_back(rounded(x.time * kFps, 1e6), rounded(x.value, 1e9), x.shape, x.tension, x.continuity, x.bias,
                         x.params);
    }
    return found;
  }
  std::string addToSelection(const std::string &name) {
    char line[48];
    std::snprintf(line, sizeof line, "AddToSelection 0x%x\n", static_cast<unsigned>(item(name).id));
    return line;
  }
  // The clip-set tool's entry for an item's channel.
  StandInClipSetTool::Entry entry(const std::string &name, const std::string &path) {
    return {reinterpret_cast<LWItemID>(item(name).id),
            reinterpret_cast<LWChannelID>(&scene().ensureChannel(item(name), path))};
  }

  lwtest::ModuleHost module_;
  std::vector<int> masterEvents_;
  StandInClipSetTool tool_;
};

}  // namespace key_panel_test
