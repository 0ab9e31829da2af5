// One pass of the undo history over a group's entries: each entry that
// still passes its check is done, undone or redone; one that fails is
// reported on the status line and skipped.
#pragma once

#include "undo_group.h"

namespace lwp::cks {

enum class PassKind {
  Do,    // doIt, in the order the entries were added
  Undo,  // undoIt, in reverse order
  Redo,  // redoIt, in the order added
};

// The pass lists the scene's channels once, for every entry's check. An
// exception from an entry is shown as a run error and the pass goes on.
void runPass(const CUndoGroup &group, PassKind kind) noexcept;

}  // namespace lwp::cks
