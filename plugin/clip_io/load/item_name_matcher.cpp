#include "item_name_matcher.h"

#include "../../common/files/path_text.h"
#include "../../common/globals/clip_globals.h"

namespace lwp::akio {

namespace {

constexpr char kSeparator = '/';

// The text the mode works with: what is put in front, behind, searched for
// or matched.
std::string firstText(const ZaduDuzAVOptions &options) {
  switch (options.nameConvertMode) {
    case kPrefix:
      return options.namePrefix;
    case kSuffix:
      return options.nameSuffix;
    case kReplace:
      return options.replaceFrom;
    case kRegularExpression:
      return options.regexPattern;
    default:
      return {};
  }
}

// The replacement or format of the two replacing modes.
std::string secondText(const ZaduDuzAVOptions &options) {
  switch (options.nameConvertMode) {
    case kReplace:
      return options.replaceTo;
    case kRegularExpression:
      return options.regexReplace;
    default:
      return {};
  }
}

std::string itemName(LWItemID item) {
  const LWItemInfo *items = CClipGlobals::instance().itemInfo();
  return items != nullptr ? itemNameWith(*items, item) : std::string();
}

}  // namespace

// Only the clip's side is converted; scene items are compared by their own
// names and paths. A clip recorded on the left side of a rig thus drives the
// right side with the panel's defaults, and Prefix and Suffix rename the
// clip's items onto the scene's.
ItemNameMatcher::ItemNameMatcher(const ZaduDuzAVOptions &options)
    : mode_(options.nameConvertMode),
      textA_(firstText(options)),
      textB_(secondText(options)),
      pattern_(mode_ == kRegularExpression ? textA_ : std::string(), std::regex::ECMAScript),
      useFullPath_(options.checkFullPath != 0 ? 1 : 0) {}

void ItemNameMatcher::setItems(const ItemList &targets) {
  items_ = targets;
  itemNameKeys_.clear();
  itemPathKeys_.clear();
  itemNameKeys_.reserve(items_.size());
  itemPathKeys_.reserve(items_.size());
  for (const LWItemID item : items_) {
    itemNameKeys_.push_back(itemName(item));
    itemPathKeys_.push_back(itemPathKey(item));
  }
}

LWItemID ItemNameMatcher::findItem(const std::string &clipKey) const {
  const std::string key = useFullPath_ != 0 ? convertPath(clipKey) : convertName(clipKey);
  const std::vector<std::string> &keys = useFullPath_ != 0 ? itemPathKeys_ : itemNameKeys_;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return items_[i];
  }
  return nullptr;
}

std::string ItemNameMatcher::convertName(const std::string &name) const {
  switch (mode_) {
    case kPrefix:
      return textA_ + name;
    case kSuffix:
      return name + textA_;
    case kReplace:
      return replaceAll(name, textA_, textB_);
    case kRegularExpression:
      return std::regex_replace(name, pattern_, textB_);
    default:
      return name;
  }
}

std::string ItemNameMatcher::convertPath(const std::string &path) const {
  std::size_t separator = path.find(kSeparator);
  if (separator == std::string::npos) return convertName(path);
  std::string converted;
  while (separator != std::string::npos) {
    const std::size_t start = separator + 1;
    separator = path.find(kSeparator, start);
    const std::size_t length = separator == std::string::npos ? std::string::npos : separator - start;
    converted += kSeparator;
    converted += convertName(path.substr(start, length));
  }
  return converted;
}

std::string ItemNameMatcher::itemPathKey(LWItemID item) const {
  const LWItemInfo *items = CClipGlobals::instance().itemInfo();
  return items != nullptr ? itemPathWith(*items, item) : std::string();
}

}  // namespace lwp::akio
