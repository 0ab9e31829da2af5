#include "run_settings.h"

#include <cmath>
#include <stdexcept>

#include "../../common/commands/entry_guard.h"
#include "../../common/commands/key_commands.h"
#include "../history/undo_history.h"
#include "create_key.h"
#include "key_time.h"
#include "range_operations.h"
#include "run_frame.h"
#include "run_targets.h"
#include "value_clipboard.h"

namespace lwp::cks {

namespace {

bool readsFrame(const RunSettings &settings) {
  return settings.operation == kOpCreateKey || settings.operation == kOpDeleteKey;
}

// The number the operation reads from a text field, if any.
const double *typedNumberOf(const RunSettings &settings) {
  switch (settings.operation) {
    case kOpCreateKey:
    case kOpDeleteKey:
      return settings.frame ? &*settings.frame : nullptr;
    case kOpMove:
      return &settings.offset;
    case kOpScale:
      return &settings.factor;
    case kOpCopy:
      return &settings.destination;
    default:
      return nullptr;
  }
}

// A key at an infinite or undefined time would corrupt the envelope, and an
// empty frame field is no frame at all (least of all frame 0).
void checkSettings(const RunSettings &settings) {
  if (settings.operation < kOpCreateKey || settings.operation > kOpDeleteRange)
    throw std::invalid_argument("Unknown key operation.");
  if (readsFrame(settings) && !settings.frame) throw std::invalid_argument("The frame field holds no number.");
  if (const double *number = typedNumberOf(settings); number != nullptr && !std::isfinite(*number))
    throw std::invalid_argument("The number typed is not a finite number.");
  if (settings.operation == kOpBake) checkBakedKeyCount(settings);
}

// Everything that can refuse the run comes before its undo group opens, so
// that a refused run leaves the scene and the history as they were.
void performOperation(const RunSettings &settings) {
  checkSettings(settings);
  // Read first: without a frame rate or a time no target is touched.
  const double spf = secondsPerFrame();
  const double now = currentTime();
  const TargetItems targets = gatherTargets(settings);
  if (settings.operation == kOpCopy) checkCopiedKeyCounts(settings, targets, spf);
  undoHistory().begin(kRunGroupName);
  if (settings.operation == kOpCreateKey)
    createKeys(settings, targets, spf, now);
  else
    addRangeEntries(settings, targets, spf);
  undoHistory().commit();
}

}  // namespace

void runOperation(const RunSettings &settings) noexcept {
  runGuarded([&] { performOperation(settings); });
}

bool copyValues(const RunSettings &settings) noexcept {
  runGuarded([&] { copyCurrentValues(settings); });
  return hasCopiedValues();
}

void pasteValues(const RunSettings &settings) noexcept {
  // Pasting keys the clipboard's channels and selects nothing.
  runInGroup(kPasteGroupName, false, [&] { addPasteEntries(settings); });
  guardEntry(
      false,
      [] {
        issueCommand("RefreshNow");
        return true;
      },
      keyErrorMsg);
}

bool hasCopiedValues() noexcept { return !valueClipboard().empty(); }

void addDissolveEnvelope() noexcept {
  guardEntry(
      false,
      [] {
        issueCommand("AddEnvelope Dissolve");
        return true;
      },
      keyErrorMsg);
}

}  // namespace lwp::cks
