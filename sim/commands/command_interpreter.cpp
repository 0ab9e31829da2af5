#include "command_interpreter.h"

#include <exception>

#include "../host.h"
#include "ansi_text.h"

namespace lwsim {

namespace {

// Lines of the command function are in the system's ANSI code page; those
// of a master's or generic's evaluate function are UTF-8.
int runLine(const char *line, bool ansi) {
  try {
    Host *host = Host::currentOrNull();
    if (host == nullptr || line == nullptr) return 0;
    return host->commands().run(ansi ? utf8FromAnsi(line) : std::string(line));
  } catch (...) {
    return 0;
  }
}

int hostCommand(const char *line) { return runLine(line, true); }

int hostEvaluate(void *, const char *line) { return runLine(line, false); }

}  // namespace

std::pair<std::string, std::string> CommandInterpreter::split(const std::string &line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string::npos) return {line, std::string()};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

int CommandInterpreter::run(const std::string &line) {
  // Logged before it runs, so that commands it issues itself follow it.
  const std::size_t entry = log_.size();
  log_.push_back({line, false});
  bool accepted = false;
  try {
    accepted = execute(line);
  } catch (const std::exception &) {
    accepted = false;  // a command the host could not carry out
  }
  log_[entry].accepted = accepted;
  if (!accepted) {
    transcript_.refused(line);
    return 0;
  }
  for (const Observer &observer : observers_) observer(line);
  return 1;
}

bool CommandInterpreter::execute(const std::string &line) {
  const auto [word, argument] = split(line);
  if (word.empty() || refused_.count(word) != 0) return false;
  if (const auto handler = handlers_.find(word); handler != handlers_.end()) return handler->second(argument);
  for (const auto &[prefix, handler] : prefixes_)
    if (word.size() > prefix.size() && word.compare(0, prefix.size(), prefix) == 0)
      return handler(word.substr(prefix.size()), argument);
  return false;
}

LWCommandFunc *CommandInterpreter::function() { return hostCommand; }

CommandInterpreter::EvaluateFunction CommandInterpreter::evaluateFunction() { return hostEvaluate; }

}  // namespace lwsim
