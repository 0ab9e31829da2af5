#include "undo_pass.h"

#include "../../common/channels/key_channels.h"
#include "../../common/commands/entry_guard.h"
#include "../../common/commands/key_commands.h"

namespace lwp::cks {

namespace {

struct PassStep {
  void (CmdHistBase::*apply)();
  const char *checkFailed;
};

PassStep stepOf(PassKind kind) {
  switch (kind) {
    case PassKind::Undo:
      return {&CmdHistBase::undoIt, "Check failed at undoIt() !"};
    case PassKind::Redo:
      return {&CmdHistBase::redoIt, "Check failed at redoIt()!"};
    case PassKind::Do:
      break;
  }
  return {&CmdHistBase::doIt, "Check failed at doIt()!"};
}

// Keeps the scene's channel list for the pass and drops it on every path.
class ChannelBatchScope {
 public:
  ChannelBatchScope() { beginChannelBatch(); }
  ~ChannelBatchScope() { endChannelBatch(); }
  ChannelBatchScope(const ChannelBatchScope &) = delete;
  ChannelBatchScope &operator=(const ChannelBatchScope &) = delete;
};

void applyEntry(CmdHistBase &entry, const PassStep &step) noexcept {
  guardEntry(
      false,
      [&] {
        if (!entry.check()) {
          keyStatusMsg(step.checkFailed);
          return false;
        }
        (entry.*step.apply)();
        return true;
      },
      keyErrorMsg);
}

}  // namespace

void runPass(const CUndoGroup &group, PassKind kind) noexcept {
  const PassStep step = stepOf(kind);
  const CUndoGroup::Entries &entries = group.entries();
  const ChannelBatchScope batch;
  if (kind == PassKind::Undo) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) applyEntry(**entry, step);
  } else {
    for (const auto &entry : entries) applyEntry(*entry, step);
  }
}

}  // namespace lwp::cks
