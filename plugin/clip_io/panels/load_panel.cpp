#include "load_panel.h"

#include <array>

#include "../../common/commands/clip_commands.h"
#include "../../common/commands/server_names.h"
#include "../load/load_driver.h"
#include "clip_panel_host.h"
#include "load_labels.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 390;
constexpr int kPanelHeight = 350;
constexpr int kControlCount = 41;

using OptionField = int ZaduDuzAVOptions::*;
using TextField = std::string ZaduDuzAVOptions::*;

enum class Desc { kString, kArea, kText, kInteger, kFloat, kBoolean, kChoice };
enum class Event { kNone, kFileLoad, kDirLoad, kCommon, kText, kLoad };

// One control: its host type, label, descriptor, where it goes (its body's
// column, or its left edge), its event and the option it shows.
struct LoadControl {
  const char *type;
  LoadLabel label;
  Desc desc;
  int width;   // characters of a string, pixels of an area; a choice's list
  int height;  // of an area
  bool atEdge;
  int x;
  int row;
  Event event;
  OptionField field;
  TextField text;
};

using Options = ZaduDuzAVOptions;

// The 60-pixel toggles of the kind and channel-group rows.
constexpr LoadControl smallToggle(LoadLabel label, int x, int row, OptionField field) {
  return {"BoolButtonControl", label, Desc::kArea, 60, 0, false, x, row, Event::kCommon, field, nullptr};
}
constexpr LoadControl number(LoadLabel label, int x, int row, OptionField field, Event event) {
  return {"NumControl", label, Desc::kInteger, 0, 0, false, x, row, event, field, nullptr};
}
constexpr LoadControl edit(LoadLabel label, int row, TextField text) {
  return {"EditControl", label, Desc::kString, 39, 0, false, 110, row, Event::kText, nullptr, text};
}

// In creation order; control n of the panel is entry n - 1.
constexpr std::array<LoadControl, kControlCount> kControls = {{
    {"EditControl", kLoadPath, Desc::kString, 65, 0, false, 5, 0, Event::kNone, nullptr, &Options::path},
    {"ButtonControl", kLoadFileOpen, Desc::kArea, 174, 0, false, 5, 20, Event::kFileLoad, nullptr, nullptr},
    {"ButtonControl", kLoadDirOpen, Desc::kArea, 174, 0, false, 179, 20, Event::kDirLoad, nullptr, nullptr},
    {"TextControl", kLoadInfo, Desc::kText, 0, 0, true, 8, 40, Event::kNone, nullptr, nullptr},
    number(kLoadFileStart, 90, 40, &Options::fileFirstFrame, Event::kNone),
    number(kLoadFileEnd, 204, 40, &Options::fileLastFrame, Event::kNone),
    {"FloatControl", kLoadFps, Desc::kFloat, 0, 0, false, 318, 40, Event::kNone, nullptr, nullptr},
    {"BoolControl", kLoadAdjustBasePose, Desc::kBoolean, 0, 0, true, 25, 62, Event::kCommon, &Options::adjustBasePose,
     nullptr},
    {"BoolControl", kLoadAdjustScale, Desc::kBoolean, 0, 0, true, 204, 62, Event::kCommon, &Options::adjustScale,
     nullptr},
    {"PopupControl", kLoadTargetItems, Desc::kChoice, kLoadTargetList, 0, false, 104, 100, Event::kCommon,
     &Options::targetItems, nullptr},
    smallToggle(kLoadNull, 25, 130, &Options::useNull),
    smallToggle(kLoadMesh, 85, 130, &Options::useMesh),
    smallToggle(kLoadBone, 145, 130, &Options::useBone),
    smallToggle(kLoadLight, 205, 130, &Options::useLight),
    smallToggle(kLoadCamera, 265, 130, &Options::useCamera),
    smallToggle(kLoadPosition, 25, 160, &Options::usePosition),
    smallToggle(kLoadRotation, 85, 160, &Options::useRotation),
    smallToggle(kLoadScale, 145, 160, &Options::useScale),
    smallToggle(kLoadMorph, 205, 160, &Options::useMorph),
    smallToggle(kLoadMisc, 265, 160, &Options::useMisc),
    {"BoolButtonControl", kLoadSchemaPosition, Desc::kArea, 100, 0, false, 25, 190, Event::kCommon,
     &Options::useSchemaPosition, nullptr},
    {"BoolButtonControl", kLoadPreviewRange, Desc::kArea, 100, 0, false, 125, 190, Event::kCommon,
     &Options::usePreviewRange, nullptr},
    {"BoolButtonControl", kLoadRenderRange, Desc::kArea, 100, 0, false, 225, 190, Event::kCommon,
     &Options::useRenderRange, nullptr},
    {"BoolButtonControl", kLoadRange, Desc::kArea, 80, 0, false, 25, 220, Event::kCommon, &Options::useLoadRange,
     nullptr},
    number(kLoadRangeStart, 165, 220, &Options::rangeStart, Event::kCommon),
    number(kLoadRangeEnd, 280, 220, &Options::rangeEnd, Event::kCommon),
    {"BoolButtonControl", kLoadInsertPosition, Desc::kArea, 80, 0, false, 25, 240, Event::kCommon,
     &Options::useInsertPosition, nullptr},
    number(kLoadInsertFrame, 165, 240, &Options::insertFrame, Event::kCommon),
    {"PopupControl", kLoadDestinationKey, Desc::kChoice, kLoadDeletionList, 0, true, 29, 260, Event::kCommon,
     &Options::destKeyMode, nullptr},
    number(kLoadDeleteStart, 165, 280, &Options::deleteStart, Event::kCommon),
    number(kLoadDeleteEnd, 280, 280, &Options::deleteEnd, Event::kCommon),
    {"BoolButtonControl", kLoadCheckFullPath, Desc::kArea, 150, 0, false, 25, 310, Event::kCommon,
     &Options::checkFullPath, nullptr},
    {"PopupControl", kLoadNameConvert, Desc::kChoice, kLoadNameConvertList, 0, false, 110, 330, Event::kCommon,
     &Options::nameConvertMode, nullptr},
    edit(kLoadNamePrefix, 352, &Options::namePrefix),
    edit(kLoadNameSuffix, 352, &Options::nameSuffix),
    edit(kLoadReplaceFrom, 352, &Options::replaceFrom),
    edit(kLoadReplaceTo, 374, &Options::replaceTo),
    edit(kLoadRegexPattern, 352, &Options::regexPattern),
    edit(kLoadRegexReplace, 374, &Options::regexReplace),
    {"BorderControl", kLoadBorder, Desc::kArea, 400, 30, true, 5, 430, Event::kNone, nullptr, nullptr},
    {"ButtonControl", kLoadButton, Desc::kArea, 100, 0, false, 300, 435, Event::kLoad, nullptr, nullptr},
}};

// Positions in kControls (control number minus one).
enum ControlIndex : std::size_t {
  kPathField = 0,
  kFileFirstField = 4,
  kFileLastField = 5,
  kFpsField = 6,
  kAdjustBasePoseSwitch = 7,
  kAdjustScaleSwitch = 8,
  kLoadRangeSwitch = 23,
  kRangeStartField = 24,
  kRangeEndField = 25,
  kInsertSwitch = 26,
  kInsertFrameField = 27,
  kDestKeyPopup = 28,
  kDeleteStartField = 29,
  kDeleteEndField = 30,
  kNameConvertPopup = 32,
  kFirstNameField = 33,
};
// Prefix, suffix, replace from and to, pattern and format.
constexpr std::size_t kNameFieldCount = 6;

// The name fields each conversion mode shows, by their offset from the
// first; the others are erased.
constexpr std::array<std::array<bool, kNameFieldCount>, 5> kNameFieldsShown = {{
    {false, false, false, false, false, false},
    {true, false, false, false, false, false},
    {false, true, false, false, false, false},
    {false, false, true, true, false, false},
    {false, false, false, false, true, true},
}};

// An empty list of lines for the text control.
const char *kNoLines[] = {nullptr};

LWPanControlDesc descriptorOf(const LoadControl &control, const LabelUnit &labels) {
  switch (control.desc) {
    case Desc::kString:
      return textDesc(control.width);
    case Desc::kArea:
      return areaDesc(control.width, control.height);
    case Desc::kText:
      return textLinesDesc(kNoLines);
    case Desc::kInteger:
      return numberDesc(LWT_INTEGER);
    case Desc::kFloat:
      return numberDesc(LWT_FLOAT);
    case Desc::kBoolean:
      return numberDesc(LWT_BOOLEAN);
    case Desc::kChoice:
      return popupDesc(labels.choices(static_cast<std::size_t>(control.width)));
  }
  return {};
}

class LoadPanel final : public ClipPanelHost {
 public:
  LoadPanel() : ClipPanelHost(loadDefaults()) {}

 private:
  void addControls() override;
  void prepareOpen() override;
  void refresh();
  void showEnabled(std::size_t index, bool enabled);
  void refreshNameFields();
  std::size_t indexOf(LWControl *control) const;
  void readOption(LWControl *control);
  void readText(LWControl *control);
  void loadFile();
  void loadDirectory();
  void load();
  // After a file or directory load: the range of what was read becomes the
  // load range.
  void takeFileRange();

  static LWCtlEventFunc *handlerOf(Event event);
  static void onCommon(LWControlID control, void *userData) noexcept;
  static void onText(LWControlID control, void *userData) noexcept;
  static void onFileLoad(LWControlID control, void *userData) noexcept;
  static void onDirLoad(LWControlID control, void *userData) noexcept;
  static void onLoad(LWControlID control, void *userData) noexcept;

  std::array<LWControl *, kControlCount> controls_{};
};

void LoadPanel::addControls() {
  const LabelUnit &labels = loadLabels();
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const LoadControl &control = kControls[i];
    const LWPanControlDesc desc = descriptorOf(control, labels);
    const char *label = labels.label(control.label);
    controls_[i] = control.atEdge ? addAtEdge(control.type, desc, label, control.x, control.row)
                                  : addAtColumn(control.type, desc, label, control.x, control.row);
    if (LWCtlEventFunc *event = handlerOf(control.event)) setEvent(controls_[i], event);
  }
}

LWCtlEventFunc *LoadPanel::handlerOf(Event event) {
  switch (event) {
    case Event::kFileLoad:
      return onFileLoad;
    case Event::kDirLoad:
      return onDirLoad;
    case Event::kCommon:
      return onCommon;
    case Event::kText:
      return onText;
    case Event::kLoad:
      return onLoad;
    case Event::kNone:
      break;
  }
  return nullptr;
}

// The adjust switches start off at every opening: they depend on the clip
// read next.
void LoadPanel::prepareOpen() {
  options.adjustBasePose = 0;
  options.adjustScale = 0;
  refresh();
}

void LoadPanel::showEnabled(std::size_t index, bool enabled) { enableControl(controls_[index], enabled); }

void LoadPanel::refresh() {
  if (panel == nullptr) return;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].field != nullptr) setIntValue(controls_[i], options.*kControls[i].field);
    if (kControls[i].text != nullptr) setTextValue(controls_[i], options.*kControls[i].text);
  }
  const LWSceneInfo *scene = CClipGlobals::instance().sceneInfo();
  setFloatValue(controls_[kFpsField], scene != nullptr ? scene->framesPerSecond : 0.0);
  for (const std::size_t shown : {kPathField, kFileFirstField, kFileLastField, kFpsField}) showEnabled(shown, false);
  showEnabled(kAdjustBasePoseSwitch, options.hasBasePose);
  showEnabled(kAdjustScaleSwitch, options.hasBasePose);
  showEnabled(kRangeStartField, options.useLoadRange != 0);
  showEnabled(kRangeEndField, options.useLoadRange != 0);
  showEnabled(kInsertFrameField, options.useInsertPosition != 0);
  showEnabled(kDeleteStartField, options.destKeyMode == kDeleteRange);
  showEnabled(kDeleteEndField, options.destKeyMode == kDeleteRange);
  refreshNameFields();
}

void LoadPanel::refreshNameFields() {
  const int mode = options.nameConvertMode;
  if (mode < 0 || mode >= static_cast<int>(kNameFieldsShown.size())) return;  // left as they are
  for (std::size_t i = 0; i < kNameFieldCount; ++i)
    showControl(controls_[kFirstNameField + i], kNameFieldsShown[mode][i]);
}

std::size_t LoadPanel::indexOf(LWControl *control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control) return i;
  }
  return controls_.size();
}

void LoadPanel::readOption(LWControl *control) {
  const std::size_t index = indexOf(control);
  if (index < kControls.size() && kControls[index].field != nullptr)
    options.*kControls[index].field = intValue(control);
  refresh();
}

void LoadPanel::readText(LWControl *control) {
  const std::size_t index = indexOf(control);
  if (index < kControls.size() && kControls[index].text != nullptr) options.*kControls[index].text = textValue(control);
}

void LoadPanel::takeFileRange() {
  computeFileRange(options);
  options.rangeStart = options.fileFirstFrame;
  options.rangeEnd = options.fileLastFrame;
  refresh();
}

void LoadPanel::loadFile() {
  ChosenFile chosen;
  if (!askFile(FREQ_LOAD, "Load file", "*.xml", chosen)) return;
  lastDirectory = chosen.path;
  lastFileName = chosen.baseName;
  options.path = chosen.fullName;
  reportFailures(loadLabels().message(kMsgFailedToLoad), [&] {
    loadClipFile(options);
    takeFileRange();
  });
}

void LoadPanel::loadDirectory() {
  ChosenFile chosen;
  if (!askFile(FREQ_DIRECTORY, "Load dir", nullptr, chosen)) return;
  lastDirectory = chosen.path;
  options.path = chosen.path;
  reportFailures(kDirLoadFailedLine, [&] {
    loadClipDir(options);
    takeFileRange();
  });
}

void LoadPanel::load() {
  reportFailures(loadLabels().message(kMsgFailedToLoad), [&] { applyClip(options); });
}

void LoadPanel::onCommon(LWControlID control, void *userData) noexcept {
  guardedEvent([&] { static_cast<LoadPanel *>(userData)->readOption(static_cast<LWControl *>(control)); });
}

void LoadPanel::onText(LWControlID control, void *userData) noexcept {
  guardedEvent([&] { static_cast<LoadPanel *>(userData)->readText(static_cast<LWControl *>(control)); });
}

void LoadPanel::onFileLoad(LWControlID, void *userData) noexcept {
  guardedEvent([&] { static_cast<LoadPanel *>(userData)->loadFile(); });
}

void LoadPanel::onDirLoad(LWControlID, void *userData) noexcept {
  guardedEvent([&] { static_cast<LoadPanel *>(userData)->loadDirectory(); });
}

void LoadPanel::onLoad(LWControlID, void *userData) noexcept {
  guardedEvent([&] { static_cast<LoadPanel *>(userData)->load(); });
}

// One per process, from the first activation until the module unloads.
LoadPanel &loadPanel() {
  static LoadPanel panel;
  return panel;
}

}  // namespace

int activateLoadPanel() { return loadPanel().activate(kClipLoadName, kPanelWidth, kPanelHeight); }

}  // namespace lwp::akio
