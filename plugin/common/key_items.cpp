#include "key_items.h"

#include <optional>

#include "host_globals.h"
#include "key_commands.h"
#include "text_format.h"

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
  for (LWItemID selected : selection) {
    if (contains(descendants, selected)) continue;
    std::size_t next = descendants.size();
    appendChildren(info, selected, descendants);
    while (next < descendants.size()) appendChildren(info, descendants[next++], descendants);
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
    ItemList result = selectionKS();
    for (LWItemID descendant : descendantsOf(*info, result)) appendUnique(result, descendant);
    return result;
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
  ItemList chosen;
  std::optional<int> referenceType;
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    if (*item == nullptr) continue;
    const int type = info->type(*item);
    if (!referenceType) referenceType = type;
    if (type == referenceType) appendUnique(chosen, *item);
  }
  if (!chosen.empty()) selectAndRefetch(chosen);
}

}  // namespace lwp
