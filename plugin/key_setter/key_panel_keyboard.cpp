// The key-setter panel's keyboard: typing the frame, Enter and Escape, and
// the modifier with the four arrow keys.
#include "../common/panel_controls.h"
#include "frame_field_text.h"
#include "key_setter_panel.h"

namespace lwp::cks {

namespace {

constexpr int kScopeCount = 3;

}  // namespace

void CKeySetterPanel::keyPressed(int key) {
  if (typeFrameKey(typed_, key)) {
    setTextValue(controls_.frame, typed_);
    return;
  }
  switch (key) {
    case LWDK_RETURN:
      finish(true);
      break;
    case LWDK_ESCAPE:
      finish(false);
      break;
    case LWDK_CTRL:
      modifierHeld_ = true;
      break;
    case LWDK_LEFT:
      if (modifierHeld_) stepFrame(-1);
      break;
    case LWDK_RIGHT:
      if (modifierHeld_) stepFrame(1);
      break;
    case LWDK_UP:
      if (modifierHeld_) stepScope(-1);
      break;
    case LWDK_DOWN:
      if (modifierHeld_) stepScope(1);
      break;
    default:
      break;
  }
}

void CKeySetterPanel::keyReleased(int key) {
  if (key == LWDK_CTRL) modifierHeld_ = false;
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
