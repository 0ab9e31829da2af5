#include "key_items.h"

#include <optional>
#include <unordered_set>

#include "../commands/key_commands.h"
#include "../globals/host_globals.h"
#include "../text/text_format.h"
#include "unique_items.h"

namespace lwp {

namespace {

ItemList selectionKS() {
  ItemList result;
  result.reserve(kItemListReserve);
  const LWInterfaceInfo *interface = CHostGlobals::instance().refetchInterfaceInfo();
  if (interface == nullptr || interface->selItems == nullptr) return result;
  for (const LWItemID *selected = interface->selItems; *selected != nullptr; ++selected) result.push_back(*selected);
  return result;
}

// Every descendant of each selected item, breadth-first; an item already
// reached from an earlier selected item is not walked again.
ItemList descendantsOf(const LWItemInfo &info, const ItemList &selection) {
  ItemList descendants;
  descendants.reserve(kItemListReserve);
  std::unordered_set<LWItemID> reached;
  for (LWItemID selected : selection) {
    if (reached.count(selected) != 0) continue;
    const std::size_t first = descendants.size();
    std::size_t next = first;
    appendChildren(info, selected, descendants);
    while (next < descendants.size()) appendChildren(info, descendants[next++], descendants);
    reached.insert(descendants.begin() + static_cast<std::ptrdiff_t>(first), descendants.end());
  }
  return descendants;
}

void selectAndRefetch(const ItemList &items) {
  for (std::size_t i = 0; i < items.size(); ++i)
    issueCommand(formatGrowing(i == 0 ? "SelectItem 0x%x" : "AddToSelection 0x%x", idArg(items[i])));
  CHostGlobals::instance().refetchInterfaceInfo();
}

}  // namespace

ItemList targetItemsKS(int mode) {
  const LWItemInfo *info = CHostGlobals::instance().itemInfo();
  if (mode == kTargetSelection) return selectionKS();
  if (info == nullptr) return {};
  if (mode == kTargetWithDescendants) {
    UniqueItems result(selectionKS());
    for (LWItemID descendant : descendantsOf(*info, result.items())) result.add(descendant);
    return result.release();
  }
  ItemList result;
  result.reserve(kItemListReserve);
  appendSceneItems(*info, result);
  return result;
}

std::string getItemName(LWItemID item) {
  const LWItemInfo *info = CHostGlobals::instance().itemInfo();
  return info != nullptr ? itemNameWith(*info, item) : std::string();
}

ItemKind itemKindKS(LWItemID item) {
  const CHostGlobals &globals = CHostGlobals::instance();
  if (globals.itemInfo() == nullptr || globals.objectInfo() == nullptr) return kKindOther;
  return itemKindWith(*globals.itemInfo(), *globals.objectInfo(), item, MeshTest::kKeySetter);
}

void selectItemKS(LWItemID item) {
  if (item != nullptr) selectAndRefetch({item});
}

void selectItemsKS(const ItemList &items) {
  const LWItemInfo *info = CHostGlobals::instance().itemInfo();
  if (info == nullptr) return;
  UniqueItems chosen;
  std::optional<int> referenceType;
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    if (*item == nullptr) continue;
    const int type = info->type(*item);
    if (!referenceType) referenceType = type;
    if (type == referenceType) chosen.add(*item);
  }
  if (!chosen.items().empty()) selectAndRefetch(chosen.items());
}

}  // namespace lwp
