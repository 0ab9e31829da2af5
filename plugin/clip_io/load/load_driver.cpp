#include "load_driver.h"

#include <climits>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "../../common/channels/clip_channels.h"
#include "../../common/commands/clip_commands.h"
#include "../../common/commands/exceptions.h"
#include "../../common/commands/server_names.h"
#include "../../common/files/file_listing.h"
#include "../../common/globals/clip_globals.h"
#include "../../common/globals/interface_refetch.h"
#include "../../common/items/clip_items.h"
#include "../../platform/xml/com_startup.h"
#include "../format/clip_file_name.h"
#include "../format/clip_reader.h"
#include "../model/param_handlers.h"
#include "../panels/clip_switches.h"
#include "../panels/load_labels.h"
#include "../panels/save_labels.h"
#include "../save/save_driver.h"
#include "item_name_matcher.h"

namespace lwp::akio {

namespace {

constexpr const char *kProgressText = "Now loading animation data...";
// Keys up to a fifth of a frame beside a frame range belong to its frames.
constexpr double kFrameMargin = 0.2;
constexpr const char *kParameterPrefix = "LWParam.";

double sceneFps() { return refetchSceneInfoChecked()->framesPerSecond; }

[[noreturn]] void failWith(const std::string &message) {
  errorMsg(message);
  throw lw::ex::CBaseEx(message);
}

// Shows the error line of a file that yields no clip; its text.
std::string reportFailedFile(const std::string &path) {
  const std::string message = formatBounded(saveLabels().message(kMsgFailedToLoadFile), path.c_str());
  errorMsg(message);
  return message;
}

// One box after the last file of a directory names every file passed over:
// the error line of each is soon replaced by the next file's progress.
void reportSkippedFiles(const std::vector<std::string> &files) {
  std::string list;
  for (const std::string &file : files) list += (list.empty() ? "" : ", ") + file;
  const std::string message = formatGrowing(saveLabels().message(kMsgFailedToLoadFile), list.c_str());
  if (const LWMessageFuncs *messages = CClipGlobals::instance().messages())
    messages->error(loadLabels().message(kMsgFilesNotLoaded), message.c_str());
  statusMsg(message);
}

// The clips of one file; code receives the reader's result.
AnimClip readFile(const std::string &path, int &code) {
  platform::startComOnce();  // the Windows parser is a COM object
  code = 0;
  return readClipFile(path, code);
}

// The frame nearest to seconds at fps.
double roundedFrame(double fps, double seconds) { return std::floor(fps * seconds + 0.5); }

// A frame held within the range of a frame number: a clip's open range
// (the largest doubles) must not convert out of range. NaN gives 0.
int clampedFrame(double frame) {
  if (std::isnan(frame)) return 0;
  if (frame <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (frame >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(frame);
}

// A whole frame difference in seconds; the difference of two frame numbers
// may lie outside int.
double framesToSeconds(long long frames, double fps) { return static_cast<double>(frames) / fps; }

CLWAnimFn makeTransfer(const ZaduDuzAVOptions &options, double fps) {
  CLWAnimFn transfer;
  // Without a load range, the widest one the panel's frame fields can hold.
  const bool ranged = options.useLoadRange != 0;
  const double first = ranged ? options.rangeStart : static_cast<double>(INT_MIN);
  const double last = ranged ? options.rangeEnd : static_cast<double>(INT_MAX);
  transfer.timeStart = (first - kFrameMargin) / fps;
  transfer.timeEnd = (last + 1.0 + kFrameMargin) / fps;
  transfer.timeOffset = 0.0;
  if (options.useInsertPosition != 0) {
    const long long firstTaken = options.useLoadRange != 0 ? options.rangeStart : options.fileFirstFrame;
    transfer.timeOffset = framesToSeconds(static_cast<long long>(options.insertFrame) - firstTaken, fps);
  }
  transfer.deleteMode = options.destKeyMode;
  transfer.deleteStart = (options.deleteStart - kFrameMargin) / fps;
  transfer.deleteEnd = (options.deleteEnd + 1.0 + kFrameMargin) / fps;
  return transfer;
}

// The render and preview ranges the scene entry carries, as switched on.
void applySceneEntry(const ZaduDuzAVOptions &options, const AnimClipItem &scene) {
  acquireClipGlobals(CClipGlobals::instance().lookup());
  const CLWSceneFn handler;
  if (options.useRenderRange != 0) handler.setFrameRange(scene.channels);
  if (options.usePreviewRange != 0) handler.setPreviewRange(scene.channels);
}

// What an apply pass tells the user besides its progress.
struct ApplyTally {
  KeyWriteCount keys;
  std::size_t itemsToMatch = 0;
  std::size_t itemsMatched = 0;
};

void applyItem(const ZaduDuzAVOptions &options, const ItemNameMatcher &matcher, const CLWAnimFn &transfer,
               const AnimClipItem &clipItem, ApplyTally &tally) {
  const std::string &key = options.checkFullPath != 0 ? clipItem.fullPath : clipItem.itemName;
  ++tally.itemsToMatch;
  const LWItemID item = matcher.findItem(key);
  if (item == nullptr) return;
  ++tally.itemsMatched;
  const ItemKind kind = itemKind(item);
  PoseAdjust adjust;
  if (options.hasBasePose)
    adjust = computePoseAdjust(clipItem, item, kind, options.adjustScale, options.adjustBasePose);
  if (!kindEnabled(options, kind)) return;
  if (kind == kKindCamera && options.useMisc != 0) {
    const CLWCameraFn camera(item);
    camera.setZoomFactor(clipItem.channels);
    camera.setFrameSize(clipItem.channels);
  }
  tally.keys += applyChannels(options, item, transfer, clipItem.channels, adjust);
}

ApplyTally applyPass(const ZaduDuzAVOptions &options, ItemNameMatcher &matcher, const ItemList &targets) {
  ApplyTally tally;
  const double fps = sceneFps();
  matcher.setItems(targets);
  const CLWAnimFn transfer = makeTransfer(options, fps);
  const std::size_t count = options.clips.size();
  for (std::size_t i = 0; i < count; ++i) {
    progressMsg(static_cast<float>(i) / static_cast<float>(count), "%s", kProgressText);
    const AnimClipItem &clipItem = options.clips[i];
    if (clipItem.itemName == kSceneEntryName)
      applySceneEntry(options, clipItem);
    else
      applyItem(options, matcher, transfer, clipItem, tally);
  }
  progressMsg(1.0f, "%s", kProgressText);
  return tally;
}

void reportTally(const ApplyTally &tally) {
  if (tally.keys.skipped > 0)
    statusMsg(formatBounded(loadLabels().message(kMsgSkippedKeys), std::to_string(tally.keys.skipped).c_str()));
  if (tally.keys.refused > 0)
    statusMsg(formatBounded(loadLabels().message(kMsgRefusedKeys), std::to_string(tally.keys.refused).c_str()));
  if (tally.itemsToMatch > 0 && tally.itemsMatched == 0) statusMsg(loadLabels().message(kMsgNoItemMatched));
}

// The user's pattern and what is wrong with it, in the interface language.
[[noreturn]] void failBadPattern(const ZaduDuzAVOptions &options, const std::regex_error &problem) {
  failWith(formatGrowing(loadLabels().message(kMsgBadNamePattern), options.regexPattern.c_str(), problem.what()));
}

// The matcher of the options; a pattern that does not compile is reported
// as a failed load.
ItemNameMatcher makeMatcher(const ZaduDuzAVOptions &options) {
  try {
    return ItemNameMatcher(options);
  } catch (const std::regex_error &problem) {
    failBadPattern(options, problem);
  }
}

bool isParameterChannel(const std::string &name) { return name.compare(0, 8, kParameterPrefix) == 0; }

// The value offset and scale a channel of this group and axis is written with.
void valueTransform(const PoseAdjust &adjust, const GroupAxis &where, double &offset, double &scale) {
  offset = 0.0;
  scale = 1.0;
  if (where.group == kGroupPosition) scale = adjust.scale[where.axis];
  if (where.group == kGroupRotation) offset = adjust.rotOffset[where.axis];
}

}  // namespace

void loadClipFile(ZaduDuzAVOptions &options) {
  statusMsg("Now loading animation file...");
  options.hasBasePose = false;
  options.clips.clear();
  int code = 0;
  AnimClip clip = readFile(options.path, code);
  if (clip.empty()) throw lw::ex::CFileReadWriteEx(reportFailedFile(options.path));
  options.clips = std::move(clip);
  options.hasBasePose = (code & kBasePoseBit) != 0;
}

void loadClipDir(ZaduDuzAVOptions &options) {
  statusMsg("Now loading animation files...");
  const std::vector<std::string> files = listFiles(options.path);
  options.hasBasePose = true;
  options.clips.clear();
  std::vector<std::string> failed;
  for (const std::string &file : files) {
    if (!hasClipEnding(file)) continue;
    statusMsgFormat("Now loading animation files... (%s)", file.c_str());
    int code = 0;
    AnimClip clip = readFile(file, code);
    if (clip.empty()) {
      reportFailedFile(file);  // and the other files still load
      failed.push_back(file);
      continue;
    }
    for (AnimClipItem &item : clip) options.clips.push_back(std::move(item));
    if ((code & kBasePoseBit) == 0) options.hasBasePose = false;
  }
  if (options.clips.empty()) {
    options.hasBasePose = false;
    failWith(saveLabels().message(kMsgNoAnimationData));
  }
  if (!failed.empty()) reportSkippedFiles(failed);
}

void computeFileRange(ZaduDuzAVOptions &options) {
  if (options.clips.empty()) {
    options.fileFirstFrame = INT_MIN;
    options.fileLastFrame = INT_MAX;
    return;
  }
  double smallest = options.clips.front().rangeStart;
  double largest = options.clips.front().rangeEnd;
  for (const AnimClipItem &item : options.clips) {
    if (item.rangeStart < smallest) smallest = item.rangeStart;
    if (item.rangeEnd > largest) largest = item.rangeEnd;
  }
  const double fps = sceneFps();
  options.fileFirstFrame = clampedFrame(roundedFrame(fps, smallest));
  options.fileLastFrame = clampedFrame(roundedFrame(fps, largest) - 1.0);
  if (options.fileLastFrame < options.fileFirstFrame) options.fileLastFrame = options.fileFirstFrame;
}

void applyClip(const ZaduDuzAVOptions &options) {
  statusMsgFormat("%s start...", kClipToolName);
  if (options.clips.empty()) failWith(saveLabels().message(kMsgNoAnimationData));
  // A reversed range would take no key; refused as the save refuses one.
  if (options.useLoadRange != 0 && options.rangeStart > options.rangeEnd)
    failWith(saveLabels().message(kMsgStartAfterEnd));
  ItemNameMatcher matcher = makeMatcher(options);
  ApplyTally tally;
  try {
    keepingSelection([&] { tally = applyPass(options, matcher, collectTargetItems(options)); });
  } catch (const std::regex_error &problem) {
    // A pattern too hard for the matcher to run is told as a failed load.
    failBadPattern(options, problem);
  }
  reportTally(tally);
  statusMsgFormat("%s done.", kClipToolName);
}

KeyWriteCount applyChannels(const ZaduDuzAVOptions &options, LWItemID item, const CLWAnimFn &transfer,
                            const std::vector<AnimClipChannel> &channels, const PoseAdjust &adjust) {
  if (options.useSchemaPosition != 0) CLWItemFn(item).setSchemaPos(channels);
  KeyWriteCount count;
  for (const AnimClipChannel &channel : channels) {
    if (isParameterChannel(channel.name)) continue;
    const GroupAxis where = channelGroupAxis(channel.name);
    if (!groupEnabled(options, where.group)) continue;
    const LWChannelID target = findChannel(item, channel.name);
    if (target == nullptr) continue;
    double offset = 0.0;
    double scale = 1.0;
    valueTransform(adjust, where, offset, scale);
    count += transfer.writeKeys(target, channel, offset, scale);
  }
  return count;
}

}  // namespace lwp::akio
