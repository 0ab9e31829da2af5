#include "posing_commands.h"

#include <array>
#include <utility>

namespace lwp::cks {

namespace {

constexpr std::array<std::pair<std::string_view, PosingCommand>, 7> kWatched = {{
    {"Reset", PosingCommand::kReset},
    {"Position", PosingCommand::kPosition},
    {"AddPosition", PosingCommand::kPosition},
    {"Rotation", PosingCommand::kRotation},
    {"AddRotation", PosingCommand::kRotation},
    {"Scale", PosingCommand::kScale},
    {"AddScale", PosingCommand::kScale},
}};

std::string_view firstWord(std::string_view line) { return line.substr(0, line.find(' ')); }

}  // namespace

PosingCommand posingCommandOf(std::string_view line) {
  const std::string_view word = firstWord(line);
  if (word.size() > kLongestCommandWord) return PosingCommand::kNone;
  for (const auto &[name, command] : kWatched)
    if (word == name) return command;
  return PosingCommand::kNone;
}

}  // namespace lwp::cks
