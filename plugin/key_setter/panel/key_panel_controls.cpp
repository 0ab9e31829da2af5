#include "key_panel_controls.h"

#include "../../common/panels/panel_controls.h"
#include "key_setter_labels.h"

namespace lwp::cks {

namespace {

constexpr const char *kButton = "ButtonControl";
constexpr const char *kToggle = "BoolButtonControl";
constexpr const char *kPopup = "PopupControl";
constexpr const char *kEdit = "EditControl";
constexpr const char *kInteger = "NumControl";
constexpr const char *kFloat = "FloatControl";
constexpr const char *kBorder = "BorderControl";
constexpr const char *kInfo = "InfoControl";

// The selectors stand at the left edge; the fields' bodies start at x 80.
constexpr int kEdge = 4;
constexpr int kFieldColumn = 80;
constexpr int kGap = 8;
// The OK/Cancel border and the buttons inside it, from the right edge.
constexpr int kButtonBorderX = kPanelWidth - 94;
constexpr int kButtonX = kPanelWidth - 90;
constexpr int kBehaviorX = kPanelWidth - 276;
constexpr int kBehaviorColumn = 328;

class ControlMaker {
 public:
  ControlMaker(LWPanelFuncs &panels, LWPanelID panel, const LabelUnit &labels)
      : panels_(panels), panel_(panel), labels_(labels) {}

  LWControl *at(const char *typeName, LWPanControlDesc desc, const char *label, int x, int y) {
    return addControlAt(panels_, panel_, typeName, desc, label, x, y);
  }
  LWControl *at(const char *typeName, LWPanControlDesc desc, KeySetterLabel label, int x, int y) {
    return at(typeName, desc, labels_.label(label), x, y);
  }
  LWControl *atColumn(const char *typeName, LWPanControlDesc desc, KeySetterLabel label, int column, int y) {
    return addControlAtColumn(panels_, panel_, typeName, desc, labels_.label(label), column, y);
  }
  // A toggle so wide, on or off.
  LWControl *toggle(KeySetterLabel label, int width, int x, int y, bool on) {
    LWControl *control = at(kToggle, areaDesc(width, 0), label, x, y);
    setIntValue(control, on ? 1 : 0);
    return control;
  }
  LWControl *integerField(KeySetterLabel label, int x, int y, int value) {
    LWControl *control = at(kInteger, numberDesc(LWT_INTEGER), label, x, y);
    setIntValue(control, value);
    return control;
  }
  LWControl *floatField(KeySetterLabel label, int x, int y, double value) {
    LWControl *control = at(kFloat, numberDesc(LWT_FLOAT), label, x, y);
    setFloatValue(control, value);
    return control;
  }
  LWControl *floatAtColumn(KeySetterLabel label, int column, int y) {
    LWControl *control = atColumn(kFloat, numberDesc(LWT_FLOAT), label, column, y);
    setFloatValue(control, 0.0);
    return control;
  }
  LWControl *popupAtColumn(KeySetterLabel label, KeySetterChoiceList list, int column, int y, int value) {
    LWControl *control = atColumn(kPopup, popupDesc(labels_.choices(list)), label, column, y);
    setIntValue(control, value);
    return control;
  }
  const char *choice(KeySetterChoiceList list, int index) const { return labels_.choices(list)[index]; }

 private:
  LWPanelFuncs &panels_;
  LWPanelID panel_;
  const LabelUnit &labels_;
};

void addSelectors(ControlMaker &make, KeyPanelControls &c) {
  constexpr int kFoldY = 98;
  for (int i = 0; i < kOperationCount; ++i)
    c.operations[i] = make.at(kButton, areaDesc(64, 0), make.choice(kOperationList, i), kEdge, 0);
  for (int i = 0; i < kFoldCount; ++i)
    c.folds[i] = make.at(kButton, areaDesc(22, 0), make.choice(kFoldList, i), kEdge, kFoldY);
}

// One row at the top; only the current operation's fields are drawn, so
// those after "to" share one spot, the count below them.
void addParameterFields(ControlMaker &make, KeyPanelControls &c) {
  c.frame = make.atColumn(kEdit, textDesc(12), kLabelFrame, kFieldColumn, 0);
  setTextValue(c.frame, "0");
  c.from = make.integerField(kLabelFrom, kFieldColumn, 0, 1);
  c.to = make.integerField(kLabelTo, controlRight(c.from) + kGap, 0, 120);
  const int trailing = controlRight(c.to) + kGap;
  c.offset = make.floatField(kLabelOffset, trailing, 0, 1.0);
  c.factor = make.floatField(kLabelFactor, trailing, 0, 1.0);
  c.destination = make.floatField(kLabelDestination, trailing, 0, 1.0);
  c.count = make.integerField(kLabelCount, trailing, 20, 1);
  c.step = make.integerField(kLabelStep, trailing, 0, 1);
}

void addTargetControls(ControlMaker &make, KeyPanelControls &c) {
  c.scope = make.popupAtColumn(kLabelScope, kScopeList, kFieldColumn, 24, kTargetWithDescendants);
  const KeySetterLabel kinds[] = {kLabelNull, kLabelMesh, kLabelBone, kLabelLight, kLabelCamera};
  for (int i = 0; i < 5; ++i) c.kinds[i] = make.toggle(kinds[i], 52, kFieldColumn + 52 * i, 44, true);
}

// Position, Rotation and Scale each stand over their three axis toggles.
void addChannelControls(ControlMaker &make, KeyPanelControls &c) {
  constexpr KeySetterLabel kGroups[3] = {kLabelPosition, kLabelRotation, kLabelScale};
  constexpr KeySetterLabel kAxes[9] = {kLabelPositionX, kLabelPositionY, kLabelPositionZ,
                                       kLabelRotationH, kLabelRotationP, kLabelRotationB,
                                       kLabelScaleX,    kLabelScaleY,    kLabelScaleZ};
  constexpr int kGroupX[3] = {80, 146, 212};
  for (int group = 0; group < 3; ++group) {
    c.groupButtons[group] = make.at(kButton, areaDesc(60, 0), kGroups[group], kGroupX[group], 68);
    for (int axis = 0; axis < 3; ++axis) {
      const int slot = group * 3 + axis;
      c.axes[slot] = make.toggle(kAxes[slot], 20, kGroupX[group] + 20 * axis, 88, true);
    }
  }
  c.misc = make.toggle(kLabelMisc, 62, 278, 68, false);
  c.morph = make.toggle(kLabelMorph, 62, 278, 88, true);
  c.dissolve = make.toggle(kLabelDissolve, 76, 344, 68, false);
  c.dissolveZero = make.toggle(kLabelDissolveZero, 34, 344, 88, true);
  c.dissolveHundred = make.toggle(kLabelDissolveHundred, 34, 386, 88, false);
}

void addShapeControls(ControlMaker &make, KeyPanelControls &c) {
  make.at(kBorder, areaDesc(430, 0), kLabelParameterBorder, kFieldColumn, 114);
  c.keyShape = make.toggle(kLabelKeyShape, 64, kEdge, kFoldedHeight, false);
  c.shape = make.popupAtColumn(kLabelShape, kShapeList, kFieldColumn, kFoldedHeight, 0);
  c.tension = make.floatAtColumn(kLabelTension, kFieldColumn, 142);
  c.continuity = make.floatAtColumn(kLabelContinuity, kFieldColumn, 162);
  c.bias = make.floatAtColumn(kLabelBias, kFieldColumn, 182);
}

void addButtons(ControlMaker &make, KeyPanelControls &c) {
  make.at(kBorder, areaDesc(90, 110), kLabelButtonBorder, kButtonBorderX, 0);
  c.ok = make.at(kButton, areaDesc(82, 0), kLabelOk, kButtonX, 4);
  c.cancel = make.at(kButton, areaDesc(82, 0), kLabelCancel, kButtonX, 28);
  c.undo = make.at(kButton, areaDesc(82, 0), kLabelUndo, kButtonX, kFoldedHeight + 4);
  c.redo = make.at(kButton, areaDesc(82, 0), kLabelRedo, kButtonX, kFoldedHeight + 28);
}

void addBehaviorControls(ControlMaker &make, KeyPanelControls &c) {
  c.behavior = make.toggle(kLabelBehavior, 64, kBehaviorX, kFoldedHeight, false);
  c.pre = make.popupAtColumn(kLabelPre, kPreBehaviorList, kBehaviorColumn, kFoldedHeight, 0);
  c.post = make.popupAtColumn(kLabelPost, kPostBehaviorList, kBehaviorColumn, 142, 0);
  c.copyValues = make.at(kButton, areaDesc(90, 0), kLabelCopyValues, kBehaviorColumn, 166);
  c.pasteValues = make.at(kButton, areaDesc(90, 0), kLabelPasteValues, kBehaviorColumn, 186);
}

void addClipSetControls(ControlMaker &make, KeyPanelControls &c) {
  constexpr int kRow = 218;
  make.at(kBorder, areaDesc(510, 0), kLabelClipSetBorder, kEdge, 214);
  c.poseClip = make.toggle(kLabelPoseClip, 64, kEdge, kRow, false);
  c.character = make.at(kInfo, textDesc(25), kLabelCharacter, kFieldColumn, kRow);
  c.clone = make.at(kInfo, textDesc(20), kLabelClone, controlRight(c.character) + kGap, kRow);
  c.clipSet = make.at(kInfo, textDesc(25), kLabelClipSet, kFieldColumn, kRow + 24);
}

}  // namespace

KeyPanelControls addKeyPanelControls(LWPanelFuncs &panels, LWPanelID panel, const LabelUnit &labels) {
  ControlMaker make(panels, panel, labels);
  KeyPanelControls controls;
  addSelectors(make, controls);
  addParameterFields(make, controls);
  addTargetControls(make, controls);
  addChannelControls(make, controls);
  addShapeControls(make, controls);
  addButtons(make, controls);
  addBehaviorControls(make, controls);
  addClipSetControls(make, controls);
  return controls;
}

ParameterFields parameterFieldsOf(int operation) {
  switch (operation) {
    case kOpMove:
      return {false, true, true, true, false, false, false, false};
    case kOpScale:
      return {false, true, true, false, true, false, false, false};
    case kOpCopy:
      return {false, true, true, false, false, true, true, false};
    case kOpBake:
      return {false, true, true, false, false, false, false, true};
    case kOpDeleteRange:
      return {false, true, true, false, false, false, false, false};
    default:  // Create Key and Delete Key work at one frame
      return {true, false, false, false, false, false, false, false};
  }
}

}  // namespace lwp::cks
