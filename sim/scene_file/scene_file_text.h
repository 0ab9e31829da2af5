// A LightWave scene file's text as the loader reads it: its lines without
// outer blanks, a position among them, numbers in the C notation whatever the
// process's locale, blocks ("{ Name" … "}") to pass over, and errors that
// name the file and the line.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "../host_error.h"

namespace lwsim {

// A scene file that cannot be read or is not a well-formed LWSC file.
class SceneFileError : public HostError {
 public:
  using HostError::HostError;
};

class SceneFileText {
 public:
  SceneFileText(std::istream &in, std::string fileName);

  const std::string &fileName() const { return fileName_; }

  // Moves to the next line that is not blank; false at the end of the file.
  bool advance();
  const std::string &line() const { return lines_[index_]; }
  int lineNumber() const { return static_cast<int>(index_) + 1; }

  // The current line's first word, and what follows it without outer blanks.
  std::string keyword() const;
  std::string rest() const;
  // The words after the keyword.
  std::vector<std::string> arguments() const;

  bool opensBlock() const { return !line().empty() && line().front() == '{'; }
  bool closesBlock() const { return !line().empty() && line().front() == '}'; }
  // "Envelope" for "{ Envelope".
  std::string blockName() const;
  // From a line that opens a block to the line that closes it, nested blocks
  // included.
  void skipBlock();

  [[noreturn]] void fail(const std::string &message) const { failAt(lineNumber(), message); }
  [[noreturn]] void failAt(int line, const std::string &message) const;

  // A word of the current line read as a number or a whole number; what
  // names the value in the error.
  double number(const std::string &word, const std::string &what) const;
  long long integer(const std::string &word, const std::string &what) const;

 private:
  std::vector<std::string> lines_;
  std::size_t index_ = 0;
  bool started_ = false;
  std::string fileName_;
};

// "first rest of the line" → {"first", "rest of the line"}; outer blanks of
// both parts dropped.
std::pair<std::string, std::string> splitFirstWord(const std::string &text);

}  // namespace lwsim
