// Words of lwsim scripts and output: blank-separated, a word holding blanks
// or quotes written in double quotes with inner quotes doubled.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lwsim {

// Splits a directive's arguments; nullopt when a quote is left open.
std::optional<std::vector<std::string>> splitWords(const std::string &text);

// The word as a script writes it: quoted only where it must be.
std::string quoteWord(const std::string &word);

}  // namespace lwsim
