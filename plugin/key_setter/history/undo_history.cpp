#include "undo_history.h"

#include <utility>

#include "../../common/commands/entry_guard.h"
#include "../../common/commands/key_commands.h"

namespace lwp::cks {

// Room for every group the stacks can hold, so that moving a group between
// them never allocates and cannot fail half-way.
CUndoHistory::CUndoHistory() {
  undoStack_.reserve(kUndoLimit + 1);
  redoStack_.reserve(kUndoLimit + 1);
}

CUndoHistory::~CUndoHistory() { clear(); }

void CUndoHistory::clear() noexcept {
  open_.reset();
  undoStack_.clear();
  redoStack_.clear();
}

void CUndoHistory::begin(const std::string &name) {
  redoStack_.clear();
  open_.reset();
  open_ = std::make_unique<CUndoGroup>(nextSerial_, name);
  ++nextSerial_;
}

bool CUndoHistory::add(std::unique_ptr<CmdHistBase> entry) {
  if (!open_) return false;
  open_->add(std::move(entry));
  return true;
}

void CUndoHistory::commit() noexcept {
  if (!open_) return;
  std::unique_ptr<CUndoGroup> group = std::move(open_);
  runPass(*group, PassKind::Do);
  undoStack_.push_back(std::move(group));
  dropOldestBeyondLimit();
}

void CUndoHistory::undo() noexcept {
  moveNewest(undoStack_, redoStack_, PassKind::Undo);
  afterMove();
}

void CUndoHistory::redo() noexcept {
  moveNewest(redoStack_, undoStack_, PassKind::Redo);
  afterMove();
}

const CUndoGroup *CUndoHistory::nextUndo() const { return undoStack_.empty() ? nullptr : undoStack_.back().get(); }

const CUndoGroup *CUndoHistory::nextRedo() const { return redoStack_.empty() ? nullptr : redoStack_.back().get(); }

void CUndoHistory::moveNewest(Stack &from, Stack &to, PassKind kind) noexcept {
  if (from.empty()) return;
  std::unique_ptr<CUndoGroup> group = std::move(from.back());
  from.pop_back();
  runPass(*group, kind);
  to.push_back(std::move(group));
}

void CUndoHistory::dropOldestBeyondLimit() noexcept {
  if (undoStack_.size() <= kUndoLimit) return;
  const auto excess = static_cast<Stack::difference_type>(undoStack_.size() - kUndoLimit);
  undoStack_.erase(undoStack_.begin(), undoStack_.begin() + excess);
}

void CUndoHistory::afterMove() noexcept {
  guardEntry(
      false,
      [] {
        issueCommand("RefreshNow");
        return true;
      },
      keyErrorMsg);
  if (!listener_) return;
  guardEntry(
      false,
      [this] {
        listener_(canUndo(), canRedo());
        return true;
      },
      keyErrorMsg);
}

CUndoHistory &undoHistory() {
  static CUndoHistory history;
  return history;
}

}  // namespace lwp::cks
