#include "undo_group.h"

#include <utility>

namespace lwp::cks {

CUndoGroup::CUndoGroup(std::uint32_t serial, std::string name) : serial_(serial), name_(std::move(name)) {}

void CUndoGroup::add(std::unique_ptr<CmdHistBase> entry) { entries_.push_back(std::move(entry)); }

}  // namespace lwp::cks
