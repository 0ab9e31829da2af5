#include "key_setter_panel.h"

#include <algorithm>
#include <array>

#include "../../common/commands/entry_guard.h"
#include "../../common/commands/exceptions.h"
#include "../../common/commands/key_commands.h"
#include "../../common/commands/server_names.h"
#include "../../common/globals/host_globals.h"
#include "../../common/panels/panel_controls.h"
#include "../../common/text/text_format.h"
#include "../history/undo_history.h"
#include "../master/clip_set_questions.h"
#include "../master/master_ring.h"
#include "frame_field_text.h"
#include "key_setter_labels.h"

namespace lwp::cks {

namespace {

// Tension, continuity and bias stay within these.
constexpr double kParameterLimit = 1.0;
// The mouse button that steps the operation selector backwards.
constexpr int kBackwardButton = 3;

LWPanelFuncs &panelService() {
  LWPanelFuncs *panels = CHostGlobals::instance().panels();
  if (panels == nullptr) throw lw::ex::CBaseEx("The host offers no panels.");
  return *panels;
}

template <std::size_t N>
int indexOf(const std::array<LWControl *, N> &controls, const LWControl *control) {
  const auto found = std::find(controls.begin(), controls.end(), control);
  return found != controls.end() ? static_cast<int>(found - controls.begin()) : -1;
}

bool isOn(LWControl *control) { return intValue(control) != 0; }

void setOn(LWControl *control, bool on) { setIntValue(control, on ? 1 : 0); }

// The current time in frames of the scene, as the host sees it now.
double currentFrame() {
  CHostGlobals &globals = CHostGlobals::instance();
  const LWTimeInfo *time = globals.refetchTimeInfo();
  const LWSceneInfo *scene = globals.refetchSceneInfo();
  return time != nullptr && scene != nullptr ? time->time * scene->framesPerSecond : 0.0;
}

// NaN, which no comparison bounds, becomes 0.
double clampParameter(double value) {
  if (!(value == value)) return 0.0;
  return std::clamp(value, -kParameterLimit, kParameterLimit);
}

}  // namespace

void CKeySetterPanel::openOn(int operation) {
  build();
  if (open_) return;
  selectOperation(operation);
  refreshDissolveChoice();
  showCurrentFrame();
  const int opened = panelService().open(panel_, kKeyPanelOpenFlags);
  // A blocking open returns once the panel has closed, however it closed.
  open_ = false;
  if (opened == 0) throw lw::ex::CBaseEx("The host could not open the key-setter panel.");
}

void CKeySetterPanel::build() {
  if (panel_ != nullptr) return;
  LWPanelFuncs &panels = panelService();
  const std::string title = formatGrowing(kTitleFormat, kKeySetterName, 1, 20, kBuildSuffix);
  LWPanelID panel = panels.create(title.c_str(), nullptr);
  if (panel == nullptr) throw lw::ex::CBaseEx("The host could not make the key-setter panel.");
  try {
    controls_ = addKeyPanelControls(panels, panel, keySetterLabels());
  } catch (...) {
    // A half-made panel is never shown; the next opening starts again.
    panels.destroy(panel);
    throw;
  }
  panel_ = panel;
  hookEvents();
  selectOperation(operation_);
  foldTo(fold_);
  addDissolveEnvelope();
}

void CKeySetterPanel::hookEvents() {
  LWPanelFuncs &panels = panelService();
  panels.set(panel_, PAN_USERDATA, this);
  panels.set(panel_, PAN_USEROPEN, panelHook(onOpen));
  panels.set(panel_, PAN_USERCLOSE, panelHook(onClose));
  panels.set(panel_, PAN_USERKEYS, panelHook(onKey));
  panels.set(panel_, PAN_USERKEYUPS, panelHook(onKeyUp));

  KeyPanelControls &c = controls_;
  for (LWControl *control : c.operations) setControlEvent(control, onControl<&CKeySetterPanel::operationPressed>, this);
  for (LWControl *control : c.folds) setControlEvent(control, onControl<&CKeySetterPanel::foldPressed>, this);
  setControlEvent(c.frame, onControl<&CKeySetterPanel::frameEdited>, this);
  for (LWControl *control : c.groupButtons) setControlEvent(control, onControl<&CKeySetterPanel::groupPressed>, this);
  setControlEvent(c.dissolve, onControl<&CKeySetterPanel::dissolveChanged>, this);
  setControlEvent(c.dissolveZero, onControl<&CKeySetterPanel::dissolveChoicePressed>, this);
  setControlEvent(c.dissolveHundred, onControl<&CKeySetterPanel::dissolveChoicePressed>, this);
  setControlEvent(c.keyShape, onControl<&CKeySetterPanel::keyShapeChanged>, this);
  setControlEvent(c.shape, onControl<&CKeySetterPanel::shapeChanged>, this);
  for (LWControl *control : {c.tension, c.continuity, c.bias})
    setControlEvent(control, onControl<&CKeySetterPanel::clampedFieldEdited>, this);
  setControlEvent(c.behavior, onControl<&CKeySetterPanel::behaviorChanged>, this);
  setControlEvent(c.poseClip, onControl<&CKeySetterPanel::poseClipChanged>, this);
  setControlEvent(c.ok, onControl<&CKeySetterPanel::okPressed>, this);
  setControlEvent(c.cancel, onControl<&CKeySetterPanel::cancelPressed>, this);
  setControlEvent(c.undo, onControl<&CKeySetterPanel::undoPressed>, this);
  setControlEvent(c.redo, onControl<&CKeySetterPanel::redoPressed>, this);
  setControlEvent(c.copyValues, onControl<&CKeySetterPanel::copyPressed>, this);
  setControlEvent(c.pasteValues, onControl<&CKeySetterPanel::pastePressed>, this);

  undoHistory().setButtonListener([this](bool canUndo, bool canRedo) { refreshUndoButtons(canUndo, canRedo); });
}

// Only the current operation's button is drawn.
void CKeySetterPanel::selectOperation(int operation) {
  operation_ = operation;
  for (int i = 0; i < kOperationCount; ++i) showControl(controls_.operations[i], i == operation);
}

// Only the current fold state's button is drawn; the height shows or cuts
// off the extra section.
void CKeySetterPanel::foldTo(int fold) {
  fold_ = fold;
  for (int i = 0; i < kFoldCount; ++i) showControl(controls_.folds[i], i == fold);
  int width = kPanelWidth;
  int height = fold == kUnfoldedIndex ? kUnfoldedHeight : kFoldedHeight;
  LWPanelFuncs &panels = panelService();
  panels.set(panel_, PAN_W, &width);
  panels.set(panel_, PAN_H, &height);
}

void CKeySetterPanel::showCurrentFrame() { setTextValue(controls_.frame, frameText(currentFrame())); }

// ---- panel hooks ----

void CKeySetterPanel::opened() {
  open_ = true;
  typed_.clear();
  modifierHeld_ = false;
  clipSetAvailable_ = false;
  refreshKeyShapeControls();
  refreshOperationControls();
  refreshBehaviorControls();
  refreshUndoButtons(undoHistory().canUndo(), undoHistory().canRedo());
  enableControl(controls_.pasteValues, hasCopiedValues());
  foldTo(fold_);
  const ClipSetInfo info = askClipSetInfo();
  characterName_ = info.character;
  cloneName_ = info.clone;
  clipSetName_ = info.clipSet;
  refreshPoseClip();
}

// ---- control events ----

// A press steps to the next operation, a press of the backward button to
// the previous one, wrapping at either end.
void CKeySetterPanel::operationPressed(LWControl *control) {
  const int pressed = indexOf(controls_.operations, control);
  if (pressed < 0) return;
  const bool backwards = controlAttribute(control, CTL_MOUSEBUTTON) == kBackwardButton;
  selectOperation((pressed + (backwards ? kOperationCount - 1 : 1)) % kOperationCount);
  refreshOperationControls();
}

void CKeySetterPanel::foldPressed(LWControl *control) {
  const int pressed = indexOf(controls_.folds, control);
  if (pressed >= 0) foldTo((pressed + 1) % kFoldCount);
}

void CKeySetterPanel::frameEdited(LWControl *control) { typed_ = textValue(control); }

// Any axis off switches all three on; all three on switches them off.
void CKeySetterPanel::groupPressed(LWControl *control) {
  const int group = indexOf(controls_.groupButtons, control);
  if (group < 0) return;
  LWControl *const *axes = &controls_.axes[static_cast<std::size_t>(group) * 3];
  const bool anyOff = std::any_of(axes, axes + 3, [](LWControl *axis) { return !isOn(axis); });
  for (int axis = 0; axis < 3; ++axis) setOn(axes[axis], anyOff);
}

// Switching Dissolve on for Create Key gives the items a dissolve envelope.
void CKeySetterPanel::dissolveChanged(LWControl *) {
  if (operation_ == kOpCreateKey && isOn(controls_.dissolve)) addDissolveEnvelope();
  refreshDissolveChoice();
}

// "0" and "100" exclude each other: the pressed one is on.
void CKeySetterPanel::dissolveChoicePressed(LWControl *control) {
  const bool hundred = control == controls_.dissolveHundred;
  setOn(controls_.dissolveHundred, hundred);
  setOn(controls_.dissolveZero, !hundred);
}

void CKeySetterPanel::keyShapeChanged(LWControl *) { refreshKeyShapeControls(); }

void CKeySetterPanel::shapeChanged(LWControl *) { refreshShapeParameters(); }

void CKeySetterPanel::clampedFieldEdited(LWControl *control) {
  setFloatValue(control, clampParameter(floatValue(control)));
}

void CKeySetterPanel::behaviorChanged(LWControl *) { refreshBehaviorControls(); }

void CKeySetterPanel::poseClipChanged(LWControl *control) {
  poseClip_ = isOn(control);
  refreshPoseClip();
}

void CKeySetterPanel::okPressed(LWControl *) { finish(true); }

void CKeySetterPanel::cancelPressed(LWControl *) { finish(false); }

void CKeySetterPanel::undoPressed(LWControl *) { undoHistory().undo(); }

void CKeySetterPanel::redoPressed(LWControl *) { undoHistory().redo(); }

void CKeySetterPanel::copyPressed(LWControl *) { enableControl(controls_.pasteValues, copyValues(readSettings())); }

void CKeySetterPanel::pastePressed(LWControl *) {
  pasteValues(readSettings());
  refreshUndoButtons(undoHistory().canUndo(), undoHistory().canRedo());
}

// ---- what the controls show ----

void CKeySetterPanel::refreshOperationControls() {
  const ParameterFields shown = parameterFieldsOf(operation_);
  const KeyPanelControls &c = controls_;
  showControl(c.frame, shown.frame);
  showControl(c.from, shown.from);
  showControl(c.to, shown.to);
  showControl(c.offset, shown.offset);
  showControl(c.factor, shown.factor);
  showControl(c.destination, shown.destination);
  showControl(c.count, shown.count);
  showControl(c.step, shown.step);
  refreshDissolveChoice();
}

// The dissolve value is only chosen when Create Key keys the dissolve.
void CKeySetterPanel::refreshDissolveChoice() {
  const bool choosable = operation_ == kOpCreateKey && isOn(controls_.dissolve);
  enableControl(controls_.dissolveZero, choosable);
  enableControl(controls_.dissolveHundred, choosable);
}

void CKeySetterPanel::refreshKeyShapeControls() {
  enableControl(controls_.shape, isOn(controls_.keyShape));
  refreshShapeParameters();
}

// Tension, continuity and bias belong to the TCB shape alone.
void CKeySetterPanel::refreshShapeParameters() {
  const bool tcb = isOn(controls_.keyShape) && intValue(controls_.shape) == 0;
  for (LWControl *control : {controls_.tension, controls_.continuity, controls_.bias}) enableControl(control, tcb);
}

void CKeySetterPanel::refreshBehaviorControls() {
  const bool on = isOn(controls_.behavior);
  enableControl(controls_.pre, on);
  enableControl(controls_.post, on);
}

void CKeySetterPanel::refreshUndoButtons(bool canUndo, bool canRedo) {
  enableControl(controls_.undo, canUndo);
  enableControl(controls_.redo, canRedo);
}

// PoseClip is offered only while the clip-set tool names a character; while
// it is on, the clip set supplies the items and the scope does not count.
void CKeySetterPanel::refreshPoseClip() {
  clipSetAvailable_ = !characterName_.empty();
  if (!clipSetAvailable_) {
    cloneName_.clear();
    clipSetName_.clear();
    poseClip_ = false;
  }
  setTextValue(controls_.character, characterName_);
  setTextValue(controls_.clone, cloneName_);
  setTextValue(controls_.clipSet, clipSetName_);
  setOn(controls_.poseClip, poseClip_);
  enableControl(controls_.poseClip, clipSetAvailable_);
  enableControl(controls_.scope, !poseClip_);
}

// ---- running ----

void CKeySetterPanel::finish(bool runIt) {
  const RunSettings settings = readSettings();
  if (open_) panelService().close(panel_);
  open_ = false;
  if (runIt) runOperation(settings);
  sendMasterReset();
}

RunSettings CKeySetterPanel::readSettings() const {
  const KeyPanelControls &c = controls_;
  RunSettings settings;
  settings.operation = operation_;
  settings.frame = frameNumber(textValue(c.frame));
  settings.from = intValue(c.from);
  settings.to = intValue(c.to);
  settings.offset = floatValue(c.offset);
  settings.factor = floatValue(c.factor);
  settings.destination = floatValue(c.destination);
  settings.count = intValue(c.count);
  settings.step = intValue(c.step);
  settings.scope = intValue(c.scope);
  for (std::size_t i = 0; i < c.kinds.size(); ++i) settings.kinds[i] = isOn(c.kinds[i]);
  for (std::size_t i = 0; i < c.axes.size(); ++i) settings.axes[i] = isOn(c.axes[i]);
  settings.misc = isOn(c.misc);
  settings.morph = isOn(c.morph);
  settings.dissolve = isOn(c.dissolve);
  settings.dissolveFull = isOn(c.dissolveHundred);
  settings.extraOpen = fold_ == kUnfoldedIndex;
  settings.keyShape = isOn(c.keyShape);
  settings.shapeIndex = intValue(c.shape);
  settings.tension = clampParameter(floatValue(c.tension));
  settings.continuity = clampParameter(floatValue(c.continuity));
  settings.bias = clampParameter(floatValue(c.bias));
  settings.behavior = isOn(c.behavior);
  settings.preIndex = intValue(c.pre);
  settings.postIndex = intValue(c.post);
  settings.poseClip = poseClip_;
  return settings;
}

// ---- entries from the host: nothing thrown leaves them ----

template <void (CKeySetterPanel::*Handler)(LWControl *)>
void CKeySetterPanel::onControl(LWControlID control, void *userData) noexcept {
  guardEntry(
      0,
      [&] {
        (static_cast<CKeySetterPanel *>(userData)->*Handler)(static_cast<LWControl *>(control));
        return 0;
      },
      keyErrorMsg);
}

void CKeySetterPanel::onOpen(LWPanelID, void *userData) noexcept {
  guardEntry(
      0,
      [&] {
        static_cast<CKeySetterPanel *>(userData)->opened();
        return 0;
      },
      keyErrorMsg);
}

void CKeySetterPanel::onClose(LWPanelID, void *userData) noexcept {
  static_cast<CKeySetterPanel *>(userData)->closed();
}

int CKeySetterPanel::onKey(LWPanelID, void *userData, LWDualKey key) noexcept {
  return guardEntry(
      0, [&] { return static_cast<CKeySetterPanel *>(userData)->keyPressed(key) ? 1 : 0; }, keyErrorMsg);
}

int CKeySetterPanel::onKeyUp(LWPanelID, void *userData, LWDualKey key) noexcept {
  return static_cast<CKeySetterPanel *>(userData)->keyReleased(key) ? 1 : 0;
}

CKeySetterPanel &keySetterPanel() {
  static CKeySetterPanel panel;
  return panel;
}

}  // namespace lwp::cks
