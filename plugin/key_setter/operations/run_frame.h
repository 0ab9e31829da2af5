// The frame around every key-setter run: the selection is kept, the work
// goes into one undo group, and nothing the work throws leaves the run.
#pragma once

#include <functional>
#include <string>

#include "../../common/items/key_items.h"

namespace lwp::cks {

// Reselects, when it goes, the items that were selected when it was made:
// target gathering and Create Key select items one by one.
class SelectionKeeper {
 public:
  SelectionKeeper();
  ~SelectionKeeper();
  SelectionKeeper(const SelectionKeeper &) = delete;
  SelectionKeeper &operator=(const SelectionKeeper &) = delete;

 private:
  ItemList saved_;
};

// Opens the undo group, runs work (with the selection kept when asked) and
// commits the group. Whatever work throws is shown as "Error! TEXT" (a generic text
// for an exception that carries none); the group then stays uncommitted
// and the next run drops it.
void runInGroup(const std::string &groupName, bool keepSelection, const std::function<void()> &work) noexcept;

// Runs work with the selection kept; what it throws is shown as above.
// False when it threw.
bool runGuarded(const std::function<void()> &work) noexcept;

}  // namespace lwp::cks
