#include "save_driver.h"

#include "../../common/channels/clip_channels.h"
#include "../../common/commands/clip_commands.h"
#include "../../common/commands/server_names.h"
#include "../../common/globals/clip_globals.h"
#include "../../common/globals/interface_refetch.h"
#include "../../common/items/clip_items.h"
#include "../format/clip_writer.h"
#include "../model/item_base_pose.h"
#include "../model/param_handlers.h"
#include "../panels/clip_switches.h"
#include "../panels/save_labels.h"

namespace lwp::akio {

namespace {

constexpr const char *kProgressText = "Now saving animation data...";
// Keys up to a quarter frame beside the range belong to its frames.
constexpr double kFrameMargin = 0.25;

double sceneFps() { return refetchSceneInfoChecked()->framesPerSecond; }

// The dialog shows the interface language's text; the status line English.
void reportSaveProblem(SaveMessage message, const char *statusText) {
  if (const LWMessageFuncs *messages = CClipGlobals::instance().messages())
    messages->error(saveLabels().message(message), nullptr);
  statusMsg(statusText);
}

void setRange(const ZaduDuzAVOptions &options, double fps, AnimClipItem &out) {
  out.rangeStart = options.rangeStart / fps;
  out.rangeEnd = (options.rangeEnd + 1.0) / fps;
  out.fps = fps;
}

void appendChannels(std::vector<AnimClipChannel> &to, std::vector<AnimClipChannel> &&from) {
  for (AnimClipChannel &channel : from) to.push_back(std::move(channel));
}

void appendSceneEntry(const ZaduDuzAVOptions &options, AnimClip &clip) {
  acquireClipGlobals(CClipGlobals::instance().lookup());
  AnimClipItem &scene = clip.emplace_back();
  const CLWSceneFn handler;
  scene.itemName = handler.itemName;
  scene.fullPath = std::string("/") + kSceneEntryName;
  setRange(options, sceneFps(), scene);
  if (options.useRenderRange != 0) appendChannels(scene.channels, handler.getFrameRange());
  if (options.usePreviewRange != 0) appendChannels(scene.channels, handler.getPreviewRange());
}

}  // namespace

ItemList collectTargetItems(const ZaduDuzAVOptions &options) {
  switch (options.targetItems) {
    case kTargetsSelection:
      return selectedItems(kTargetSelection);
    case kTargetsWithChildren:
      return selectedItems(kTargetWithDescendants);
    case kTargetsAll:
      return allItems();
    default:
      return {};
  }
}

void captureChannels(const ZaduDuzAVOptions &options, std::vector<AnimClipChannel> &channels, const CLWAnimFn &transfer,
                     LWItemID item) {
  if (options.useSchemaPosition != 0) appendChannels(channels, CLWItemFn(item).getSchemaPos());
  for (const LWChannelID channel : itemChannels(item)) {
    if (groupEnabled(options, channelGroupOf(channelPath(channel, item))))
      channels.push_back(transfer.readKeys(item, channel));
  }
}

void captureItem(const ZaduDuzAVOptions &options, AnimClip &clip, const CLWAnimFn &transfer, LWItemID item) {
  AnimClipItem &out = clip.emplace_back();
  const ItemKind kind = itemKind(item);
  out.itemName = CLWItemFn(item).itemName;
  out.fullPath = itemPath(item);
  setRange(options, sceneFps(), out);
  const ItemBasePose pose = itemBasePose(item, kind);
  out.pivotPos = pose.pivotPos;
  out.pivotRot = pose.pivotRot;
  out.restPos = pose.restPos;
  out.restRot = pose.restRot;
  out.channels.reserve(kItemChannelReserve);
  if (kind == kKindCamera && options.useMisc != 0) {
    const CLWCameraFn camera(item);
    appendChannels(out.channels, camera.getZoomFactor());
    appendChannels(out.channels, camera.getFrameSize());
  }
  captureChannels(options, out.channels, transfer, item);
}

AnimClip captureClip(const ZaduDuzAVOptions &options, const ItemList &targets) {
  AnimClip clip;
  clip.reserve(targets.size() + 1);
  const double fps = sceneFps();
  CLWAnimFn transfer;
  transfer.timeStart = (options.rangeStart - kFrameMargin) / fps;
  transfer.timeEnd = (options.rangeEnd + 1.0 + kFrameMargin) / fps;
  transfer.timeOffset = 0.0;
  const std::size_t count = targets.size();
  for (std::size_t i = 0; i < count; ++i) {
    progressMsg(static_cast<float>(i) / static_cast<float>(count), "%s", kProgressText);
    if (kindEnabled(options, itemKind(targets[i]))) captureItem(options, clip, transfer, targets[i]);
  }
  if (options.useRenderRange != 0 || options.usePreviewRange != 0) appendSceneEntry(options, clip);
  progressMsg(1.0f, "%s", kProgressText);
  return clip;
}

void saveClip(const ZaduDuzAVOptions &options) {
  statusMsgFormat("%s start...", kClipToolName);
  if (options.rangeStart > options.rangeEnd) {
    reportSaveProblem(kMsgStartAfterEnd, "Start frame is less than end frame !");
    return;
  }
  keepingSelection([&] {
    const AnimClip clip = captureClip(options, collectTargetItems(options));
    if (clip.empty()) {
      reportSaveProblem(kMsgNoAnimationData, "No animation data !");
    } else {
      writeClipFile(clip, options.path);
      statusMsgFormat("%s done.", kClipToolName);
    }
  });
}

}  // namespace lwp::akio
