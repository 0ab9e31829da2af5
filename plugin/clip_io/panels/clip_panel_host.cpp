#include "clip_panel_host.h"

#include <array>
#include <cstring>

#include "../../common/commands/clip_commands.h"
#include "../../common/commands/server_names.h"
#include "../../common/text/text_format.h"
#include "../../platform/text/utf8_text.h"
#include "save_labels.h"

namespace lwp::akio {

namespace {

constexpr int kNameBufferSize = 512;
using NameBuffer = std::array<char, kNameBufferSize>;

// A text too long for the dialog's buffer loses its end, never part of a
// character.
void copyInto(NameBuffer &buffer, const std::string &text) {
  buffer.fill('\0');
  const std::string_view fits = platform::utf8Prefix(text, buffer.size() - 1);
  std::memcpy(buffer.data(), fits.data(), fits.size());
}

std::string textOf(NameBuffer &buffer) {
  buffer.back() = '\0';  // whatever the dialog wrote, the text ends here
  return buffer.data();
}

// An answer that fills its buffer may have been cut by the dialog, and a
// cut path names another file.
bool fills(const NameBuffer &buffer) { return std::strlen(buffer.data()) >= buffer.size() - 1; }

// The path shown in the refusal: its start, as the message has a bounded size.
constexpr std::size_t kShownPathBytes = 400;

}  // namespace

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
  panels->set(panel, PAN_USERCLOSE, panelHook(onClose));
  panels->set(panel, PAN_W, &width);
  panels->set(panel, PAN_H, &height);
  return true;
}

LWControl *ClipPanelHost::addAtColumn(const char *typeName, LWPanControlDesc desc, const char *label, int column,
                                      int row) {
  return addControlAtColumn(*CClipGlobals::instance().panels(), panel, typeName, desc, label, column, row);
}

LWControl *ClipPanelHost::addAtEdge(const char *typeName, LWPanControlDesc desc, const char *label, int x, int row) {
  return addControlAt(*CClipGlobals::instance().panels(), panel, typeName, desc, label, x, row);
}

void ClipPanelHost::setEvent(LWControl *control, LWCtlEventFunc *event) { setControlEvent(control, event, this); }

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
  if (fills(path) || fills(baseName) || fills(fullName)) {
    const std::string &named = requestType == FREQ_DIRECTORY ? chosen.path : chosen.fullName;
    const std::string shown = std::string(platform::utf8Prefix(named, kShownPathBytes)) + "...";
    errorMsg(formatBounded(saveLabels().message(requestType == FREQ_SAVE ? kMsgFailedToSaveFile : kMsgFailedToLoadFile),
                           shown.c_str()));
    return false;
  }
  return true;
}

void ClipPanelHost::onClose(LWPanelID, void *userData) noexcept {
  auto *host = static_cast<ClipPanelHost *>(userData);
  host->opened = 0;
  host->options.clearClip();
}

}  // namespace lwp::akio
