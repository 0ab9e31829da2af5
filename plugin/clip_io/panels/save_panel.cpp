#include "save_panel.h"

#include <array>

#include "../../common/commands/clip_commands.h"
#include "../../common/commands/server_names.h"
#include "../../common/globals/interface_refetch.h"
#include "../format/clip_file_name.h"
#include "../save/save_driver.h"
#include "clip_panel_host.h"
#include "save_labels.h"

namespace lwp::akio {

namespace {

constexpr int kPanelWidth = 340;
constexpr int kPanelHeight = 170;
constexpr int kSwitchCount = 14;

using OptionField = int ZaduDuzAVOptions::*;

// The option controls in creation order: the popup, then thirteen toggles.
struct SwitchLayout {
  SaveLabel label;
  int width;  // of the toggle's area
  int column;
  int row;
  OptionField field;
};

constexpr std::array<SwitchLayout, kSwitchCount> kSwitches = {{
    {kSaveTargetItems, 0, 104, 10, &ZaduDuzAVOptions::targetItems},
    {kSaveNull, 60, 25, 40, &ZaduDuzAVOptions::useNull},
    {kSaveMesh, 60, 85, 40, &ZaduDuzAVOptions::useMesh},
    {kSaveBone, 60, 145, 40, &ZaduDuzAVOptions::useBone},
    {kSaveLight, 60, 205, 40, &ZaduDuzAVOptions::useLight},
    {kSaveCamera, 60, 265, 40, &ZaduDuzAVOptions::useCamera},
    {kSavePosition, 60, 25, 70, &ZaduDuzAVOptions::usePosition},
    {kSaveRotation, 60, 85, 70, &ZaduDuzAVOptions::useRotation},
    {kSaveScale, 60, 145, 70, &ZaduDuzAVOptions::useScale},
    {kSaveMorph, 60, 205, 70, &ZaduDuzAVOptions::useMorph},
    {kSaveMisc, 60, 265, 70, &ZaduDuzAVOptions::useMisc},
    {kSaveSchemaPosition, 100, 25, 100, &ZaduDuzAVOptions::useSchemaPosition},
    {kSavePreviewRange, 100, 125, 100, &ZaduDuzAVOptions::usePreviewRange},
    {kSaveRenderRange, 100, 225, 100, &ZaduDuzAVOptions::useRenderRange},
}};

class SavePanel final : public ClipPanelHost {
 public:
  SavePanel() : ClipPanelHost(saveDefaults()) {}

 private:
  void addControls() override;
  void prepareOpen() override;
  void writeSwitches();
  void takePreviewRange();
  void readSwitch(LWControl *control);
  void save();

  static void onSwitch(LWControlID control, void *userData) noexcept;
  static void onSave(LWControlID control, void *userData) noexcept;

  std::array<LWControl *, kSwitchCount> switches_{};
};

void SavePanel::addControls() {
  const LabelUnit &labels = saveLabels();
  for (std::size_t i = 0; i < kSwitches.size(); ++i) {
    const SwitchLayout &layout = kSwitches[i];
    const bool popup = i == 0;
    switches_[i] = addAtColumn(popup ? "PopupControl" : "BoolButtonControl",
                               popup ? popupDesc(labels.choices(kSaveTargetList)) : areaDesc(layout.width, 0),
                               labels.label(layout.label), layout.column, layout.row);
    setEvent(switches_[i], onSwitch);
  }
  addAtEdge("BorderControl", areaDesc(350, 30), labels.label(kSaveBorder), 5, 130);
  setEvent(addAtColumn("ButtonControl", areaDesc(100, 0), labels.label(kSaveButton), 250, 135), onSave);
}

void SavePanel::prepareOpen() { writeSwitches(); }

// The panel is not modal: the preview range may change while it is open.
void SavePanel::takePreviewRange() {
  const LWInterfaceInfo *ui = refetchInterfaceInfoChecked();
  options.rangeStart = ui->previewStart;
  options.rangeEnd = ui->previewEnd;
}

void SavePanel::writeSwitches() {
  for (std::size_t i = 0; i < kSwitches.size(); ++i) setIntValue(switches_[i], options.*kSwitches[i].field);
}

void SavePanel::readSwitch(LWControl *control) {
  for (std::size_t i = 0; i < kSwitches.size(); ++i) {
    if (switches_[i] == control) options.*kSwitches[i].field = intValue(control);
  }
  writeSwitches();
}

void SavePanel::save() {
  ChosenFile chosen;
  if (!askFile(FREQ_SAVE, "Save file", "*.xml", chosen)) return;
  lastDirectory = chosen.path;
  lastFileName = chosen.baseName;
  options.path = chosen.fullName;
  if (!hasClipEnding(lastFileName)) {
    lastFileName += ".xml";
    options.path += ".xml";
  }
  reportFailures(saveLabels().message(kMsgFailedToSave), [&] {
    takePreviewRange();
    saveClip(options);
  });
}

void SavePanel::onSwitch(LWControlID control, void *userData) noexcept {
  guardedEvent([&] { static_cast<SavePanel *>(userData)->readSwitch(static_cast<LWControl *>(control)); });
}

void SavePanel::onSave(LWControlID, void *userData) noexcept {
  guardedEvent([&] { static_cast<SavePanel *>(userData)->save(); });
}

// One per process, from the first activation until the module unloads.
SavePanel &savePanel() {
  static SavePanel panel;
  return panel;
}

}  // namespace

int activateSavePanel() { return savePanel().activate(kClipSaveName, kPanelWidth, kPanelHeight); }

}  // namespace lwp::akio
