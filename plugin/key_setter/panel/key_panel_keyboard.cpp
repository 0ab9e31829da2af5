// The key-setter panel's keyboard: typing the frame, Enter and Escape, and
// the modifier with the four arrow keys.
#include "../../common/panels/panel_controls.h"
#include "frame_field_text.h"
#include "key_setter_panel.h"

namespace lwp::cks {

namespace {

constexpr int kScopeCount = 3;

// Plain characters arrive as their own codes. Which code Layout delivers for
// the Enter key is not settled by its interface: the character, its return
// key or the keypad's Enter; each one counts.
constexpr int kEnterCharacter = 0x0D;
constexpr int kEscapeCharacter = 0x1B;

bool isEnter(int key) { return key == kEnterCharacter || key == LWDK_RETURN || key == LWDK_PAD_ENTER; }

// The modifier is the Shift key.
constexpr int kModifier = LWDK_SHIFT;

}  // namespace

bool CKeySetterPanel::keyPressed(int key) {
  if (typeFrameKey(typed_, key)) {
    setTextValue(controls_.frame, typed_);
    return true;
  }
  if (isEnter(key)) {
    finish(true);
    return true;
  }
  switch (key) {
    case kEscapeCharacter:
      finish(false);
      return true;
    case kModifier:
      modifierHeld_ = true;
      return true;
    case LWDK_SC_LEFT:
      if (modifierHeld_) stepFrame(-1);
      return modifierHeld_;
    case LWDK_SC_RIGHT:
      if (modifierHeld_) stepFrame(1);
      return modifierHeld_;
    case LWDK_SC_UP:
      if (modifierHeld_) stepScope(-1);
      return modifierHeld_;
    case LWDK_SC_DOWN:
      if (modifierHeld_) stepScope(1);
      return modifierHeld_;
    default:
      return false;
  }
}

bool CKeySetterPanel::keyReleased(int key) {
  if (key != kModifier) return false;
  modifierHeld_ = false;
  return true;
}

// The frame becomes a whole number; typing goes on from the new text.
void CKeySetterPanel::stepFrame(int delta) {
  typed_ = steppedFrameText(textValue(controls_.frame), delta);
  setTextValue(controls_.frame, typed_);
}

void CKeySetterPanel::stepScope(int delta) {
  const int scope = ((intValue(controls_.scope) + delta) % kScopeCount + kScopeCount) % kScopeCount;
  setIntValue(controls_.scope, scope);
}

}  // namespace lwp::cks
