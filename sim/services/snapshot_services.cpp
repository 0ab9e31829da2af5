#include "snapshot_services.h"

#include <cmath>

#include "../host.h"
#include "c_entry.h"
#include "unsupported_call.h"

namespace lwsim {

namespace {

template <typename T>
T &fresh(std::deque<T> &kept, std::size_t limit) {
  kept.emplace_back();
  if (kept.size() > limit) kept.pop_front();
  return kept.back();
}

void schematicPosition(LWItemID id, double *x, double *y) {
  hostEntry([&] {
    const SceneItem *item = Host::current().scene().find(id);
    if (x != nullptr) *x = item != nullptr ? item->schematicX : 0.0;
    if (y != nullptr) *y = item != nullptr ? item->schematicY : 0.0;
  });
}

}  // namespace

LWInterfaceInfo *SnapshotService::interfaceInfo() {
  InterfaceSnapshot &snapshot = fresh(interfaces_, kKept);
  for (const SceneItem *item : scene_.selection()) snapshot.selection.push_back(reinterpret_cast<LWItemID>(item->id));
  snapshot.selection.push_back(nullptr);
  snapshot.record = {.curTime = scene_.time(),
                     .selItems = snapshot.selection.data(),
                     .itemFlags = LWSIM_UNSUPPORTED(LWInterfaceInfo, itemFlags),
                     .previewStart = scene_.previewRange().first,
                     .previewEnd = scene_.previewRange().last,
                     .previewStep = scene_.previewRange().step,
                     .dynaUpdate = 0,
                     .schemaPos = schematicPosition,
                     .itemVis = LWSIM_UNSUPPORTED(LWInterfaceInfo, itemVis),
                     .displayFlags = 0,
                     .generalFlags = 0,
                     .boxThreshold = 0,
                     .itemColor = LWSIM_UNSUPPORTED(LWInterfaceInfo, itemColor),
                     .setItemColorIndex = LWSIM_UNSUPPORTED(LWInterfaceInfo, setItemColorIndex),
                     .setItemColorCustom = LWSIM_UNSUPPORTED(LWInterfaceInfo, setItemColorCustom),
                     .alertLevel = 0,
                     .autoKeyCreate = autoKeyCreate_};
  return &snapshot.record;
}

LWSceneInfo *SnapshotService::sceneInfo() {
  SceneSnapshot &snapshot = fresh(scenes_, kKept);
  snapshot.name = scene_.name();
  snapshot.fileName = scene_.fileName();
  const SceneItem *camera = scene_.first(kCamera, nullptr);
  snapshot.record = {.name = snapshot.name.c_str(),
                     .filename = snapshot.fileName.empty() ? nullptr : snapshot.fileName.c_str(),
                     .numPoints = 0,
                     .numPolygons = 0,
                     .renderType = 0,
                     .renderOpts = 0,
                     .frameStart = scene_.renderRange().first,
                     .frameEnd = scene_.renderRange().last,
                     .frameStep = scene_.renderRange().step,
                     .framesPerSecond = scene_.framesPerSecond(),
                     .frameWidth = camera != nullptr ? camera->resolutionWidth : 640,
                     .frameHeight = camera != nullptr ? camera->resolutionHeight : 480};
  return &snapshot.record;
}

LWTimeInfo *SnapshotService::timeInfo() {
  LWTimeInfo &record = fresh(times_, kKept);
  record.time = scene_.time();
  record.frame = static_cast<LWFrame>(std::floor(scene_.time() * scene_.framesPerSecond() + 0.5));
  return &record;
}

}  // namespace lwsim
