#include "command_arguments.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace lwsim {

namespace {

template <typename T, typename... Base>
std::optional<T> whole(const std::string &word, Base... base) {
  T value{};
  const char *end = word.data() + word.size();
  const char *begin = word.data();
  if (begin != end && *begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value, base...);
  if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::vector<std::string> blankSeparated(const std::string &text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Only finite numbers: "nan" and "inf" would disorder keys and ranges.
std::optional<double> parseNumber(const std::string &word) {
  const std::optional<double> value = whole<double>(word);
  return value.has_value() && std::isfinite(*value) ? value : std::nullopt;
}

std::optional<long long> parseInteger(const std::string &word) { return whole<long long>(word, 10); }

double leadingNumber(const std::string &text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return 0.0;
  const char *begin = text.data() + start + (text[start] == '+' ? 1 : 0);
  double value = 0.0;
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0.0;
}

std::optional<std::uint64_t> parseId(const std::string &word) {
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
    return whole<std::uint64_t>(word.substr(2), 16);
  return whole<std::uint64_t>(word, 10);
}

std::optional<std::vector<double>> parseNumbers(const std::string &argument, std::size_t count) {
  const std::vector<std::string> words = blankSeparated(argument);
  if (words.size() != count) return std::nullopt;
  std::vector<double> numbers;
  for (const std::string &word : words) {
    const std::optional<double> number = parseNumber(word);
    if (!number.has_value()) return std::nullopt;
    numbers.push_back(*number);
  }
  return numbers;
}

}  // namespace lwsim
