// Reading command arguments the way Layout does: numbers in the "C" notation
// whatever the process's locale, separated by blanks; ids in hexadecimal
// with 0x or in decimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lwsim {

// Exactly `count` numbers, or nothing when there are more, fewer or a word
// that is not a number.
std::optional<std::vector<double>> parseNumbers(const std::string &argument, std::size_t count);
std::optional<double> parseNumber(const std::string &word);  // finite only
std::optional<long long> parseInteger(const std::string &word);
// "0x10000001" or "268435457".
std::optional<std::uint64_t> parseId(const std::string &word);

// The number a text starts with, after leading blanks; 0 without one.
double leadingNumber(const std::string &text);

std::vector<std::string> blankSeparated(const std::string &text);

}  // namespace lwsim
