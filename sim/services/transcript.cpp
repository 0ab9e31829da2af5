#include "transcript.h"

namespace lwsim {

std::string TranscriptLine::format() const {
  switch (kind) {
    case Kind::Status:
      return "status: " + first;
    case Kind::Error:
      return "error: " + first + (second ? " | " + *second : std::string());
    case Kind::Message:
      return "message: " + first + ": " + second.value_or("");
    case Kind::Refused:
      return "refused: " + first;
    case Kind::Unsupported:
      return "unsupported: " + first;
  }
  return first;
}

void Transcript::status(std::string text) { add({TranscriptLine::Kind::Status, std::move(text), std::nullopt}); }

void Transcript::error(std::string first, std::optional<std::string> second) {
  add({TranscriptLine::Kind::Error, std::move(first), std::move(second)});
}

void Transcript::message(std::string title, std::string text) {
  add({TranscriptLine::Kind::Message, std::move(title), std::move(text)});
}

void Transcript::refused(std::string command) {
  add({TranscriptLine::Kind::Refused, std::move(command), std::nullopt});
}

void Transcript::unsupported(std::string member) {
  add({TranscriptLine::Kind::Unsupported, std::move(member), std::nullopt});
}

std::vector<std::string> Transcript::formatted() const {
  std::vector<std::string> out;
  out.reserve(lines_.size());
  for (const TranscriptLine &line : lines_) out.push_back(line.format());
  return out;
}

void Transcript::add(TranscriptLine line) {
  lines_.push_back(std::move(line));
  if (listener_) listener_(lines_.back());
}

}  // namespace lwsim
