// Finds the scene item that receives a clip item's keys: among the target
// items, by name or by full path, after the "Item Name Convert" rule.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "../../common/items/item_walk.h"
#include "../panels/clip_options.h"

namespace lwp::akio {

class ItemNameMatcher {
 public:
  // Takes the conversion settings of options. A pattern that does not
  // compile in the regular expression mode throws std::regex_error.
  explicit ItemNameMatcher(const ZaduDuzAVOptions &options);

  // The items to match against, in target order: the earlier wins.
  void setItems(const ItemList &targets);

  // The first target item whose name (or full path, when full paths are
  // compared) equals the converted clip key; null for none.
  LWItemID findItem(const std::string &clipKey) const;

  std::string convertName(const std::string &name) const;
  // Every component after the first "/" converted, each behind a "/".
  std::string convertPath(const std::string &path) const;
  // The item's full path as compared: "/Root/Child/Item".
  std::string itemPathKey(LWItemID item) const;

 private:
  int mode_;
  std::string textA_;
  std::string textB_;
  std::regex pattern_;
  int useFullPath_;
  ItemList items_;
  std::vector<std::string> itemNameKeys_;
  std::vector<std::string> itemPathKeys_;
};

}  // namespace lwp::akio
