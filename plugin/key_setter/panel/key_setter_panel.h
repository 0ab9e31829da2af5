// The key-setter panel: one per process, built at its first opening and
// kept between openings, so that every control keeps its value. The key
// setter opens it on "Create Key", the key deleter on "Delete Key".
#pragma once

#include <string>

#include "../../host/lwpanel.h"
#include "../operations/run_settings.h"
#include "key_panel_controls.h"

namespace lwp::cks {

// Blocking; every key, Enter and Escape included, to the panel's key
// callbacks; no OK and Cancel of the host's.
inline constexpr int kKeyPanelOpenFlags = PANF_BLOCKING | PANF_PASSALLKEYS | PANF_NOBUTT;

class CKeySetterPanel {
 public:
  CKeySetterPanel() = default;
  CKeySetterPanel(const CKeySetterPanel &) = delete;
  CKeySetterPanel &operator=(const CKeySetterPanel &) = delete;

  // Builds the panel unless it exists and, unless it is open already,
  // opens it on the operation; returns once the panel has closed.
  void openOn(int operation);

 private:
  void build();
  void hookEvents();
  void selectOperation(int operation);
  void foldTo(int fold);
  void showCurrentFrame();

  // Panel hooks and the keyboard.
  void opened();
  void closed() { open_ = false; }
  // True when the panel used the key; other keys go on to the host.
  bool keyPressed(int key);
  bool keyReleased(int key);
  void stepFrame(int delta);
  void stepScope(int delta);

  // Control events.
  void operationPressed(LWControl *control);
  void foldPressed(LWControl *control);
  void frameEdited(LWControl *control);
  void groupPressed(LWControl *control);
  void dissolveChanged(LWControl *control);
  void dissolveChoicePressed(LWControl *control);
  void keyShapeChanged(LWControl *control);
  void shapeChanged(LWControl *control);
  void clampedFieldEdited(LWControl *control);
  void behaviorChanged(LWControl *control);
  void poseClipChanged(LWControl *control);
  void okPressed(LWControl *control);
  void cancelPressed(LWControl *control);
  void undoPressed(LWControl *control);
  void redoPressed(LWControl *control);
  void copyPressed(LWControl *control);
  void pastePressed(LWControl *control);

  // What the controls show follows the settings.
  void refreshOperationControls();
  void refreshDissolveChoice();
  void refreshKeyShapeControls();
  void refreshShapeParameters();
  void refreshBehaviorControls();
  void refreshUndoButtons(bool canUndo, bool canRedo);
  void refreshPoseClip();

  // OK and Enter run the operation, Cancel and Escape do not; either way
  // the panel closes and the master's marks are reset.
  void finish(bool runIt);
  RunSettings readSettings() const;

  template <void (CKeySetterPanel::*Handler)(LWControl *)>
  static void onControl(LWControlID control, void *userData) noexcept;
  static void onOpen(LWPanelID panel, void *userData) noexcept;
  static void onClose(LWPanelID panel, void *userData) noexcept;
  static int onKey(LWPanelID panel, void *userData, LWDualKey key) noexcept;
  static int onKeyUp(LWPanelID panel, void *userData, LWDualKey key) noexcept;

  LWPanelID panel_ = nullptr;
  KeyPanelControls controls_;
  int operation_ = kOpCreateKey;
  int fold_ = kFoldedIndex;
  bool open_ = false;
  std::string typed_;
  bool modifierHeld_ = false;
  bool poseClip_ = false;
  bool clipSetAvailable_ = false;
  std::string characterName_;
  std::string cloneName_;
  std::string clipSetName_;
};

// The process's panel, created on first use and kept until unload.
CKeySetterPanel &keySetterPanel();

}  // namespace lwp::cks
