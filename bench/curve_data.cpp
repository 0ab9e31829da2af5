#include "curve_data.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

namespace lwp_bench {

namespace {

// One key of a curve: a sine wave with noise; shapes cycle through all six.
lwp::akio::AnimClipKey curveKey(std::mt19937_64 &noise, int channel, int frame) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  lwp::akio::AnimClipKey key;
  key.time = frame / kFps;
  key.value = std::sin(frame * 0.05 + channel) * (channel + 1) * 12.5 + unit(noise) * 0.3;
  key.shape = frame % 6;
  if (key.shape == 0) {
    key.tension = unit(noise);
    key.continuity = unit(noise);
    key.bias = unit(noise);
  } else {
    key.param0 = unit(noise) * 4.0;
    key.param1 = unit(noise) * 4.0;
    key.param2 = unit(noise);
    key.param3 = unit(noise);
  }
  return key;
}

void copyKey(const lwp::akio::AnimClipKey &from, lwsim::EnvelopeKey &to) {
  to.shape = from.shape;
  to.tension = from.tension;
  to.continuity = from.continuity;
  to.bias = from.bias;
  to.params = {from.param0, from.param1, from.param2, from.param3};
}

}  // namespace

lwp::akio::AnimClip curveClip(int items, int keysPerChannel) {
  std::mt19937_64 noise(20240601);
  lwp::akio::AnimClip clip(static_cast<std::size_t>(items));
  for (int i = 0; i < items; ++i) {
    lwp::akio::AnimClipItem &item = clip[static_cast<std::size_t>(i)];
    item.itemName = "Null" + std::to_string(i);
    item.fullPath = "/Rig/" + item.itemName;
    item.rangeStart = 0.0;
    item.rangeEnd = keysPerChannel / kFps;
    item.fps = kFps;
    item.pivotPos = {0.125 * i, -1.0 / 3.0, 2.0 / 7.0};
    for (int c = 0; c < 9; ++c) {
      lwp::akio::AnimClipChannel &channel = item.channels.emplace_back();
      channel.name = lwsim::kMotionChannels[static_cast<std::size_t>(c)];
      for (int k = 0; k < keysPerChannel; ++k) channel.keys.push_back(curveKey(noise, c, k));
    }
  }
  return clip;
}

lwsim::SceneItem &addKeyedNulls(lwsim::Scene &scene, int items, int keysPerChannel) {
  const lwp::akio::AnimClip clip = curveClip(items, keysPerChannel);
  lwsim::SceneItem *first = nullptr;
  scene.clearSelection();
  for (const lwp::akio::AnimClipItem &clipItem : clip) {
    lwsim::SceneItem &item = scene.addObject(clipItem.itemName);
    if (first == nullptr) first = &item;
    for (const lwp::akio::AnimClipChannel &channel : clipItem.channels) {
      lwsim::Envelope &envelope = scene.findChannel(item, channel.name)->envelope();
      for (const lwp::akio::AnimClipKey &key : channel.keys) copyKey(key, *envelope.createKey(key.time, key.value));
    }
    scene.addToSelection(item);
  }
  return *first;
}

std::string curveSceneFile(int items, int keysPerChannel) {
  const lwp::akio::AnimClip clip = curveClip(items, keysPerChannel);
  std::string text =
      "LWSC\n3\n\nFirstFrame 1\nLastFrame " + std::to_string(keysPerChannel) + "\nFramesPerSecond 30\n\n";
  char line[512];
  for (const lwp::akio::AnimClipItem &item : clip) {
    text += "AddNullObject " + item.itemName + "\nObjectMotion\nNumChannels 9\n";
    for (std::size_t c = 0; c < item.channels.size(); ++c) {
      text += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + std::to_string(item.channels[c].keys.size()) + "\n";
      for (const lwp::akio::AnimClipKey &key : item.channels[c].keys) {
        std::snprintf(line, sizeof line, "  Key %.17g %.17g %d %.17g %.17g %.17g %.17g %.17g %.17g\n", key.value,
                      key.time, key.shape, key.tension, key.continuity, key.bias, key.param0, key.param1, key.param2);
        text += line;
      }
      text += "  Behaviors 1 1\n}\n";
    }
    text += "\n";
  }
  return text;
}

TemporaryFile::TemporaryFile(const std::string &name)
    : path_((std::filesystem::temp_directory_path() / ("lwp_bench_" + name)).string()) {}

TemporaryFile::~TemporaryFile() { std::remove(path_.c_str()); }

}  // namespace lwp_bench
