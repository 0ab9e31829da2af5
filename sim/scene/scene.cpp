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
  item->rank = object.bones.size();
  // A bone's group sits below its object's group.
  item->group = &object.group->addGroup(name);
  item->group->markBoneGroup();
  SceneItem &bone = keep(std::move(item));
  object.bones.push_back(&bone);
  object.children.push_back(&bone);
  return bone;
}

SceneItem &Scene::addItem(int type, std::uintptr_t idBase, const std::string &name) {
  auto item = std::make_unique<SceneItem>();
  item->id = idBase + counts_[static_cast<std::size_t>(type)]++;
  item->type = type;
  item->name = name;
  groups_.push_back(std::make_unique<ChannelGroup>(name, nullptr));
  item->group = groups_.back().get();
  groupIndex_[item->group] = groups_.size() - 1;
  std::vector<SceneItem *> &kind = byType_[static_cast<std::size_t>(type)];
  item->rank = kind.size();
  kind.push_back(item.get());
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

const std::vector<SceneItem *> &Scene::kindOf(const SceneItem &item) const {
  return item.type == kBone ? item.owner->bones : byType_[static_cast<std::size_t>(item.type)];
}

SceneItem *Scene::first(int type, const SceneItem *object) const {
  if (type == kBone) return object != nullptr && !object->bones.empty() ? object->bones.front() : nullptr;
  if (type < 0 || type > kCamera) return nullptr;
  const std::vector<SceneItem *> &kind = byType_[static_cast<std::size_t>(type)];
  return kind.empty() ? nullptr : kind.front();
}

SceneItem *Scene::next(const SceneItem &current) const {
  const std::vector<SceneItem *> &kind = kindOf(current);
  return current.rank + 1 < kind.size() ? kind[current.rank + 1] : nullptr;
}

SceneItem *Scene::firstChild(const SceneItem *parent) const {
  return parent != nullptr && !parent->children.empty() ? parent->children.front() : nullptr;
}

namespace {

bool createdBefore(const SceneItem *a, const SceneItem *b) { return a->order < b->order; }

}  // namespace

// The first child of parent created after child, whether or not child is
// still one of them.
SceneItem *Scene::nextChild(const SceneItem *parent, const SceneItem &child) const {
  if (parent == nullptr) return nullptr;
  const auto after = std::upper_bound(parent->children.begin(), parent->children.end(), &child, createdBefore);
  return after != parent->children.end() ? *after : nullptr;
}

bool Scene::setParent(SceneItem &child, SceneItem *parent) {
  for (const SceneItem *up = parent; up != nullptr; up = up->parent)
    if (up == &child) return false;
  if (child.parent != nullptr) {
    std::vector<SceneItem *> &siblings = child.parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &child));
  }
  child.parent = parent;
  if (parent != nullptr)
    parent->children.insert(std::upper_bound(parent->children.begin(), parent->children.end(), &child, createdBefore),
                            &child);
  return true;
}

void Scene::rename(SceneItem &item, const std::string &name) {
  item.name = name;
  item.group->rename(name);
}

ChannelGroup *Scene::groupAfter(const ChannelGroup *group) const {
  if (group == nullptr) return groups_.empty() ? nullptr : groups_.front().get();
  const auto found = groupIndex_.find(group);
  if (found == groupIndex_.end() || found->second + 1 >= groups_.size()) return nullptr;
  return groups_[found->second + 1].get();
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
  if (selected_.insert(&item).second) selection_.push_back(&item);
}

void Scene::removeFromSelection(SceneItem &item) {
  if (selected_.erase(&item) != 0) selection_.erase(std::find(selection_.begin(), selection_.end(), &item));
}

void Scene::setFile(const std::string &name, const std::string &fileName) {
  name_ = name;
  fileName_ = fileName;
}

}  // namespace lwsim
