#include "message_service.h"

#include <optional>
#include <string>
#include <type_traits>

#include "../../plugin/platform/ui/message_box.h"
#include "../host.h"
#include "c_entry.h"
#include "unsupported_call.h"

namespace lwsim {

namespace {

std::optional<std::string> optionalText(const char *text) {
  return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

void errorBox(const char *first, const char *second) {
  try {
    if (Host *host = Host::currentOrNull())
      host->transcript().error(first != nullptr ? first : "", optionalText(second));
  } catch (...) {
  }
}

// Information and warning boxes show as message boxes titled by their kind.
void titledBox(const char *title, const char *first, const char *second) {
  try {
    std::string text = first != nullptr ? first : "";
    if (second != nullptr) text += std::string(" | ") + second;
    if (Host *host = Host::currentOrNull()) host->transcript().message(title, text);
  } catch (...) {
  }
}

void infoBox(const char *first, const char *second) { titledBox("Info", first, second); }
void warningBox(const char *first, const char *second) { titledBox("Warning", first, second); }

}  // namespace

MessageService::MessageService()
    : record_{.info = infoBox,
              .error = errorBox,
              .warning = warningBox,
              .okCancel = LWSIM_UNSUPPORTED(LWMessageFuncs, okCancel),
              .yesNo = LWSIM_UNSUPPORTED(LWMessageFuncs, yesNo),
              .yesNoCan = LWSIM_UNSUPPORTED(LWMessageFuncs, yesNoCan),
              .yesNoAll = LWSIM_UNSUPPORTED(LWMessageFuncs, yesNoAll),
              .askName = LWSIM_UNSUPPORTED(LWMessageFuncs, askName)} {}

}  // namespace lwsim

static_assert(std::is_same_v<decltype(&lwpShowMessageBox), lwp::platform::MessageBoxEntry>);

#if defined(_WIN32)
#define LWSIM_PROGRAM_EXPORT __declspec(dllexport)
#else
#define LWSIM_PROGRAM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LWSIM_PROGRAM_EXPORT void lwpShowMessageBox(const char *title, const char *text) {
  lwsim::hostEntry([&] {
    if (lwsim::Host *host = lwsim::Host::currentOrNull())
      host->transcript().message(title != nullptr ? title : "", text != nullptr ? text : "");
  });
}
