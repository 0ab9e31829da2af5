// Walks of the scene's items through "LW Item Info 9", shared by both tools.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "../../host/lwitem.h"
#include "list_search.h"

namespace lwp {

using ItemList = std::vector<LWItemID>;

// Which items a tool gathers: the selection, the selection with the
// selected items' descendants, or every item of the scene.
enum TargetMode : int { kTargetSelection = 0, kTargetWithDescendants = 1, kTargetAllItems = 2 };

// Room reserved before gathering: item lists, bone lists.
inline constexpr std::size_t kItemListReserve = 128;
inline constexpr std::size_t kBoneListReserve = 64;

// The item's direct children, firstChild then nextChild until 0.
void appendChildren(const LWItemInfo &info, LWItemID parent, ItemList &items);

// An object's bones: first (bone, object), then next until 0.
ItemList bonesWith(const LWItemInfo &info, LWItemID object);

// Objects, each followed directly by its bones, then lights, then cameras.
void appendSceneItems(const LWItemInfo &info, ItemList &items);

// The host's name; a null name is the empty text.
std::string itemNameWith(const LWItemInfo &info, LWItemID item);

// "/Root/Child/Item": one "/" before every name from the root down.
std::string itemPathWith(const LWItemInfo &info, LWItemID item);

}  // namespace lwp
