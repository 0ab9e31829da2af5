#include "clip_panel_host.h"

#include <array>
#include <cstring>

#include "../common/server_names.h"
#include "../common/text_format.h"

namespace lwp::akio {

namespace {

constexpr int kNameBufferSize = 512;
using NameBuffer = std::array<char, kNameBufferSize>;

void copyInto(NameBuffer &buffer, const std::string &text) {
  buffer.fill('\0');
  std::strncpy(buffer.data(), text.c_str(), buffer.size() - 1);
}

std::string textOf(NameBuffer &buffer) {
  buffer.back() = '\0';  // whatever the dialog wrote, the text ends here
  return buffer.data();
}

}  // namespace

int intValue(LWControl *control) {
  LWValue value{};
  value.intv.type = LWT_INTEGER;
  control->get(control, CTL_VALUE, &value);
  return value.intv.value;
}

void setIntValue(LWControl *control, int number) {
  LWValue value{};
  value.intv.type = LWT_INTEGER;
  value.intv.value = number;
  control->set(control, CTL_VALUE, &value);
}

void setFloatValue(LWControl *control, double number) {
  LWValue value{};
  value.flt.type = LWT_FLOAT;
  value.flt.value = number;
  control->set(control, CTL_VALUE, &value);
}

std::string textValue(LWControl *control) {
  // Longer than any name or pattern a user types; a longer one is cut.
  std::array<char, 4096> buffer{};
  LWValue value{};
  value.str.type = LWT_STRING;
  value.str.buf = buffer.data();
  value.str.bufLen = static_cast<int>(buffer.size());
  control->get(control, CTL_VALUE, &value);
  buffer.back() = '\0';
  return buffer.data();
}

void setTextValue(LWControl *control, const std::string &text) {
  std::string copy = text;  // the host may write into the buffer it is given
  LWValue value{};
  value.str.type = LWT_STRING;
  value.str.buf = copy.data();
  value.str.bufLen = static_cast<int>(copy.size() + 1);
  control->set(control, CTL_VALUE, &value);
}

void drawControl(LWControl *control, int mode) { control->draw(control, mode); }

int ClipPanelHost::activate(const char *serverName, int width, int height) {
  if (!build(serverName, width, height)) return AFUNC_BADGLOBAL;
  prepareOpen();
  opened = CClipGlobals::instance().panels()->open(panel, kClipPanelOpenFlags);
  return opened != 0 ? AFUNC_OK : AFUNC_BADGLOBAL;
}

bool ClipPanelHost::build(const char *serverName, int width, int height) {
  if (panel != nullptr) return true;
  LWPanelFuncs *panels = CClipGlobals::instance().panels();
  if (title.empty()) title = formatBounded(kTitleFormat, serverName, 1, 50, kBuildSuffix);
  panel = panels->create(title.c_str(), nullptr);
  if (panel == nullptr) return false;
  try {
    addControls();
  } catch (...) {
    // A half-made panel is never shown; the next activation starts again.
    panels->destroy(panel);
    panel = nullptr;
    throw;
  }
  panels->set(panel, PAN_USERDATA, this);
  panels->set(panel, PAN_USERCLOSE, reinterpret_cast<void *>(onClose));
  panels->set(panel, PAN_W, &width);
  panels->set(panel, PAN_H, &height);
  return true;
}

LWControl *ClipPanelHost::place(LWControl *control, int x, int row) {
  if (control == nullptr) throw lw::ex::CBaseEx("The host could not add a control to the panel.");
  LWValue value{};
  value.intv.type = LWT_INTEGER;
  value.intv.value = x;
  control->set(control, CTL_X, &value);
  value.intv.value = row;
  control->set(control, CTL_Y, &value);
  return control;
}

LWControl *ClipPanelHost::addAtColumn(const char *typeName, LWPanControlDesc desc, const char *label, int column,
                                      int row) {
  LWControl *control = CClipGlobals::instance().panels()->addControl(panel, typeName, &desc, label);
  LWValue width{};
  width.intv.type = LWT_INTEGER;
  if (control != nullptr) control->get(control, CTL_LABELWIDTH, &width);
  return place(control, column - width.intv.value, row);
}

LWControl *ClipPanelHost::addAtEdge(const char *typeName, LWPanControlDesc desc, const char *label, int x, int row) {
  return place(CClipGlobals::instance().panels()->addControl(panel, typeName, &desc, label), x, row);
}

void ClipPanelHost::setEvent(LWControl *control, LWCtlEventFunc *event) {
  LWValue value{};
  value.ptr.type = LWT_NULL;
  value.ptr.ptr = this;
  control->set(control, CTL_USERDATA, &value);
  value.ptr.ptr = reinterpret_cast<void *>(event);
  control->set(control, CTL_USEREVENT, &value);
}

bool ClipPanelHost::askFile(int requestType, const char *dialogTitle, const char *fileType, ChosenFile &chosen) const {
  LWFileActivateFunc *dialog = CClipGlobals::instance().fileRequester();
  if (dialog == nullptr) return false;
  NameBuffer path{};
  NameBuffer baseName{};
  NameBuffer fullName{};
  copyInto(path, lastDirectory);
  copyInto(baseName, lastFileName);
  LWFileReqLocal request{};
  request.reqType = requestType;
  request.title = dialogTitle;
  request.fileType = fileType;
  request.path = path.data();
  request.baseName = baseName.data();
  request.fullName = fullName.data();
  request.bufLen = kNameBufferSize;
  if (dialog(LWFILEREQ_VERSION, &request) != AFUNC_OK || request.result <= 0) return false;
  chosen = ChosenFile{textOf(path), textOf(baseName), textOf(fullName)};
  return true;
}

void ClipPanelHost::onClose(LWPanelID, void *userData) noexcept {
  auto *host = static_cast<ClipPanelHost *>(userData);
  host->opened = 0;
  host->options.clearClip();
}

}  // namespace lwp::akio
