// What the key-setter panel hands to a run: its values as read when OK,
// Enter, Copy or Paste is pressed.
#pragma once

#include <array>
#include <optional>

#include "../../common/items/item_walk.h"

namespace lwp::cks {

// Operation indices, in the order of the panel's cycling selector.
enum KeyOperation : int {
  kOpCreateKey = 0,
  kOpMove = 1,
  kOpScale = 2,
  kOpCopy = 3,
  kOpBake = 4,
  kOpDeleteKey = 5,
  kOpDeleteRange = 6,
};

struct RunSettings {
  int operation = kOpCreateKey;
  std::optional<double> frame = 0.0;  // the frame field's number; none when it holds none
  int from = 1;                       // whole frames
  int to = 120;
  double offset = 1.0;                 // "+", frames
  double factor = 1.0;                 // "x"
  double destination = 1.0;            // "F", frames
  int count = 1;                       // "Num"
  int step = 1;                        // "Step", frames
  int scope = kTargetWithDescendants;  // the scope popup's TargetMode
  // Null, Mesh, Bone, Light, Camera: indexed by ItemKind.
  std::array<bool, 5> kinds{true, true, true, true, true};
  // Position X Y Z, Rotation H P B, Scale X Y Z: indexed by channel slot.
  std::array<bool, 9> axes{true, true, true, true, true, true, true, true, true};
  bool misc = false;
  bool morph = true;
  bool dissolve = false;
  bool dissolveFull = false;  // the "100" toggle; "0" otherwise
  bool extraOpen = false;     // the fold selector shows the extra section
  bool keyShape = false;
  int shapeIndex = 0;  // index of the shape popup
  double tension = 0.0;
  double continuity = 0.0;
  double bias = 0.0;
  bool behavior = false;
  int preIndex = 0;  // index of the Pre popup; 0 "As is"
  int postIndex = 0;
  bool poseClip = false;
};

// Runs settings.operation as one undo group named "KeySetter". The selection
// is saved before and restored after; any exception is shown as "Error! %s"
// and never leaves this function. Settings the operation cannot use (no
// frame number, a number that is not finite) and a Bake or Copy that would
// make more than 100000 keys on one channel are refused before the group
// opens: the envelopes and the history stay as they were.
void runOperation(const RunSettings &settings) noexcept;

// Copy values: fills the value clipboard from the gathered targets. True when
// the clipboard holds at least one value (the Paste button's state).
bool copyValues(const RunSettings &settings) noexcept;

// Paste values: one undo group named "paste" keying the clipboard's values at
// the current time, then "RefreshNow".
void pasteValues(const RunSettings &settings) noexcept;

// True when the value clipboard holds at least one value.
bool hasCopiedValues() noexcept;

// Issues "AddEnvelope Dissolve".
void addDissolveEnvelope() noexcept;

}  // namespace lwp::cks
