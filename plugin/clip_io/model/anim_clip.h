// The in-memory animation clip: items, their channels and keys, as the save
// captures them and the load applies them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "anim_clip_keys.h"

namespace lwp::akio {

// A channel path relative to its item ("Position.X", "Face.Smile") or a
// parameter channel ("LWParam.…"), with its keys in envelope order.
struct AnimClipChannel {
  std::string name;
  AnimClipKeys keys;
};

using Vector3 = std::array<double, 3>;

struct AnimClipItem {
  std::string itemName;     // "LWScene" for the scene entry
  std::string fullPath;     // "/Rig/Hip/Leg"; "/LWScene" for the scene entry
  double rangeStart = 0.0;  // seconds
  double rangeEnd = 0.0;    // seconds, exclusive
  double fps = 0.0;
  Vector3 pivotPos{};
  Vector3 pivotRot{};
  Vector3 restPos{};
  Vector3 restRot{};
  std::vector<AnimClipChannel> channels;  // parameter channels first
};

using AnimClip = std::vector<AnimClipItem>;

// The name of the scene entry, never an item's.
inline constexpr const char *kSceneEntryName = "LWScene";

inline constexpr std::size_t kItemChannelReserve = 16;

// The first channel whose name equals name byte for byte; null for none.
const AnimClipChannel *findClipChannel(const std::vector<AnimClipChannel> &channels, const std::string &name);

// The value of the channel's first key; 0 without keys.
double firstKeyValue(const AnimClipChannel &channel);

// A parameter channel: one key at time 0 holding value, shape 0, the rest 0.
AnimClipChannel parameterChannel(const char *name, double value);

}  // namespace lwp::akio
