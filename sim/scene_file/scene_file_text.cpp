#include "scene_file_text.h"

#include "../commands/command_arguments.h"

namespace lwsim {

namespace {

constexpr const char *kBlanks = " \t";

std::string withoutOuterBlanks(const std::string &text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::pair<std::string, std::string> splitFirstWord(const std::string &text) {
  const std::string line = withoutOuterBlanks(text);
  const std::size_t end = line.find_first_of(kBlanks);
  if (end == std::string::npos) return {line, std::string()};
  return {line.substr(0, end), withoutOuterBlanks(line.substr(end))};
}

SceneFileText::SceneFileText(std::istream &in, std::string fileName) : fileName_(std::move(fileName)) {
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(withoutOuterBlanks(line));
  }
  // A UTF-8 byte order mark before the header is not part of it.
  if (!lines_.empty() && lines_.front().rfind("\xEF\xBB\xBF", 0) == 0) lines_.front().erase(0, 3);
  if (lines_.empty()) lines_.emplace_back();
}

bool SceneFileText::advance() {
  std::size_t next = started_ ? index_ + 1 : 0;
  while (next < lines_.size() && lines_[next].empty()) ++next;
  if (next >= lines_.size()) {
    // The position stays on the last line, which errors at the end name.
    index_ = lines_.size() - 1;
    started_ = true;
    return false;
  }
  index_ = next;
  started_ = true;
  return true;
}

std::string SceneFileText::keyword() const { return splitFirstWord(line()).first; }

std::string SceneFileText::rest() const { return splitFirstWord(line()).second; }

std::vector<std::string> SceneFileText::arguments() const { return blankSeparated(rest()); }

std::string SceneFileText::blockName() const { return withoutOuterBlanks(line().substr(1)); }

void SceneFileText::skipBlock() {
  const int opened = lineNumber();
  const std::string name = blockName();
  for (int depth = 1; depth > 0;) {
    if (!advance()) failAt(opened, "the { " + name + " block is cut off by the end of the file");
    if (opensBlock())
      ++depth;
    else if (closesBlock())
      --depth;
  }
}

void SceneFileText::failAt(int line, const std::string &message) const {
  throw SceneFileError(fileName_ + ":" + std::to_string(line) + ": " + message);
}

double SceneFileText::number(const std::string &word, const std::string &what) const {
  const std::optional<double> value = parseNumber(word);
  if (!value.has_value()) fail("\"" + word + "\" is not a number (" + what + ")");
  return *value;
}

long long SceneFileText::integer(const std::string &word, const std::string &what) const {
  const std::optional<long long> value = parseInteger(word);
  if (!value.has_value()) fail("\"" + word + "\" is not a whole number (" + what + ")");
  return *value;
}

}  // namespace lwsim
