// The key setter's view of the scene's items, through CHostGlobals: its
// target lists, names, kinds and reselection. Nothing is reported; a host
// service that is missing gives empty results.
#pragma once

#include <string>

#include "item_kind.h"
#include "item_walk.h"

namespace lwp {

// kTargetSelection: the selection as the host lists it.
// kTargetWithDescendants: the selection, then the descendants of the
// selected items breadth-first, each once. Any other mode: objects each
// followed by their bones, lights, cameras.
ItemList targetItemsKS(int mode);

std::string getItemName(LWItemID item);
ItemKind itemKindKS(LWItemID item);

// Selects the item (nothing for 0) and refetches the interface info.
void selectItemKS(LWItemID item);

// Selects the items of the list that share the type of its last non-zero
// element, from the last to the first; items of other types are skipped.
void selectItemsKS(const ItemList &items);

}  // namespace lwp
