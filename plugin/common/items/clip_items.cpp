#include "clip_items.h"

#include <algorithm>

#include "../commands/clip_commands.h"
#include "../globals/clip_globals.h"
#include "../globals/interface_refetch.h"
#include "../text/text_format.h"
#include "unique_items.h"

namespace lwp {

namespace {

const LWItemInfo &items() { return *CClipGlobals::instance().itemInfo(); }

}  // namespace

ItemList selectedItems(int mode) {
  const LWInterfaceInfo *interface = refetchInterfaceInfoChecked();
  UniqueItems result;
  for (const LWItemID *selected = interface->selItems; selected != nullptr && *selected != nullptr; ++selected) {
    // A selected item already gathered below an earlier one brings nothing new.
    const bool reached = !result.add(*selected);
    if (mode != kTargetWithDescendants || reached) continue;
    for (LWItemID descendant : childItems(*selected, kTargetWithDescendants)) result.add(descendant);
  }
  return result.release();
}

ItemList childItems(LWItemID item, int mode) {
  const LWItemInfo &info = items();
  UniqueItems result;
  // Pending children, the next one on top: a pre-order walk without
  // recursion, however deep the hierarchy.
  ItemList pending;
  const auto pushChildrenOf = [&](LWItemID parent) {
    const std::size_t from = pending.size();
    appendChildren(info, parent, pending);
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(from), pending.end());
  };
  pushChildrenOf(item);
  while (!pending.empty()) {
    const LWItemID child = pending.back();
    pending.pop_back();
    result.add(child);
    if (mode == kTargetWithDescendants) pushChildrenOf(child);
  }
  return result.release();
}

ItemList allItems() {
  const LWItemInfo &info = items();
  ItemList result;
  result.reserve(kItemListReserve);
  appendSceneItems(info, result);
  for (LWItemID bone = info.first(LWI_BONE, nullptr); bone != nullptr; bone = info.next(bone)) result.push_back(bone);
  return result;
}

ItemList bonesOf(LWItemID object) { return bonesWith(items(), object); }

ItemKind itemKind(LWItemID item) {
  return itemKindWith(items(), *CClipGlobals::instance().objectInfo(), item, MeshTest::kClip);
}

std::string itemPath(LWItemID item) { return itemPathWith(items(), item); }

void selectItem(LWItemID item) {
  evalFormat("SelectItem 0x%x", idArg(item));
  refetchInterfaceInfoChecked();
}

void selectItems(const ItemList &list) {
  if (list.empty()) {
    for (LWItemID selected : selectedItems(kTargetSelection)) evalFormat("RemoveFromSelection 0x%x", idArg(selected));
  }
  for (std::size_t i = 0; i < list.size(); ++i)
    evalFormat("%s 0x%x", i == 0 ? "SelectItem" : "AddToSelection", idArg(list[list.size() - 1 - i]));
  refetchInterfaceInfoChecked();
}

}  // namespace lwp
