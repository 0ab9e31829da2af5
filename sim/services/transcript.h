// Everything the module shows the user, recorded in order: status lines,
// error boxes, message boxes and refused commands; and every call of a host
// member the simulation does not carry out.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lwsim {

struct TranscriptLine {
  enum class Kind { Status, Error, Message, Refused, Unsupported };
  Kind kind;
  std::string first;                  // status text, first error line, box title, command or member
  std::optional<std::string> second;  // second error line or message text

  // The line as lwsim prints it ("status: TEXT", "error: A | B", ...).
  std::string format() const;
};

class Transcript {
 public:
  void status(std::string text);
  void error(std::string first, std::optional<std::string> second);
  void message(std::string title, std::string text);
  void refused(std::string command);
  // An unsupported host call of RECORD.member.
  void unsupported(std::string member);

  const std::vector<TranscriptLine> &lines() const { return lines_; }
  std::vector<std::string> formatted() const;
  void clear() { lines_.clear(); }

  // Called with every new line as it is recorded (lwsim prints them live).
  void setListener(std::function<void(const TranscriptLine &)> listener) { listener_ = std::move(listener); }

 private:
  void add(TranscriptLine line);

  std::vector<TranscriptLine> lines_;
  std::function<void(const TranscriptLine &)> listener_;
};

}  // namespace lwsim
