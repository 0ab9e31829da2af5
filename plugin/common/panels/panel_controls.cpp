#include "panel_controls.h"

#include <array>
#include <cstring>

#include "../commands/exceptions.h"

namespace lwp {

namespace {

// Room for any text a user types into a field, names and patterns included;
// a longer one is cut.
constexpr int kTextBufferSize = 4096;

// A "PopupControl" reads its width in pixels from the member in which the
// other choice controls take their orientation.
constexpr int kPopupWidth = 200;

// The host reads as much of a descriptor as the control's kind needs, so
// every byte of it starts as zero.
LWPanControlDesc blankDesc(int type) {
  LWPanControlDesc desc;
  std::memset(&desc, 0, sizeof desc);
  desc.type = type;
  return desc;
}

// The host writes as much of a value as the control's kind holds.
LWValue blankValue(int type) {
  LWValue value;
  std::memset(&value, 0, sizeof value);
  value.type = type;
  return value;
}

LWControl *place(LWControl *control, int x, int y) {
  if (control == nullptr) throw lw::ex::CBaseEx("The host could not add a control to the panel.");
  LWValue value = blankValue(LWT_INTEGER);
  value.intv.value = x;
  control->set(control, CTL_X, &value);
  value.intv.value = y;
  control->set(control, CTL_Y, &value);
  return control;
}

}  // namespace

LWPanControlDesc areaDesc(int width, int height) {
  LWPanControlDesc desc = blankDesc(LWT_AREA);
  desc.area.width = width;
  desc.area.height = height;
  return desc;
}

LWPanControlDesc popupDesc(ChoiceList items) {
  LWPanControlDesc desc = blankDesc(LWT_CHOICE);
  desc.choice.items = const_cast<const char **>(items);
  desc.choice.vertical = kPopupWidth;
  return desc;
}

LWPanControlDesc textDesc(int characters) {
  LWPanControlDesc desc = blankDesc(LWT_STRING);
  desc.string.width = characters;
  return desc;
}

LWPanControlDesc numberDesc(int type) { return blankDesc(type); }

LWPanControlDesc textLinesDesc(const char **lines) {
  LWPanControlDesc desc = blankDesc(LWT_TEXT);
  desc.text.text = lines;
  return desc;
}

int intValue(LWControl *control) {
  LWValue value = blankValue(LWT_INTEGER);
  control->get(control, CTL_VALUE, &value);
  return value.intv.value;
}

void setIntValue(LWControl *control, int number) {
  LWValue value = blankValue(LWT_INTEGER);
  value.intv.value = number;
  control->set(control, CTL_VALUE, &value);
}

double floatValue(LWControl *control) {
  LWValue value = blankValue(LWT_FLOAT);
  control->get(control, CTL_VALUE, &value);
  return value.flt.value;
}

void setFloatValue(LWControl *control, double number) {
  LWValue value = blankValue(LWT_FLOAT);
  value.flt.value = number;
  control->set(control, CTL_VALUE, &value);
}

std::string textValue(LWControl *control) {
  std::array<char, kTextBufferSize> buffer{};
  LWValue value = blankValue(LWT_STRING);
  value.str.buf = buffer.data();
  value.str.bufLen = static_cast<int>(buffer.size());
  control->get(control, CTL_VALUE, &value);
  buffer.back() = '\0';  // whatever the host wrote, the text ends here
  return buffer.data();
}

void setTextValue(LWControl *control, const std::string &text) {
  std::string copy = text;  // the host takes a writable buffer
  LWValue value = blankValue(LWT_STRING);
  value.str.buf = copy.data();
  value.str.bufLen = static_cast<int>(copy.size() + 1);
  control->set(control, CTL_VALUE, &value);
}

int controlAttribute(LWControl *control, int attribute) {
  LWValue value = blankValue(LWT_INTEGER);
  control->get(control, attribute, &value);
  return value.intv.value;
}

int controlRight(LWControl *control) {
  return controlAttribute(control, CTL_X) + controlAttribute(control, CTL_LABELWIDTH) +
         controlAttribute(control, CTL_W);
}

LWControl *addControlAt(LWPanelFuncs &panels, LWPanelID panel, const char *typeName, LWPanControlDesc desc,
                        const char *label, int x, int y) {
  return place(panels.addControl(panel, typeName, &desc, label), x, y);
}

LWControl *addControlAtColumn(LWPanelFuncs &panels, LWPanelID panel, const char *typeName, LWPanControlDesc desc,
                              const char *label, int column, int y) {
  LWControl *control = panels.addControl(panel, typeName, &desc, label);
  const int labelWidth = control != nullptr ? controlAttribute(control, CTL_LABELWIDTH) : 0;
  return place(control, column - labelWidth, y);
}

void setControlEvent(LWControl *control, LWCtlEventFunc *event, void *userData) {
  LWValue value = blankValue(LWT_NULL);
  value.ptr.ptr = userData;
  control->set(control, CTL_USERDATA, &value);
  value.ptr.ptr = reinterpret_cast<void *>(event);
  control->set(control, CTL_USEREVENT, &value);
}

void enableControl(LWControl *control, bool enabled) { control->draw(control, enabled ? DR_RENDER : DR_GHOST); }

void showControl(LWControl *control, bool shown) { control->draw(control, shown ? DR_RENDER : DR_ERASE); }

}  // namespace lwp
