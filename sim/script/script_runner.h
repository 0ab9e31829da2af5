// Runs lwsim scripts against a host: Layout commands line by line, and
// directives (lines starting with '@') that set up and look at the host.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../host.h"
#include "directive_support.h"
#include "scene_directives.h"

namespace lwsim {

// A script line the runner cannot carry out; stops the run.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(std::string source, int line, const std::string &message);
  int line() const { return line_; }

 private:
  int line_;
};

class ScriptRunner {
 public:
  // Writes the host's transcript lines and the directives' output to out as
  // they happen.
  ScriptRunner(Host &host, std::ostream &out);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner &) = delete;
  ScriptRunner &operator=(const ScriptRunner &) = delete;

  // Runs the script to its end; throws ScriptError at the first bad line.
  void run(std::istream &script, const std::string &source);

 private:
  bool step();  // one line; false at the end of the script or after an error
  void execute(const std::string &line);
  void runDirective(const std::string &text);
  void runBlocking(Panel &panel);
  [[noreturn]] void fail(const std::string &message) const;

  Panel &requireOpenPanel() const;
  Control &requireControl(const std::string &name) const;
  Control &requireUsableControl(const std::string &name) const;

  void servers(const Words &args);
  void activate(const Words &args);
  void run(const Words &args);
  void locale(const Words &args);
  void sysid(const Words &args);
  void withhold(const Words &args);
  void refuseOpen(const Words &args);
  void press(const Words &args);
  void set(const Words &args);
  void keypress(const Words &args);
  void close(const Words &args);
  void controls(const Words &args);

  Host &host_;
  std::ostream &out_;
  std::istream *script_ = nullptr;
  std::string source_;
  int lineNumber_ = 0;
  std::optional<ScriptError> error_;
  SceneDirectives sceneDirectives_;
  DirectiveTable directives_;
};

}  // namespace lwsim
