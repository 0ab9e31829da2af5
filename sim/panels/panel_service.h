// "LWPanelServices 3": panels as records of controls that scripts and
// tests can look at and drive as a user would.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../plugin/host/lwpanel.h"

namespace lwsim {

class Panel;

enum class DrawState { Shown, Ghosted, Erased };

// What a control holds, by its host type name.
enum class ValueKind { None, Integer, Float, Text };

class Control {
 public:
  Control(Panel &panel, int index, std::string typeName, const LWPanControlDesc &desc, std::string label);

  LWControl *record() { return &record_; }
  static Control *from(LWControlID record);

  Panel &panel() const { return panel_; }
  int index() const { return index_; }  // creation order, from 1
  const std::string &typeName() const { return typeName_; }
  const std::string &label() const { return label_; }
  int descriptorType() const { return descriptorType_; }
  const std::vector<std::string> &items() const { return items_; }  // choices of a popup
  ValueKind valueKind() const { return valueKind_; }

  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int labelWidth() const;
  DrawState drawState() const { return drawState_; }

  int intValue() const { return intValue_; }
  double floatValue() const { return floatValue_; }
  const std::string &textValue() const { return textValue_; }
  // The value as a script would set it.
  std::string valueText() const;

  void setIntValue(int value) { intValue_ = value; }
  void setFloatValue(double value) { floatValue_ = value; }
  void setTextValue(std::string value) { textValue_ = std::move(value); }

  // A user's press: a toggle flips its value; then the control's event
  // fires. button is 1 left, 2 middle, 3 right.
  void press(int button = 1);
  // A user's entry of a value, then the control's event; false (and no
  // event) for a value the control cannot take.
  bool enter(const std::string &value);
  void fireEvent();

 private:
  static void draw(LWControlID record, LWDrawMode mode);
  static void get(LWControlID record, LWControlTag attribute, LWValue *value);
  static void set(LWControlID record, LWControlTag attribute, LWValue *value);
  void getValue(LWValue *value) const;
  void setValue(const LWValue *value);

  LWControl record_;
  Panel &panel_;
  int index_;
  std::string typeName_;
  std::string label_;
  int descriptorType_;
  std::vector<std::string> items_;
  ValueKind valueKind_;
  int x_ = 0, y_ = 0, width_, height_;
  DrawState drawState_ = DrawState::Shown;
  int intValue_ = 0;
  double floatValue_ = 0.0;
  std::string textValue_;
  LWCtlEventFunc *event_ = nullptr;
  void *userData_ = nullptr;
  int lastButton_ = 1;
};

class Panel {
 public:
  explicit Panel(std::string title) : title_(std::move(title)) {}

  const std::string &title() const { return title_; }
  const std::vector<std::unique_ptr<Control>> &controls() const { return controls_; }
  Control *addControl(const std::string &typeName, const LWPanControlDesc &desc, const std::string &label);
  Control *findControl(int index) const;                 // by creation index, from 1
  Control *findControl(const std::string &label) const;  // first drawn with that label

  int width() const { return width_; }
  int height() const { return height_; }
  bool isOpen() const { return open_; }
  int openFlags() const { return openFlags_; }
  int timesOpened() const { return timesOpened_; }
  int openSerial() const { return openSerial_; }  // orders open panels

  // Host side of opening and closing; the close callback runs on every close.
  void markOpen(int flags, int serial);
  void raise(int serial) { openSerial_ = serial; }
  void closeNow();
  // A key the user presses or releases while the panel has the focus; true
  // when the panel used it (else the key goes on to the host).
  bool sendKey(int code, bool released);

  void get(int attribute, void *value) const;
  void set(int attribute, void *value);

 private:
  std::string title_;
  std::vector<std::unique_ptr<Control>> controls_;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  void *userData_ = nullptr;
  LWPanHookFunc *onOpen_ = nullptr;
  LWPanHookFunc *onClose_ = nullptr;
  LWPanDrawFunc *onDraw_ = nullptr;
  LWPanKeyFunc *onKey_ = nullptr;
  LWPanKeyFunc *onKeyUp_ = nullptr;
  bool open_ = false;
  int openFlags_ = 0;
  int timesOpened_ = 0;
  int openSerial_ = 0;
};

class PanelService {
 public:
  PanelService();

  LWPanelFuncs *record() { return &record_; }

  // While set, the host refuses to open any panel.
  void setRefuseOpen(bool refuse) { refuseOpen_ = refuse; }
  // Runs while a panel is open blocking, until it closes; without one a
  // blocking panel closes at once, as if the user dismissed it.
  void setBlockingLoop(std::function<void(Panel &)> loop) { blockingLoop_ = std::move(loop); }

  const std::vector<std::unique_ptr<Panel>> &panels() const { return panels_; }
  int panelsCreated() const { return static_cast<int>(panels_.size()); }
  // The most recently opened panel that is still open, or null.
  Panel *openPanel() const;

  static int labelWidth(const std::string &label);

  // Forgets every panel without calling back into their owner.
  void clear() { panels_.clear(); }

 private:
  static Panel *from(LWPanelID panel);
  int open(Panel &panel, int flags);

  LWPanelFuncs record_;
  std::vector<std::unique_ptr<Panel>> panels_;
  int openSerial_ = 0;
  bool refuseOpen_ = false;
  std::function<void(Panel &)> blockingLoop_;

  friend struct PanelServiceCalls;
};

}  // namespace lwsim
