// The key setter's own undo history, one per process and shared by its
// panels: groups of entries move between an undo and a redo stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cmd_hist_base.h"
#include "undo_group.h"
#include "undo_pass.h"

namespace lwp::cks {

inline constexpr const char *kRunGroupName = "KeySetter";
inline constexpr const char *kPasteGroupName = "paste";

class CUndoHistory {
 public:
  // The undo stack keeps the newest groups up to this many.
  static constexpr std::size_t kUndoLimit = 24;

  // Told after every undo and redo whether each button has anything to do.
  using ButtonListener = std::function<void(bool canUndo, bool canRedo)>;

  CUndoHistory();
  ~CUndoHistory();
  CUndoHistory(const CUndoHistory &) = delete;
  CUndoHistory &operator=(const CUndoHistory &) = delete;

  // Ends the redo chain and opens a new group with the next serial number.
  // A group still open (its run failed before committing) is dropped.
  void begin(const std::string &name);
  // Hands the entry to the open group. Without one, the entry is dropped
  // and the result is false.
  bool add(std::unique_ptr<CmdHistBase> entry);
  // Does the open group's entries and puts it on the undo stack.
  void commit() noexcept;
  // Move the newest group to the other stack, undoing or redoing it, then
  // refresh Layout and tell the listener; on an empty stack only the last.
  void undo() noexcept;
  void redo() noexcept;

  // Forgets every group, open or on either stack.
  void clear() noexcept;

  bool canUndo() const { return !undoStack_.empty(); }
  bool canRedo() const { return !redoStack_.empty(); }
  void setButtonListener(ButtonListener listener) { listener_ = std::move(listener); }

  const CUndoGroup *openGroup() const { return open_.get(); }
  std::size_t undoDepth() const { return undoStack_.size(); }
  std::size_t redoDepth() const { return redoStack_.size(); }
  // The group an undo or a redo would move next, or null.
  const CUndoGroup *nextUndo() const;
  const CUndoGroup *nextRedo() const;

 private:
  // Oldest first.
  using Stack = std::vector<std::unique_ptr<CUndoGroup>>;

  void moveNewest(Stack &from, Stack &to, PassKind kind) noexcept;
  void dropOldestBeyondLimit() noexcept;
  void afterMove() noexcept;

  std::uint32_t nextSerial_ = 0;
  std::unique_ptr<CUndoGroup> open_;
  Stack undoStack_;
  Stack redoStack_;
  ButtonListener listener_;
};

// The process's history, created on first use and destroyed at unload.
CUndoHistory &undoHistory();

}  // namespace lwp::cks
