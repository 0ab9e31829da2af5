#include "param_handlers.h"

#include <cmath>
#include <limits>

#include "../../common/channels/clip_channels.h"
#include "../../common/commands/clip_commands.h"
#include "../../common/globals/clip_globals.h"
#include "../../common/globals/interface_refetch.h"
#include "../../common/items/clip_items.h"

namespace lwp::akio {

namespace {

constexpr const char *kZoomFactor = "LWParam.camera.zoomFactor";
constexpr const char *kFrameSizeX = "LWParam.camera.frameSizeX";
constexpr const char *kFrameSizeY = "LWParam.camera.frameSizeY";
constexpr const char *kSchemaPosX = "LWParam.item.schemaPosX";
constexpr const char *kSchemaPosY = "LWParam.item.schemaPosY";

// A range's three channels and the command each one is applied with.
struct RangeParam {
  const char *channel;
  const char *command;
};
constexpr RangeParam kRenderRange[] = {{"LWParam.scene.frameStart", "FirstFrame %d"},
                                       {"LWParam.scene.frameEnd", "LastFrame %d"},
                                       {"LWParam.scene.frameStep", "FrameStep %d"}};
constexpr RangeParam kPreviewRange[] = {{"LWParam.scene.previewFrameStart", "PreviewFirstFrame %d"},
                                        {"LWParam.scene.previewFrameEnd", "PreviewLastFrame %d"},
                                        {"LWParam.scene.previewFrameStep", "PreviewFrameStep %d"}};

ClipChannels rangeChannels(const RangeParam (&params)[3], LWFrame start, LWFrame end, LWFrame step) {
  return {parameterChannel(params[0].channel, start), parameterChannel(params[1].channel, end),
          parameterChannel(params[2].channel, step)};
}

void applyRange(const RangeParam (&params)[3], const ClipChannels &channels) {
  for (const RangeParam &param : params) {
    if (const AnimClipChannel *channel = findClipChannel(channels, param.channel))
      evalFormat(param.command, roundedCommandArg(firstKeyValue(*channel)));
  }
}

}  // namespace

int roundedCommandArg(double value) {
  const double rounded = std::floor(value + 0.5);
  if (std::isnan(rounded)) return 0;
  if (rounded <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (rounded >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(rounded);
}

CLWItemFn::CLWItemFn() : itemName(kSceneEntryName) {}

CLWItemFn::CLWItemFn(LWItemID id) : item(id) {
  if (const LWItemInfo *items = CClipGlobals::instance().itemInfo()) itemName = itemNameWith(*items, id);
}

ClipChannels CLWItemFn::getSchemaPos() const {
  double x = 0.0;
  double y = 0.0;
  const LWInterfaceInfo *ui = refetchInterfaceInfoChecked();
  if (ui->schemaPos != nullptr) ui->schemaPos(item, &x, &y);
  return {parameterChannel(kSchemaPosX, x), parameterChannel(kSchemaPosY, y)};
}

void CLWItemFn::setSchemaPos(const ClipChannels &channels) const {
  const AnimClipChannel *x = findClipChannel(channels, kSchemaPosX);
  const AnimClipChannel *y = findClipChannel(channels, kSchemaPosY);
  if (x == nullptr || y == nullptr) return;
  selectItem(item);
  evalFormat("SchematicPosition %.10f %.10f", firstKeyValue(*x), firstKeyValue(*y));
}

bool CLWCameraFn::hasZoomEnvelope() const { return findChannel(item, "ZoomFactor") != nullptr; }

ClipChannels CLWCameraFn::getZoomFactor() const {
  if (hasZoomEnvelope()) return {};
  const LWCameraInfo *cameras = CClipGlobals::instance().cameraInfo();
  const double zoom = cameras != nullptr ? cameras->zoomFactor(item, 0.0) : 0.0;
  return {parameterChannel(kZoomFactor, zoom)};
}

void CLWCameraFn::setZoomFactor(const ClipChannels &channels) const {
  if (hasZoomEnvelope()) return;
  const AnimClipChannel *zoom = findClipChannel(channels, kZoomFactor);
  if (zoom == nullptr) return;
  selectItem(item);
  evalFormat("ZoomFactor %.10f", firstKeyValue(*zoom));
}

ClipChannels CLWCameraFn::getFrameSize() const {
  selectItem(item);
  int width = 0;
  int height = 0;
  if (const LWCameraInfo *cameras = CClipGlobals::instance().cameraInfo()) cameras->resolution(item, &width, &height);
  return {parameterChannel(kFrameSizeX, width), parameterChannel(kFrameSizeY, height)};
}

void CLWCameraFn::setFrameSize(const ClipChannels &channels) const {
  const AnimClipChannel *x = findClipChannel(channels, kFrameSizeX);
  const AnimClipChannel *y = findClipChannel(channels, kFrameSizeY);
  if (x == nullptr || y == nullptr) return;
  selectItem(item);
  evalFormat("FrameSize %d %d", roundedCommandArg(firstKeyValue(*x)), roundedCommandArg(firstKeyValue(*y)));
}

ClipChannels CLWSceneFn::getFrameRange() const {
  const LWSceneInfo *scene = refetchSceneInfoChecked();
  return rangeChannels(kRenderRange, scene->frameStart, scene->frameEnd, scene->frameStep);
}

void CLWSceneFn::setFrameRange(const ClipChannels &channels) const { applyRange(kRenderRange, channels); }

ClipChannels CLWSceneFn::getPreviewRange() const {
  const LWInterfaceInfo *ui = refetchInterfaceInfoChecked();
  return rangeChannels(kPreviewRange, ui->previewStart, ui->previewEnd, ui->previewStep);
}

void CLWSceneFn::setPreviewRange(const ClipChannels &channels) const { applyRange(kPreviewRange, channels); }

}  // namespace lwp::akio
