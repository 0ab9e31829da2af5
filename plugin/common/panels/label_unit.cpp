#include "label_unit.h"

#include <cstdint>

#include "../../host/lwglobals.h"

namespace lwp {

bool hostLanguageIsJapanese(GlobalFunc *lookup) {
  if (lookup == nullptr) return false;
  const auto id = reinterpret_cast<std::uintptr_t>(lookup(LWLOCALEINFO_GLOBAL, GFUSE_TRANSIENT));
  return (id & LWLOC_LANGID) == LANGID_JAPANESE;
}

LabelUnit::LabelUnit(const LanguageTables &english, const LanguageTables &japanese)
    : englishTables_(english), japaneseTables_(japanese), current_(&english) {}

void LabelUnit::choose(GlobalFunc *lookup) {
  choiceLists_.clear();
  japanese_ = hostLanguageIsJapanese(lookup);
  current_ = japanese_ ? &japaneseTables_ : &englishTables_;
  choiceLists_.insert(choiceLists_.end(), current_->choiceLists.begin(), current_->choiceLists.end());
}

const char *LabelUnit::label(std::size_t index) const {
  return index < current_->labelCount ? current_->labels[index] : "";
}

const char *LabelUnit::message(std::size_t index) const {
  return current_->messages != nullptr && index < current_->messageCount ? current_->messages[index] : "";
}

}  // namespace lwp
