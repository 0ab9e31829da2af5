#include "scene.h"

#include <algorithm>

namespace lwsim {

const std::array<const char *, 9> kMotionChannels = {"Position.X", "Position.Y", "Position.Z",
                                                     "Rotation.H", "Rotation.P", "Rotation.B",
                                                     "Scale.X",    "Scale.Y",    "Scale.Z"};

std::string objectNameOf(const std::string &path) {
  const std::size_t separator = path.find_last_of("/\\:");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

SceneItem &Scene::addObject(const std::string &name, const std::string &fileName) {
  SceneItem &item = addItem(kObject, kObjectIds, name);
  item.fileName = fileName;
  return item;
}

SceneItem &Scene::addLight(const std::string &name) { return addItem(kLight, kLightIds, name); }

SceneItem &Scene::addCamera(const std::string &name) { return addItem(kCamera, kCameraIds, name); }

SceneItem &Scene::addBone(SceneItem &object, const std::string &name) {
  const std::uintptr_t id = kBoneIds + counts_[kBone]++;
  auto item = std::make_unique<SceneItem>();
  item->id = id;
  item->type = kBone;
  item->name = name;
  item->owner = &object;
  item->parent = &object;
  // A bone's group sits below its object's group.
  item->group = &object.group->addGroup(name);
  item->group->markBoneGroup();
  return keep(std::move(item));
}

SceneItem &Scene::addItem(int type, std::uintptr_t idBase, const std::string &name) {
  auto item = std::make_unique<SceneItem>();
  item->id = idBase + counts_[static_cast<std::size_t>(type)]++;
  item->type = type;
  item->name = name;
  groups_.push_back(std::make_unique<ChannelGroup>(name, nullptr));
  item->group = groups_.back().get();
  return keep(std::move(item));
}

SceneItem &Scene::keep(std::unique_ptr<SceneItem> item) {
  item->order = items_.size();
  byId_[item->id] = item.get();
  items_.push_back(std::move(item));
  addMotionChannels(*items_.back());
  return *items_.back();
}

void Scene::addMotionChannels(SceneItem &item) {
  const std::size_t count = item.type == kCamera ? 6 : 9;
  for (std::size_t slot = 0; slot < count; ++slot) {
    Envelope &envelope = item.group->addChannel(kMotionChannels[slot]).envelope();
    envelope.createKey(0.0, slot >= 6 ? 1.0 : 0.0);
  }
}

SceneItem *Scene::find(std::uintptr_t id) const {
  const auto found = byId_.find(id);
  return found != byId_.end() ? found->second : nullptr;
}

SceneItem *Scene::findByName(const std::string &name) const {
  for (const auto &item : items_)
    if (item->name == name) return item.get();
  return nullptr;
}

SceneItem *Scene::first(int type, const SceneItem *object) const {
  if (type == kBone && object == nullptr) return nullptr;
  for (const auto &item : items_)
    if (item->type == type && (type != kBone || item->owner == object)) return item.get();
  return nullptr;
}

SceneItem *Scene::next(const SceneItem &current) const {
  for (std::size_t i = current.order + 1; i < items_.size(); ++i)
    if (items_[i]->type == current.type && items_[i]->owner == current.owner) return items_[i].get();
  return nullptr;
}

SceneItem *Scene::firstChild(const SceneItem *parent) const {
  for (const auto &item : items_)
    if (item->parent == parent && parent != nullptr) return item.get();
  return nullptr;
}

SceneItem *Scene::nextChild(const SceneItem *parent, const SceneItem &child) const {
  if (parent == nullptr) return nullptr;
  for (std::size_t i = child.order + 1; i < items_.size(); ++i)
    if (items_[i]->parent == parent) return items_[i].get();
  return nullptr;
}

bool Scene::setParent(SceneItem &child, SceneItem *parent) {
  for (const SceneItem *up = parent; up != nullptr; up = up->parent)
    if (up == &child) return false;
  child.parent = parent;
  return true;
}

void Scene::rename(SceneItem &item, const std::string &name) {
  item.name = name;
  item.group->rename(name);
}

ChannelGroup *Scene::groupAfter(const ChannelGroup *group) const {
  if (group == nullptr) return groups_.empty() ? nullptr : groups_.front().get();
  for (std::size_t i = 0; i + 1 < groups_.size(); ++i)
    if (groups_[i].get() == group) return groups_[i + 1].get();
  return nullptr;
}

Channel *Scene::findChannel(const SceneItem &item, const std::string &path) const { return item.group->findPath(path); }

Channel &Scene::ensureChannel(SceneItem &item, const std::string &path) { return item.group->ensurePath(path); }

void Scene::addMorphMap(SceneItem &object, const std::string &mapName) {
  if (std::find(morphMaps_.begin(), morphMaps_.end(), mapName) == morphMaps_.end()) morphMaps_.push_back(mapName);
  const std::size_t dot = mapName.find('.');
  ChannelGroup *group = object.group;
  std::string channel = mapName;
  const std::string groupName = dot == std::string::npos ? "MorphGroup" : mapName.substr(0, dot);
  if (dot != std::string::npos) channel = mapName.substr(dot + 1);
  group = group->findGroup(groupName) != nullptr ? group->findGroup(groupName) : &group->addGroup(groupName);
  if (group->findChannel(channel) == nullptr) group->addChannel(channel);
}

void Scene::addToSelection(SceneItem &item) {
  if (std::find(selection_.begin(), selection_.end(), &item) == selection_.end()) selection_.push_back(&item);
}

void Scene::removeFromSelection(SceneItem &item) {
  selection_.erase(std::remove(selection_.begin(), selection_.end(), &item), selection_.end());
}

void Scene::setFile(const std::string &name, const std::string &fileName) {
  name_ = name;
  fileName_ = fileName;
}

}  // namespace lwsim
