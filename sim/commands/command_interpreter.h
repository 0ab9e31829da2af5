// Layout's command interface: a command line is a word and the rest of the
// line as its argument. Unknown words and malformed arguments are refused
// (result 0); every command is logged with its result.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../plugin/host/lwtypes.h"
#include "../services/transcript.h"

namespace lwsim {

struct CommandRecord {
  std::string line;
  bool accepted;
};

class CommandInterpreter {
 public:
  // Runs a command's argument; false refuses it as malformed.
  using Handler = std::function<bool(const std::string &argument)>;
  // Told of every accepted command line, after it ran.
  using Observer = std::function<void(const std::string &line)>;

  explicit CommandInterpreter(Transcript &transcript) : transcript_(transcript) {}

  // Runs a family of commands by the part of the word after a prefix
  // ("Generic_" + server name).
  using PrefixHandler = std::function<bool(const std::string &rest, const std::string &argument)>;

  void define(const std::string &word, Handler handler) { handlers_[word] = std::move(handler); }
  void definePrefix(const std::string &prefix, PrefixHandler handler) { prefixes_[prefix] = std::move(handler); }
  bool defines(const std::string &word) const { return handlers_.count(word) != 0; }
  // Makes the host refuse a command it knows, until allowed again.
  void refuse(const std::string &word) { refused_.insert(word); }
  void allow(const std::string &word) { refused_.erase(word); }
  void observe(Observer observer) { observers_.push_back(std::move(observer)); }

  // 1 when accepted, 0 when refused; a refusal is shown as "refused: LINE".
  int run(const std::string &line);

  const std::vector<CommandRecord> &log() const { return log_; }
  void clearLog() { log_.clear(); }

  // The "LW Command Interface" answer.
  static LWCommandFunc *function();
  // The evaluate function of the records that carry a data pointer (a
  // master's access record); the pointer is not needed here.
  using EvaluateFunction = int (*)(void *data, LWCStringUTF8 line);
  static EvaluateFunction evaluateFunction();

  // "Word rest of line" → word and "rest of line" (after one blank).
  static std::pair<std::string, std::string> split(const std::string &line);

 private:
  bool execute(const std::string &line);

  Transcript &transcript_;
  std::map<std::string, Handler> handlers_;
  std::map<std::string, PrefixHandler> prefixes_;
  std::set<std::string> refused_;
  std::vector<Observer> observers_;
  std::vector<CommandRecord> log_;
};

}  // namespace lwsim
