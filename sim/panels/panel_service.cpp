#include "panel_service.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>

#include "../commands/command_arguments.h"
#include "../host.h"
#include "../script/script_words.h"
#include "../services/unsupported_call.h"

namespace lwsim {

namespace {

constexpr int kCharacterWidth = 8;
constexpr int kDefaultWidth = 100;
constexpr int kDefaultHeight = 20;

const std::map<std::string, ValueKind> &controlKinds() {
  static const std::map<std::string, ValueKind> kinds = {
      {"ButtonControl", ValueKind::None},        {"BorderControl", ValueKind::None},
      {"TextControl", ValueKind::None},          {"AreaControl", ValueKind::None},
      {"BoolButtonControl", ValueKind::Integer}, {"BoolControl", ValueKind::Integer},
      {"PopupControl", ValueKind::Integer},      {"ChoiceControl", ValueKind::Integer},
      {"NumControl", ValueKind::Integer},        {"FloatControl", ValueKind::Float},
      {"EditControl", ValueKind::Text},          {"InfoControl", ValueKind::Text},
  };
  return kinds;
}

bool isToggle(const std::string &typeName) { return typeName == "BoolButtonControl" || typeName == "BoolControl"; }

std::string shortestText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

// ---- Control ----

Control::Control(Panel &panel, int index, std::string typeName, const LWPanControlDesc &desc, std::string label)
    : record_{.draw = draw, .get = get, .set = set, .priv_data = this},
      panel_(panel),
      index_(index),
      typeName_(std::move(typeName)),
      label_(std::move(label)),
      descriptorType_(desc.type),
      valueKind_(controlKinds().at(typeName_)),
      width_(kDefaultWidth),
      height_(kDefaultHeight) {
  if (desc.type == LWT_AREA) {
    width_ = desc.area.width;
    height_ = desc.area.height;
  } else if (desc.type == LWT_STRING) {
    width_ = desc.string.width * kCharacterWidth;
  } else if (desc.type == LWT_CHOICE) {
    for (const char **item = desc.choice.items; item != nullptr && *item != nullptr; ++item) items_.emplace_back(*item);
    // A popup takes its width where the other choices take their orientation.
    if (typeName_ == "PopupControl" && desc.choice.vertical > 0) width_ = desc.choice.vertical;
  }
}

Control *Control::from(LWControlID record) {
  return record != nullptr ? static_cast<Control *>(static_cast<LWControl *>(record)->priv_data) : nullptr;
}

int Control::labelWidth() const { return PanelService::labelWidth(label_); }

std::string Control::valueText() const {
  switch (valueKind_) {
    case ValueKind::Integer:
      return std::to_string(intValue_);
    case ValueKind::Float:
      return shortestText(floatValue_);
    case ValueKind::Text:
      return quoteWord(textValue_);
    case ValueKind::None:
      break;
  }
  return "-";
}

void Control::press(int button) {
  lastButton_ = button;
  if (isToggle(typeName_)) intValue_ = intValue_ != 0 ? 0 : 1;
  fireEvent();
}

bool Control::enter(const std::string &value) {
  switch (valueKind_) {
    case ValueKind::Integer: {
      const std::optional<long long> number = parseInteger(value);
      if (!number.has_value() || *number < INT_MIN || *number > INT_MAX) return false;
      intValue_ = static_cast<int>(*number);
      break;
    }
    case ValueKind::Float: {
      const std::optional<double> number = parseNumber(value);
      if (!number.has_value()) return false;
      floatValue_ = *number;
      break;
    }
    case ValueKind::Text:
      textValue_ = value;
      break;
    case ValueKind::None:
      break;
  }
  fireEvent();
  return true;
}

void Control::fireEvent() {
  if (event_ != nullptr) event_(&record_, userData_);
}

void Control::draw(LWControlID record, LWDrawMode mode) {
  Control *control = from(record);
  if (control == nullptr) return;
  if (mode == DR_ERASE) control->drawState_ = DrawState::Erased;
  if (mode == DR_GHOST) control->drawState_ = DrawState::Ghosted;
  if (mode == DR_RENDER) control->drawState_ = DrawState::Shown;
}

void Control::get(LWControlID record, LWControlTag attribute, LWValue *value) {
  Control *control = from(record);
  if (control == nullptr || value == nullptr) return;
  switch (attribute) {
    case CTL_X:
    case CTL_HOTX:
      value->intv.value = control->x_;
      break;
    case CTL_Y:
    case CTL_HOTY:
      value->intv.value = control->y_;
      break;
    case CTL_W:
    case CTL_HOTW:
      value->intv.value = control->width_;
      break;
    case CTL_H:
    case CTL_HOTH:
      value->intv.value = control->height_;
      break;
    case CTL_LABELWIDTH:
      value->intv.value = control->labelWidth();
      break;
    case CTL_MOUSEBUTTON:
      value->intv.value = control->lastButton_;
      break;
    case CTL_VALUE:
      control->getValue(value);
      break;
    case CTL_USERDATA:
      value->ptr.ptr = control->userData_;
      break;
    default:
      value->intv.value = 0;
      break;
  }
}

void Control::set(LWControlID record, LWControlTag attribute, LWValue *value) {
  Control *control = from(record);
  if (control == nullptr || value == nullptr) return;
  switch (attribute) {
    case CTL_X:
      control->x_ = value->intv.value;
      break;
    case CTL_Y:
      control->y_ = value->intv.value;
      break;
    case CTL_W:
      control->width_ = value->intv.value;
      break;
    case CTL_H:
      control->height_ = value->intv.value;
      break;
    case CTL_VALUE:
      control->setValue(value);
      break;
    case CTL_USEREVENT:
      control->event_ = reinterpret_cast<LWCtlEventFunc *>(value->ptr.ptr);
      break;
    case CTL_USERDATA:
      control->userData_ = value->ptr.ptr;
      break;
    default:
      break;
  }
}

// The value is handed over in the type the module asks for.
void Control::getValue(LWValue *value) const {
  const double number = valueKind_ == ValueKind::Float ? floatValue_ : intValue_;
  switch (value->type) {
    case LWT_STRING: {
      if (value->str.buf == nullptr || value->str.bufLen <= 0) return;
      const std::string text = valueKind_ == ValueKind::Text ? textValue_ : valueText();
      const std::size_t length = std::min(text.size(), static_cast<std::size_t>(value->str.bufLen - 1));
      std::memcpy(value->str.buf, text.data(), length);
      value->str.buf[length] = '\0';
      return;
    }
    case LWT_FLOAT:
    case LWT_DISTANCE:
    case LWT_PERCENT:
      value->flt.value = number;
      return;
    default:
      value->intv.value = static_cast<int>(number);
      return;
  }
}

void Control::setValue(const LWValue *value) {
  switch (value->type) {
    case LWT_STRING: {
      const std::string text = value->str.buf != nullptr ? value->str.buf : "";
      if (valueKind_ == ValueKind::Text) textValue_ = text;
      if (valueKind_ == ValueKind::Integer) intValue_ = static_cast<int>(leadingNumber(text));
      if (valueKind_ == ValueKind::Float) floatValue_ = leadingNumber(text);
      return;
    }
    case LWT_FLOAT:
    case LWT_DISTANCE:
    case LWT_PERCENT:
      floatValue_ = value->flt.value;
      intValue_ = static_cast<int>(value->flt.value);
      return;
    default:
      intValue_ = value->intv.value;
      floatValue_ = value->intv.value;
      return;
  }
}

// ---- Panel ----

Control *Panel::addControl(const std::string &typeName, const LWPanControlDesc &desc, const std::string &label) {
  if (controlKinds().count(typeName) == 0) return nullptr;
  const int index = static_cast<int>(controls_.size()) + 1;
  controls_.push_back(std::make_unique<Control>(*this, index, typeName, desc, label));
  return controls_.back().get();
}

Control *Panel::findControl(int index) const {
  return index >= 1 && index <= static_cast<int>(controls_.size()) ? controls_[index - 1].get() : nullptr;
}

// A user sees only drawn controls: an erased one answers to its label only
// when no drawn control carries it.
Control *Panel::findControl(const std::string &label) const {
  Control *erased = nullptr;
  for (const auto &control : controls_) {
    if (control->label() != label) continue;
    if (control->drawState() != DrawState::Erased) return control.get();
    if (erased == nullptr) erased = control.get();
  }
  return erased;
}

void Panel::markOpen(int flags, int serial) {
  open_ = true;
  openFlags_ = flags;
  openSerial_ = serial;
  ++timesOpened_;
  if (onOpen_ != nullptr) onOpen_(reinterpret_cast<LWPanelID>(this), userData_);
}

void Panel::closeNow() {
  if (!open_) return;
  open_ = false;
  if (onClose_ != nullptr) onClose_(reinterpret_cast<LWPanelID>(this), userData_);
}

bool Panel::sendKey(int code, bool released) {
  LWPanKeyFunc *callback = released ? onKeyUp_ : onKey_;
  return callback != nullptr &&
         callback(reinterpret_cast<LWPanelID>(this), userData_, static_cast<LWDualKey>(code)) != 0;
}

void Panel::get(int attribute, void *value) const {
  if (value == nullptr) return;
  switch (attribute) {
    case PAN_X:
      *static_cast<int *>(value) = x_;
      break;
    case PAN_Y:
      *static_cast<int *>(value) = y_;
      break;
    case PAN_W:
      *static_cast<int *>(value) = width_;
      break;
    case PAN_H:
      *static_cast<int *>(value) = height_;
      break;
    case PAN_TITLE:
      *static_cast<const char **>(value) = title_.c_str();
      break;
    case PAN_USERDATA:
      *static_cast<void **>(value) = userData_;
      break;
    default:
      break;
  }
}

void Panel::set(int attribute, void *value) {
  switch (attribute) {
    case PAN_X:
      if (value != nullptr) x_ = *static_cast<int *>(value);
      break;
    case PAN_Y:
      if (value != nullptr) y_ = *static_cast<int *>(value);
      break;
    case PAN_W:
      if (value != nullptr) width_ = *static_cast<int *>(value);
      break;
    case PAN_H:
      if (value != nullptr) height_ = *static_cast<int *>(value);
      break;
    case PAN_USERDATA:
      userData_ = value;
      break;
    case PAN_USEROPEN:
      onOpen_ = reinterpret_cast<LWPanHookFunc *>(value);
      break;
    case PAN_USERCLOSE:
      onClose_ = reinterpret_cast<LWPanHookFunc *>(value);
      break;
    case PAN_USERDRAW:
      onDraw_ = reinterpret_cast<LWPanDrawFunc *>(value);
      break;
    case PAN_USERKEYS:
      onKey_ = reinterpret_cast<LWPanKeyFunc *>(value);
      break;
    case PAN_USERKEYUPS:
      onKeyUp_ = reinterpret_cast<LWPanKeyFunc *>(value);
      break;
    default:
      break;
  }
}

// ---- PanelService ----

// The C entries of the record; they reach the current host's service.
struct PanelServiceCalls {
  static PanelService *service() {
    Host *host = Host::currentOrNull();
    return host != nullptr ? &host->panels() : nullptr;
  }

  static LWPanelID create(const char *title, void *) {
    try {
      PanelService *panels = service();
      if (panels == nullptr) return nullptr;
      panels->panels_.push_back(std::make_unique<Panel>(title != nullptr ? title : ""));
      return reinterpret_cast<LWPanelID>(panels->panels_.back().get());
    } catch (...) {
      return nullptr;
    }
  }

  static void destroy(LWPanelID id) {
    try {
      PanelService *panels = service();
      Panel *panel = PanelService::from(id);
      if (panels == nullptr || panel == nullptr) return;
      panel->closeNow();
      auto &all = panels->panels_;
      all.erase(std::remove_if(all.begin(), all.end(), [panel](const auto &p) { return p.get() == panel; }), all.end());
    } catch (...) {
    }
  }

  static int open(LWPanelID id, int flags) {
    try {
      PanelService *panels = service();
      Panel *panel = PanelService::from(id);
      return panels != nullptr && panel != nullptr ? panels->open(*panel, flags) : 0;
    } catch (...) {
      return 0;
    }
  }

  static int handle(LWPanelID id, int) {
    const Panel *panel = PanelService::from(id);
    return panel != nullptr && panel->isOpen() ? 0 : -1;
  }

  static void draw(LWPanelID, LWDrawMode) {}

  static void close(LWPanelID id) {
    try {
      if (Panel *panel = PanelService::from(id)) panel->closeNow();
    } catch (...) {
    }
  }

  static void get(LWPanelID id, LWPanelTag attribute, void *value) {
    if (const Panel *panel = PanelService::from(id)) panel->get(attribute, value);
  }

  static void set(LWPanelID id, LWPanelTag attribute, void *value) {
    if (Panel *panel = PanelService::from(id)) panel->set(attribute, value);
  }

  static LWControl *addControl(LWPanelID id, const char *typeName, LWPanControlDesc *desc, const char *label) {
    try {
      Panel *panel = PanelService::from(id);
      if (panel == nullptr || typeName == nullptr || desc == nullptr) return nullptr;
      Control *control = panel->addControl(typeName, *desc, label != nullptr ? label : "");
      return control != nullptr ? control->record() : nullptr;
    } catch (...) {
      return nullptr;
    }
  }

  static LWControl *nextControl(LWPanelID id, LWControlID previous) {
    const Panel *panel = PanelService::from(id);
    if (panel == nullptr) return nullptr;
    const int next = previous == nullptr ? 1 : Control::from(previous)->index() + 1;
    Control *control = panel->findControl(next);
    return control != nullptr ? control->record() : nullptr;
  }
};

PanelService::PanelService()
    : record_{.create = PanelServiceCalls::create,
              .destroy = PanelServiceCalls::destroy,
              .open = PanelServiceCalls::open,
              .handle = PanelServiceCalls::handle,
              .draw = PanelServiceCalls::draw,
              .close = PanelServiceCalls::close,
              .get = PanelServiceCalls::get,
              .set = PanelServiceCalls::set,
              .addControl = PanelServiceCalls::addControl,
              .nextControl = PanelServiceCalls::nextControl,
              .drawFuncs = nullptr,
              .user_data = nullptr,
              .globalFun = nullptr,
              .destroyControl = LWSIM_UNSUPPORTED(LWPanelFuncs, destroyControl),
              .setParent = LWSIM_UNSUPPORTED(LWPanelFuncs, setParent),
              .getRaster = LWSIM_UNSUPPORTED(LWPanelFuncs, getRaster)} {}

Panel *PanelService::from(LWPanelID panel) { return reinterpret_cast<Panel *>(panel); }

Panel *PanelService::openPanel() const {
  Panel *latest = nullptr;
  for (const auto &panel : panels_)
    if (panel->isOpen() && (latest == nullptr || panel->openSerial() > latest->openSerial())) latest = panel.get();
  return latest;
}

int PanelService::open(Panel &panel, int flags) {
  if (refuseOpen_) return 0;
  if (panel.isOpen()) {
    panel.raise(++openSerial_);  // an open panel comes to the front
    return 1;
  }
  panel.markOpen(flags, ++openSerial_);
  if ((flags & PANF_BLOCKING) != 0) {
    if (blockingLoop_) blockingLoop_(panel);
    panel.closeNow();
  }
  return 1;
}

int PanelService::labelWidth(const std::string &label) {
  int characters = 0;
  for (const unsigned char byte : label)
    if ((byte & 0xC0) != 0x80) ++characters;
  return characters * kCharacterWidth;
}

}  // namespace lwsim
