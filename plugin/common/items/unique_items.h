// An item list that keeps each item once, in the order first added, and
// answers whether it holds an item in the same time however long it grows.
#pragma once

#include <unordered_set>

#include "item_walk.h"

namespace lwp {

class UniqueItems {
 public:
  UniqueItems() { items_.reserve(kItemListReserve); }
  // Starts from items as they are, repeats included.
  explicit UniqueItems(ItemList items) : items_(std::move(items)), seen_(items_.begin(), items_.end()) {}

  // Appends the item unless the list already holds it; whether it did.
  bool add(LWItemID item) {
    if (!seen_.insert(item).second) return false;
    items_.push_back(item);
    return true;
  }
  bool has(LWItemID item) const { return seen_.count(item) != 0; }
  const ItemList &items() const { return items_; }
  ItemList release() { return std::move(items_); }

 private:
  ItemList items_;
  std::unordered_set<LWItemID> seen_;
};

}  // namespace lwp
