// One undo step of the key setter: the entries of one user action, in the
// order they were added.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cmd_hist_base.h"

namespace lwp::cks {

class CUndoGroup {
 public:
  using Entries = std::vector<std::unique_ptr<CmdHistBase>>;

  CUndoGroup(std::uint32_t serial, std::string name);

  std::uint32_t serial() const { return serial_; }
  const std::string &name() const { return name_; }
  const Entries &entries() const { return entries_; }

  // The group owns the entry from now on.
  void add(std::unique_ptr<CmdHistBase> entry);

 private:
  std::uint32_t serial_;
  std::string name_;
  Entries entries_;
};

}  // namespace lwp::cks
