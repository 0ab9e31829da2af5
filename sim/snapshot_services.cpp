#include "snapshot_services.h"

#include <cmath>

#include "c_entry.h"
#include "host.h"

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
  LWInterfaceInfo &record = snapshot.record;
  record.curTime = scene_.time();
  record.selItems = snapshot.selection.data();
  record.previewStart = scene_.previewRange().first;
  record.previewEnd = scene_.previewRange().last;
  record.previewStep = scene_.previewRange().step;
  record.schemaPos = schematicPosition;
  record.commandReplay = commandReplay_ ? 1 : 0;
  return &record;
}

LWSceneInfo *SnapshotService::sceneInfo() {
  SceneSnapshot &snapshot = fresh(scenes_, kKept);
  snapshot.name = scene_.name();
  snapshot.fileName = scene_.fileName();
  LWSceneInfo &record = snapshot.record;
  record.name = snapshot.name.c_str();
  record.filename = snapshot.fileName.empty() ? nullptr : snapshot.fileName.c_str();
  record.frameStart = scene_.renderRange().first;
  record.frameEnd = scene_.renderRange().last;
  record.frameStep = scene_.renderRange().step;
  record.framesPerSecond = scene_.framesPerSecond();
  const SceneItem *camera = scene_.first(kCamera, nullptr);
  record.frameWidth = camera != nullptr ? camera->resolutionWidth : 640;
  record.frameHeight = camera != nullptr ? camera->resolutionHeight : 480;
  return &record;
}

LWTimeInfo *SnapshotService::timeInfo() {
  LWTimeInfo &record = fresh(times_, kKept);
  record.time = scene_.time();
  record.frame = static_cast<LWFrame>(std::floor(scene_.time() * scene_.framesPerSecond() + 0.5));
  return &record;
}

}  // namespace lwsim
