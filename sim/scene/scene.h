// The in-memory scene of the simulated host: items with their channel groups,
// the selection, the current time, the scene's ranges and its vertex maps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "channel_tree.h"

namespace lwsim {

using Vector3 = std::array<double, 3>;

// Layout's commands and scene settings give angles in degrees; the host
// keeps radians.
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

enum ItemType : int { kObject = 0, kLight = 1, kCamera = 2, kBone = 3 };

struct SceneItem {
  std::uintptr_t id = 0;
  std::size_t order = 0;  // position among the scene's items
  int type = kObject;
  std::string name;
  std::string fileName;  // objects loaded from a file; empty for nulls
  SceneItem *parent = nullptr;
  SceneItem *owner = nullptr;  // a bone's object
  ChannelGroup *group = nullptr;
  Vector3 pivot{};
  Vector3 pivotRotation{};  // radians
  Vector3 restPosition{};
  Vector3 restRotation{};  // radians
  double schematicX = 0.0;
  double schematicY = 0.0;
  double zoomFactor = 3.2;
  int resolutionWidth = 640;
  int resolutionHeight = 480;
  // Kept by the scene, so that walks never scan every item: the children
  // and an object's bones in creation order, and the item's place among
  // the items of its type (a bone's among its object's bones).
  std::vector<SceneItem *> children;
  std::vector<SceneItem *> bones;
  std::size_t rank = 0;
};

struct FrameRange {
  int first = 1;
  int last = 60;
  int step = 1;
};

// Names of the motion channels in slot order; a camera has the first six.
extern const std::array<const char *, 9> kMotionChannels;

// The name of an object loaded from a file: the file's base name without its
// extension ("dir/Arm.lwo" and "disk:dir/Arm.lwo" give "Arm").
std::string objectNameOf(const std::string &path);

class Scene {
 public:
  // Item ids as Layout numbers them: the type in the top nibble, the
  // ordinal from 0 below (the first object is 0x10000000).
  static constexpr std::uintptr_t kObjectIds = 0x10000000;
  static constexpr std::uintptr_t kLightIds = 0x20000000;
  static constexpr std::uintptr_t kCameraIds = 0x30000000;
  static constexpr std::uintptr_t kBoneIds = 0x40000000;

  Scene() = default;
  Scene(const Scene &) = delete;
  Scene &operator=(const Scene &) = delete;

  // New items get their motion channels, each keyed once at time 0.
  SceneItem &addObject(const std::string &name, const std::string &fileName = {});
  SceneItem &addLight(const std::string &name);
  SceneItem &addCamera(const std::string &name);
  SceneItem &addBone(SceneItem &object, const std::string &name);

  SceneItem *find(std::uintptr_t id) const;
  SceneItem *find(const void *id) const { return find(reinterpret_cast<std::uintptr_t>(id)); }
  SceneItem *findByName(const std::string &name) const;  // the first of that name
  const std::vector<std::unique_ptr<SceneItem>> &items() const { return items_; }

  // Iteration as "LW Item Info 9" offers it: items of a type in creation
  // order; bones only of a given object.
  SceneItem *first(int type, const SceneItem *object) const;
  SceneItem *next(const SceneItem &item) const;
  SceneItem *firstChild(const SceneItem *parent) const;
  SceneItem *nextChild(const SceneItem *parent, const SceneItem &child) const;
  // False when the link would make a cycle.
  bool setParent(SceneItem &child, SceneItem *parent);
  void rename(SceneItem &item, const std::string &name);

  // Top-level channel groups, one per item, in creation order.
  ChannelGroup *groupAfter(const ChannelGroup *group) const;
  Channel *findChannel(const SceneItem &item, const std::string &path) const;
  Channel &ensureChannel(SceneItem &item, const std::string &path);

  // MORF vertex maps of the scene; adding one gives the object its channel.
  void addMorphMap(SceneItem &object, const std::string &mapName);
  const std::vector<std::string> &morphMaps() const { return morphMaps_; }

  const std::vector<SceneItem *> &selection() const { return selection_; }
  void select(SceneItem &item) {
    selection_.assign(1, &item);
    selected_ = {&item};
  }
  void addToSelection(SceneItem &item);
  void removeFromSelection(SceneItem &item);
  void clearSelection() {
    selection_.clear();
    selected_.clear();
  }

  double time() const { return time_; }
  void setTime(double seconds) { time_ = seconds; }
  double framesPerSecond() const { return fps_; }
  void setFramesPerSecond(double fps) { fps_ = fps; }
  FrameRange &previewRange() { return preview_; }
  const FrameRange &previewRange() const { return preview_; }
  FrameRange &renderRange() { return render_; }
  const FrameRange &renderRange() const { return render_; }
  const std::string &name() const { return name_; }
  const std::string &fileName() const { return fileName_; }
  void setFile(const std::string &name, const std::string &fileName);

 private:
  SceneItem &addItem(int type, std::uintptr_t idBase, const std::string &name);
  SceneItem &keep(std::unique_ptr<SceneItem> item);
  void addMotionChannels(SceneItem &item);
  // The items of the item's type in creation order; a bone's: its object's bones.
  const std::vector<SceneItem *> &kindOf(const SceneItem &item) const;

  std::vector<std::unique_ptr<SceneItem>> items_;
  std::unordered_map<std::uintptr_t, SceneItem *> byId_;
  std::vector<std::unique_ptr<ChannelGroup>> groups_;
  std::unordered_map<const ChannelGroup *, std::size_t> groupIndex_;
  std::array<std::vector<SceneItem *>, 3> byType_;  // objects, lights, cameras
  std::array<std::uintptr_t, 4> counts_{};
  std::vector<std::string> morphMaps_;
  std::vector<SceneItem *> selection_;
  std::unordered_set<const SceneItem *> selected_;  // the same items, asked about in constant time
  double time_ = 0.0;
  double fps_ = 30.0;
  FrameRange preview_;
  FrameRange render_;
  std::string name_ = "Untitled";
  std::string fileName_;
};

}  // namespace lwsim
