#include "run_behavior.h"

#include <memory>

#include "../../host/lwenvelope.h"
#include "../history/cmd_hist_fc_behave.h"
#include "../history/undo_history.h"

namespace lwp::cks {

std::uint32_t behaviorCodeOf(int popupIndex) {
  if (popupIndex < 1 || popupIndex > BEH_LINEAR + 1) return kBehaviorUnchanged;
  return static_cast<std::uint32_t>(popupIndex - 1);
}

void addBehaviorEntries(const RunSettings &settings, const GatheredChannels &channels) {
  if (!settings.extraOpen || !settings.behavior) return;
  const std::uint32_t pre = behaviorCodeOf(settings.preIndex);
  const std::uint32_t post = behaviorCodeOf(settings.postIndex);
  if (pre == kBehaviorUnchanged && post == kBehaviorUnchanged) return;
  for (const GatheredChannel &gathered : channels)
    undoHistory().add(std::make_unique<CmdHistFcBehave>(gathered.channel, pre, post));
}

}  // namespace lwp::cks
