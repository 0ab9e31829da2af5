#include "run_targets.h"

#include "../../common/commands/key_commands.h"
#include "../../common/items/item_kind.h"
#include "../../common/items/key_items.h"

namespace lwp::cks {

namespace {

void prepareDissolve(const ItemList &items) {
  for (LWItemID item : items) {
    if (itemKindKS(item) != kKindMesh) continue;
    selectItemKS(item);
    issueCommand("AddEnvelope Dissolve");
  }
}

TargetItems sceneTargets(const RunSettings &settings) {
  const ItemList items = targetItemsKS(settings.scope);
  if (settings.kinds[kKindMesh] && settings.dissolve) prepareDissolve(items);
  TargetItems targets;
  for (LWItemID item : items)
    if (kindEnabled(settings, item)) targets.push_back({item, kAllChannelsMask, {}});
  return targets;
}

TargetItems clipSetTargets(const RunSettings &settings) {
  TargetItems targets;
  for (auto &[item, recorded] : askClipSetChannels())
    if (kindEnabled(settings, item)) targets.push_back({item, recorded.mask, std::move(recorded.channels)});
  return targets;
}

}  // namespace

bool kindEnabled(const RunSettings &settings, LWItemID item) {
  const ItemKind kind = itemKindKS(item);
  return kind >= kKindNull && static_cast<std::size_t>(kind) < settings.kinds.size() &&
         settings.kinds[static_cast<std::size_t>(kind)];
}

TargetItems gatherTargets(const RunSettings &settings) {
  return settings.poseClip ? clipSetTargets(settings) : sceneTargets(settings);
}

}  // namespace lwp::cks
