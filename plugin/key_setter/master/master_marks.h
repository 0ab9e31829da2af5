// What the master remembers between resets: which motion groups of which
// items the user has posed, and the group of the last posing command.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>

#include "../../host/lwtypes.h"
#include "ring_records.h"

namespace lwp::cks {

class MasterMarks {
 public:
  // lastGroup() when no posing command has come since the last re-arming.
  static constexpr int kNoGroup = 3;

  // A posing command of a motion group (0 position, 1 rotation, 2 scale):
  // marks the selection in that group unless the last command was of the
  // same group.
  void markGroup(int group, std::span<const LWItemID> selection);
  // Layout's "Reset" command: marks the selection in all three groups.
  void markAllGroups(std::span<const LWItemID> selection);
  // The current time moved: the poses are gone.
  void timeChanged();
  // The selection changed: the next posing command marks again, whatever
  // its group.
  void selectionChanged();
  // The panel's reset message.
  void reset();

  // Empties the reply's masks and fills them from the marks; raises the
  // reply's resetSeen when a reset has come.
  void answer(MarkReply &reply) const;

  int lastGroup() const { return lastGroup_; }
  bool resetSeen() const { return resetSeen_; }

 private:
  static constexpr int kGroupCount = 3;

  void mark(int group, std::span<const LWItemID> selection);
  void clear();

  bool resetSeen_ = false;
  int lastGroup_ = kNoGroup;
  bool hasMarks_ = false;
  // Items touched per group; the value is always 1, only the keys count.
  std::array<std::map<LWItemID, std::uint32_t>, kGroupCount> marks_;
};

}  // namespace lwp::cks
