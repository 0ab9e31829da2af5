#include "master_marks.h"

namespace lwp::cks {

void MasterMarks::markGroup(int group, std::span<const LWItemID> selection) {
  if (group < 0 || group >= kGroupCount || group == lastGroup_) return;
  lastGroup_ = group;
  mark(group, selection);
  hasMarks_ = true;
}

void MasterMarks::markAllGroups(std::span<const LWItemID> selection) {
  lastGroup_ = kNoGroup;
  for (int group = 0; group < kGroupCount; ++group) mark(group, selection);
  hasMarks_ = true;
}

void MasterMarks::timeChanged() {
  clear();
  lastGroup_ = kNoGroup;
}

void MasterMarks::selectionChanged() { lastGroup_ = kNoGroup; }

void MasterMarks::reset() {
  clear();
  lastGroup_ = kNoGroup;
  resetSeen_ = true;
}

void MasterMarks::answer(MarkReply &reply) const {
  reply.masks.clear();
  if (resetSeen_) reply.resetSeen = 1;
  if (!hasMarks_) return;
  for (int group = 0; group < kGroupCount; ++group)
    for (const auto &entry : marks_[group]) reply.masks[entry.first] |= groupMask(group);
}

void MasterMarks::mark(int group, std::span<const LWItemID> selection) {
  for (LWItemID item : selection) marks_[group][item] = 1;
}

void MasterMarks::clear() {
  if (!hasMarks_) return;
  for (auto &group : marks_) group.clear();
  hasMarks_ = false;
}

}  // namespace lwp::cks
