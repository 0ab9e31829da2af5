// What the clip save and load panels share: the host panel made once per
// process, the open state, the options record and remembered file names,
// control placement, the file dialog and the reporting of failed runs.
#pragma once

#include <string>

#include "../../common/commands/clip_commands.h"
#include "../../common/commands/entry_guard.h"
#include "../../common/commands/exceptions.h"
#include "../../common/globals/clip_globals.h"
#include "../../common/panels/panel_controls.h"
#include "../../host/lwfilereq.h"
#include "../../host/lwpanel.h"
#include "clip_options.h"

namespace lwp::akio {

// Panel open flag of both clip panels: non-blocking, no host OK/Cancel.
inline constexpr int kClipPanelOpenFlags = PANF_NOBUTT;

// The file dialog's answer.
struct ChosenFile {
  std::string path;  // the directory
  std::string baseName;
  std::string fullName;
};

class ClipPanelHost {
 public:
  explicit ClipPanelHost(ZaduDuzAVOptions initial) : options(std::move(initial)) {}
  virtual ~ClipPanelHost() = default;
  ClipPanelHost(const ClipPanelHost &) = delete;
  ClipPanelHost &operator=(const ClipPanelHost &) = delete;

  std::string title;
  LWPanelID panel = nullptr;
  int opened = 0;  // the host's answer to the last open; 0 once closed
  ZaduDuzAVOptions options;
  std::string lastDirectory;
  std::string lastFileName = "data.xml";

  // Makes the host panel unless it exists, prepares it and opens it
  // non-blocking; the activation's result (2 when the host cannot make or
  // open it).
  int activate(const char *serverName, int width, int height);

 protected:
  // Adds the controls while the panel is made.
  virtual void addControls() {}
  // Runs at every activation, before the panel opens.
  virtual void prepareOpen() {}

  // Places the control's body at column: its left edge is column minus the
  // label width the host reports.
  LWControl *addAtColumn(const char *typeName, LWPanControlDesc desc, const char *label, int column, int row);
  // Places the control's left edge at x.
  LWControl *addAtEdge(const char *typeName, LWPanControlDesc desc, const char *label, int x, int row);
  // The control calls event with this host as its user data.
  void setEvent(LWControl *control, LWCtlEventFunc *event);

  // The host's file dialog, starting from the remembered names; false when
  // it fails or the user cancels, and, with an error line, when an answer
  // fills its buffer and so may have been cut.
  bool askFile(int requestType, const char *dialogTitle, const char *fileType, ChosenFile &chosen) const;

  // Runs a control event's work: nothing it throws reaches the host, and a
  // failure it does not report itself goes to the error line.
  template <class Work>
  static void guardedEvent(Work &&work) noexcept {
    guardEntry(
        0,
        [&] {
          work();
          return 0;
        },
        [](const std::string &text) { errorMsg(text); });
  }

  // Runs work; a clip failure shows the error box (firstLine, the failure's
  // text) and puts the text on the status line. The panel stays open.
  template <class Work>
  static void reportFailures(const char *firstLine, Work &&work) {
    try {
      work();
    } catch (const lw::ex::CBaseEx &failure) {
      if (const LWMessageFuncs *messages = CClipGlobals::instance().messages())
        messages->error(firstLine, failure.message().c_str());
      statusMsg(failure.message());
    }
  }

 private:
  bool build(const char *serverName, int width, int height);
  static void onClose(LWPanelID panel, void *userData) noexcept;
};

}  // namespace lwp::akio
