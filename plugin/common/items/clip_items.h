// The clip tools' view of the scene's items: gathering targets, kinds,
// paths and reselection, through CClipGlobals. A missing interface info
// shows an error line and throws lw::ex::CBaseEx.
#pragma once

#include <string>

#include "item_kind.h"
#include "item_walk.h"

namespace lwp {

// The selection; with kTargetWithDescendants each selected item is followed
// by its subtree. No duplicates.
ItemList selectedItems(int mode);

// The item's children; with kTargetWithDescendants every descendant, depth
// first: a child, its subtree, then the next child. No duplicates.
ItemList childItems(LWItemID item, int mode);

// Objects each followed by their bones, lights, cameras, then the chain the
// host starts at first (bone, 0). Duplicates are kept.
ItemList allItems();

ItemList bonesOf(LWItemID object);
ItemKind itemKind(LWItemID item);
std::string itemPath(LWItemID item);

// Select exactly this item / these items in Layout, then refetch the
// interface info. A list is selected from its last element to its first;
// the empty list takes every selected item out of the selection.
void selectItem(LWItemID item);
void selectItems(const ItemList &items);

// Runs work, then selects again exactly what was selected before it, also
// when work throws.
template <class Work>
void keepingSelection(Work &&work) {
  const ItemList selection = selectedItems(kTargetSelection);
  try {
    work();
  } catch (...) {
    selectItems(selection);
    throw;
  }
  selectItems(selection);
}

}  // namespace lwp
