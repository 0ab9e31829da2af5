#include "script_words.h"

namespace lwsim {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<std::vector<std::string>> splitWords(const std::string &text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isBlank(text[i])) {
      ++i;
      continue;
    }
    std::string word;
    if (text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        word += text[i++];
      }
      if (!closed) return std::nullopt;
    } else {
      while (i < text.size() && !isBlank(text[i])) word += text[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string quoteWord(const std::string &word) {
  const bool plain = !word.empty() && word.find_first_of(" \t\"") == std::string::npos;
  if (plain) return word;
  std::string quoted = "\"";
  for (const char c : word) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace lwsim
