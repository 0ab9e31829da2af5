// The interface language of one tool unit (key setter, clip save, clip
// load): its label and message tables and its popup lists, in English or
// Japanese as the host's "Locale Info" says at each activation.
#pragma once

#include <cstddef>
#include <vector>

#include "../../host/lwmodule.h"

namespace lwp {

// A null-terminated array of UTF-8 texts.
using ChoiceList = const char *const *;

struct LanguageTables {
  const char *const *labels;
  std::size_t labelCount;
  const char *const *messages;  // null where the unit has none
  std::size_t messageCount;
  std::vector<ChoiceList> choiceLists;  // in the unit's fixed order
};

// True when the low 16 bits of the host's language id name Japanese.
bool hostLanguageIsJapanese(GlobalFunc *lookup);

class LabelUnit {
 public:
  LabelUnit(const LanguageTables &english, const LanguageTables &japanese);

  // Points the tables at the current language and rebuilds the choice list.
  void choose(GlobalFunc *lookup);

  bool japanese() const { return japanese_; }
  const char *label(std::size_t index) const;
  const char *message(std::size_t index) const;
  ChoiceList choices(std::size_t index) const { return choiceLists_.at(index); }
  std::size_t choiceListCount() const { return choiceLists_.size(); }

 private:
  const LanguageTables &englishTables_;
  const LanguageTables &japaneseTables_;
  const LanguageTables *current_;
  bool japanese_ = false;
  std::vector<ChoiceList> choiceLists_;
};

}  // namespace lwp
