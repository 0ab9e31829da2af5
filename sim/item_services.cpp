#include "item_services.h"

#include <cmath>
#include <cstdint>

#include "c_entry.h"
#include "host.h"

namespace lwsim {

namespace {

Scene &scene() { return Host::current().scene(); }

SceneItem *item(LWItemID id) { return scene().find(id); }

LWItemID idOf(const SceneItem *item) { return item != nullptr ? reinterpret_cast<LWItemID>(item->id) : nullptr; }

void copyVector(const Vector3 &from, LWDVector to) {
  for (int i = 0; i < 3; ++i) to[i] = from[static_cast<std::size_t>(i)];
}

// Position, rotation or scale at a time from the item's motion envelopes.
void motionAt(const SceneItem &item, std::size_t firstSlot, double time, LWDVector out) {
  for (std::size_t axis = 0; axis < 3; ++axis) {
    const Channel *channel = item.group->findChannel(kMotionChannels[firstSlot + axis]);
    out[axis] = channel != nullptr ? channel->envelope().evaluate(time) : (firstSlot == 6 ? 1.0 : 0.0);
  }
}

LWItemID first(int type, LWItemID object) {
  return hostEntry<LWItemID>(nullptr, [&] { return idOf(scene().first(type, item(object))); });
}

LWItemID next(LWItemID id) {
  return hostEntry<LWItemID>(nullptr, [&] {
    const SceneItem *current = item(id);
    return current != nullptr ? idOf(scene().next(*current)) : nullptr;
  });
}

LWItemID firstChild(LWItemID parent) {
  return hostEntry<LWItemID>(nullptr, [&] { return idOf(scene().firstChild(item(parent))); });
}

LWItemID nextChild(LWItemID parent, LWItemID child) {
  return hostEntry<LWItemID>(nullptr, [&] {
    const SceneItem *current = item(child);
    return current != nullptr ? idOf(scene().nextChild(item(parent), *current)) : nullptr;
  });
}

LWItemID parent(LWItemID id) {
  return hostEntry<LWItemID>(nullptr, [&] {
    const SceneItem *current = item(id);
    return current != nullptr ? idOf(current->parent) : nullptr;
  });
}

int type(LWItemID id) {
  return hostEntry(-1, [&] {
    const SceneItem *current = item(id);
    return current != nullptr ? current->type : -1;
  });
}

const char *name(LWItemID id) {
  return hostEntry<const char *>(nullptr, [&]() -> const char * {
    const SceneItem *current = item(id);
    return current != nullptr ? current->name.c_str() : nullptr;
  });
}

void param(LWItemID id, int paramId, LWTime time, LWDVector vector) {
  if (vector == nullptr) return;
  vector[0] = vector[1] = vector[2] = 0.0;
  hostEntry([&] {
    const SceneItem *current = item(id);
    if (current == nullptr) return;
    switch (paramId) {
      case LWIP_POSITION:
        return motionAt(*current, 0, time, vector);
      case LWIP_ROTATION:
        return motionAt(*current, 3, time, vector);
      case LWIP_SCALING:
        return motionAt(*current, 6, time, vector);
      case LWIP_PIVOT:
        return copyVector(current->pivot, vector);
      case LWIP_PIVOT_ROT:
        return copyVector(current->pivotRotation, vector);
      default:
        return;
    }
  });
}

LWChanGroupID chanGroup(LWItemID id) {
  return hostEntry<LWChanGroupID>(nullptr, [&] {
    const SceneItem *current = item(id);
    return current != nullptr ? reinterpret_cast<LWChanGroupID>(current->group) : nullptr;
  });
}

const char *objectFileName(LWItemID id) {
  return hostEntry<const char *>(nullptr, [&]() -> const char * {
    const SceneItem *current = item(id);
    if (current == nullptr || current->type != kObject || current->fileName.empty()) return nullptr;
    return current->fileName.c_str();
  });
}

void restParam(LWItemID id, int paramId, LWDVector vector) {
  if (vector == nullptr) return;
  vector[0] = vector[1] = vector[2] = 0.0;
  hostEntry([&] {
    const SceneItem *bone = item(id);
    if (bone == nullptr || bone->type != kBone) return;
    if (paramId == LWBONEPARAM_REST_POSITION) copyVector(bone->restPosition, vector);
    if (paramId == LWBONEPARAM_REST_ROTATION) copyVector(bone->restRotation, vector);
  });
}

// A camera with a "ZoomFactor" channel takes its zoom from it.
double zoomFactor(LWItemID id, LWTime time) {
  return hostEntry(0.0, [&] {
    const SceneItem *camera = item(id);
    if (camera == nullptr || camera->type != kCamera) return 0.0;
    if (const Channel *channel = camera->group->findChannel("ZoomFactor")) return channel->envelope().evaluate(time);
    return camera->zoomFactor;
  });
}

void resolution(LWItemID id, int *width, int *height) {
  hostEntry([&] {
    const SceneItem *camera = item(id);
    const bool known = camera != nullptr && camera->type == kCamera;
    if (width != nullptr) *width = known ? camera->resolutionWidth : 0;
    if (height != nullptr) *height = known ? camera->resolutionHeight : 0;
  });
}

int numVMaps(unsigned int vmapType) {
  return hostEntry(0, [&] { return vmapType == LWVMAP_MORF ? static_cast<int>(scene().morphMaps().size()) : 0; });
}

const char *vmapName(unsigned int vmapType, int index) {
  return hostEntry<const char *>(nullptr, [&]() -> const char * {
    const auto &maps = scene().morphMaps();
    if (vmapType != LWVMAP_MORF || index < 0 || static_cast<std::size_t>(index) >= maps.size()) return nullptr;
    return maps[static_cast<std::size_t>(index)].c_str();
  });
}

}  // namespace

LWItemInfo *itemInfoRecord() {
  static LWItemInfo record{first, next, firstChild, nextChild, parent, type, name, param, chanGroup};
  return &record;
}

LWObjectInfo *objectInfoRecord() {
  static LWObjectInfo record{objectFileName};
  return &record;
}

LWBoneInfo *boneInfoRecord() {
  static LWBoneInfo record{restParam};
  return &record;
}

LWCameraInfo *cameraInfoRecord() {
  static LWCameraInfo record{zoomFactor, resolution};
  return &record;
}

LWSceneObjects *sceneObjectsRecord() {
  static LWSceneObjects record{numVMaps, vmapName};
  return &record;
}

}  // namespace lwsim
