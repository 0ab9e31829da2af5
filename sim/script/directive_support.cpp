#include "directive_support.h"

#include <limits>

#include "../commands/command_arguments.h"
#include "script_words.h"

namespace lwsim {

void requireArguments(const Words &args, std::size_t least, std::size_t most, const char *usage) {
  if (args.size() < least || args.size() > most) throw DirectiveError(std::string("usage: ") + usage);
}

int integerArgument(const std::string &word, const char *what) {
  const bool negative = !word.empty() && word[0] == '-';
  const std::optional<std::uint64_t> magnitude = parseId(negative ? word.substr(1) : word);
  if (!magnitude.has_value() || *magnitude > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
    throw DirectiveError(std::string("bad ") + what + " " + quoteWord(word));
  const int value = static_cast<int>(*magnitude);
  return negative ? -value : value;
}

double numberArgument(const std::string &word, const char *what) {
  const std::optional<double> value = parseNumber(word);
  if (!value.has_value()) throw DirectiveError(std::string("bad ") + what + " " + quoteWord(word));
  return *value;
}

}  // namespace lwsim
