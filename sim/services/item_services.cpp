#include "item_services.h"

#include <cmath>
#include <cstdint>

#include "../host.h"
#include "c_entry.h"
#include "unsupported_call.h"

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

LWItemID first(LWItemType type, LWItemID object) {
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

void param(LWItemID id, LWItemParam paramId, LWTime time, double *vector) {
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

void restParam(LWItemID id, LWItemParam paramId, LWDVector vector) {
  if (vector == nullptr) return;
  vector[0] = vector[1] = vector[2] = 0.0;
  hostEntry([&] {
    const SceneItem *bone = item(id);
    if (bone == nullptr || bone->type != kBone) return;
    if (paramId == LWIP_POSITION) copyVector(bone->restPosition, vector);
    if (paramId == LWIP_ROTATION) copyVector(bone->restRotation, vector);
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

int numVMaps(LWID vmapType) {
  return hostEntry(0, [&] { return vmapType == LWVMAP_MORF ? static_cast<int>(scene().morphMaps().size()) : 0; });
}

const char *vmapName(LWID vmapType, int index) {
  return hostEntry<const char *>(nullptr, [&]() -> const char * {
    const auto &maps = scene().morphMaps();
    if (vmapType != LWVMAP_MORF || index < 0 || static_cast<std::size_t>(index) >= maps.size()) return nullptr;
    return maps[static_cast<std::size_t>(index)].c_str();
  });
}

}  // namespace

LWItemInfo *itemInfoRecord() {
  static LWItemInfo record{.first = first,
                           .next = next,
                           .firstChild = firstChild,
                           .nextChild = nextChild,
                           .parent = parent,
                           .target = LWSIM_UNSUPPORTED(LWItemInfo, target),
                           .goal = LWSIM_UNSUPPORTED(LWItemInfo, goal),
                           .type = type,
                           .name = name,
                           .param = param,
                           .limits = LWSIM_UNSUPPORTED(LWItemInfo, limits),
                           .getTag = LWSIM_UNSUPPORTED(LWItemInfo, getTag),
                           .setTag = LWSIM_UNSUPPORTED(LWItemInfo, setTag),
                           .chanGroup = chanGroup};
  return &record;
}

LWObjectInfo *objectInfoRecord() {
  static LWObjectInfo record{.filename = objectFileName};
  return &record;
}

LWBoneInfo *boneInfoRecord() {
  static LWBoneInfo record{.flags = LWSIM_UNSUPPORTED(LWBoneInfo, flags), .restParam = restParam};
  return &record;
}

LWCameraInfo *cameraInfoRecord() {
  static LWCameraInfo record{.zoomFactor = zoomFactor,
                             .focalLength = LWSIM_UNSUPPORTED(LWCameraInfo, focalLength),
                             .focalDistance = LWSIM_UNSUPPORTED(LWCameraInfo, focalDistance),
                             .fStop = LWSIM_UNSUPPORTED(LWCameraInfo, fStop),
                             .blurLength = LWSIM_UNSUPPORTED(LWCameraInfo, blurLength),
                             .fovAngles = LWSIM_UNSUPPORTED(LWCameraInfo, fovAngles),
                             .flags = LWSIM_UNSUPPORTED(LWCameraInfo, flags),
                             .resolution = resolution};
  return &record;
}

LWObjectFuncs *sceneObjectsRecord() {
  static LWObjectFuncs record{.numObjects = LWSIM_UNSUPPORTED(LWObjectFuncs, numObjects),
                              .filename = LWSIM_UNSUPPORTED(LWObjectFuncs, filename),
                              .maxLayers = LWSIM_UNSUPPORTED(LWObjectFuncs, maxLayers),
                              .layerExists = LWSIM_UNSUPPORTED(LWObjectFuncs, layerExists),
                              .pivotPoint = LWSIM_UNSUPPORTED(LWObjectFuncs, pivotPoint),
                              .layerMesh = LWSIM_UNSUPPORTED(LWObjectFuncs, layerMesh),
                              .numVMaps = numVMaps,
                              .vmapName = vmapName};
  return &record;
}

}  // namespace lwsim
