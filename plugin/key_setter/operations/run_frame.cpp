#include "run_frame.h"

#include "../../common/commands/entry_guard.h"
#include "../../common/commands/key_commands.h"
#include "../history/undo_history.h"
#include "run_settings.h"

namespace lwp::cks {

SelectionKeeper::SelectionKeeper() : saved_(targetItemsKS(kTargetSelection)) {}

// Also runs while an exception unwinds, so it must not throw itself.
SelectionKeeper::~SelectionKeeper() {
  try {
    selectItemsKS(saved_);
  } catch (...) {
  }
}

bool runGuarded(const std::function<void()> &work) noexcept {
  return guardEntry(
      false,
      [&] {
        const SelectionKeeper keeper;
        work();
        return true;
      },
      keyErrorMsg);
}

void runInGroup(const std::string &groupName, bool keepSelection, const std::function<void()> &work) noexcept {
  guardEntry(
      false,
      [&] {
        undoHistory().begin(groupName);
        if (keepSelection) {
          const SelectionKeeper keeper;
          work();
        } else {
          work();
        }
        undoHistory().commit();
        return true;
      },
      keyErrorMsg);
}

}  // namespace lwp::cks
