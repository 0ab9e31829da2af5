#include "script_runner.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "../host_error.h"
#include "script_words.h"

namespace lwsim {

namespace {

const char *drawStateName(DrawState state) {
  switch (state) {
    case DrawState::Shown:
      return "shown";
    case DrawState::Ghosted:
      return "ghosted";
    case DrawState::Erased:
      return "erased";
  }
  return "shown";
}

// Labels are always quoted in control lines.
std::string quotedLabel(const std::string &label) {
  std::string quoted = "\"";
  for (const char c : label) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

ScriptError::ScriptError(std::string source, int line, const std::string &message)
    : std::runtime_error(source + ":" + std::to_string(line) + ": " + message), line_(line) {}

ScriptRunner::ScriptRunner(Host &host, std::ostream &out) : host_(host), out_(out), sceneDirectives_(host, out) {
  host_.transcript().setListener([this](const TranscriptLine &line) { out_ << line.format() << '\n'; });
  host_.panels().setBlockingLoop([this](Panel &panel) { runBlocking(panel); });
  const std::pair<const char *, void (ScriptRunner::*)(const Words &)> own[] = {
      {"servers", &ScriptRunner::servers},
      {"activate", &ScriptRunner::activate},
      {"run", &ScriptRunner::run},
      {"locale", &ScriptRunner::locale},
      {"sysid", &ScriptRunner::sysid},
      {"withhold", &ScriptRunner::withhold},
      {"refuse-open", &ScriptRunner::refuseOpen},
      {"press", &ScriptRunner::press},
      {"set", &ScriptRunner::set},
      {"keypress", &ScriptRunner::keypress},
      {"close", &ScriptRunner::close},
      {"controls", &ScriptRunner::controls},
  };
  for (const auto &[name, member] : own)
    directives_[name] = [this, member = member](const Words &args) { (this->*member)(args); };
  sceneDirectives_.addTo(directives_);
}

ScriptRunner::~ScriptRunner() {
  host_.transcript().setListener(nullptr);
  host_.panels().setBlockingLoop(nullptr);
}

void ScriptRunner::run(std::istream &script, const std::string &source) {
  script_ = &script;
  source_ = source;
  lineNumber_ = 0;
  error_.reset();
  while (step()) {
  }
  // A read that failed is not the end of the script: what follows never ran.
  if (!error_ && script.bad()) error_ = ScriptError(source_, lineNumber_, "cannot read the script to its end");
  out_.flush();
  if (error_) throw *error_;
}

bool ScriptRunner::step() {
  if (error_) return false;
  std::string line;
  if (!std::getline(*script_, line)) return false;
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  try {
    execute(line);
  } catch (const ScriptError &error) {
    error_ = error;
  } catch (const std::exception &error) {
    error_ = ScriptError(source_, lineNumber_, error.what());
  }
  return !error_;
}

void ScriptRunner::execute(const std::string &line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line[start] == '#') return;
  if (line[start] == '@') {
    runDirective(line.substr(start + 1));
    return;
  }
  host_.commands().run(line.substr(start));
}

void ScriptRunner::runDirective(const std::string &text) {
  const std::optional<Words> words = splitWords(text);
  if (!words) fail("unclosed quote");
  if (words->empty()) fail("empty directive");
  const auto directive = directives_.find(words->front());
  if (directive == directives_.end()) fail("unknown directive @" + words->front());
  directive->second(Words(words->begin() + 1, words->end()));
}

// A blocking panel keeps the script going inside the module's open call;
// errors are kept until the call has returned, never thrown through it.
void ScriptRunner::runBlocking(Panel &panel) {
  while (panel.isOpen() && step()) {
  }
}

void ScriptRunner::fail(const std::string &message) const { throw ScriptError(source_, lineNumber_, message); }

Panel &ScriptRunner::requireOpenPanel() const {
  Panel *panel = host_.panels().openPanel();
  if (panel == nullptr) fail("no panel is open");
  return *panel;
}

Control &ScriptRunner::requireControl(const std::string &name) const {
  Panel &panel = requireOpenPanel();
  Control *control =
      name.size() > 1 && name[0] == '#' ? panel.findControl(std::atoi(name.c_str() + 1)) : panel.findControl(name);
  if (control == nullptr) fail("no control " + quoteWord(name) + " in panel " + quoteWord(panel.title()));
  return *control;
}

// A user can only work a control that is drawn and not ghosted.
Control &ScriptRunner::requireUsableControl(const std::string &name) const {
  Control &control = requireControl(name);
  if (control.drawState() != DrawState::Shown)
    fail("control " + quoteWord(name) + " is " + drawStateName(control.drawState()));
  return control;
}

void ScriptRunner::servers(const Words &args) {
  requireArguments(args, 0, 0, "@servers");
  if (host_.module() == nullptr) fail("no module is loaded");
  for (const ServerInfo &server : host_.module()->servers())
    out_ << "server: " << server.className << ' ' << quoteWord(server.name) << '\n';
}

void ScriptRunner::activate(const Words &args) {
  requireArguments(args, 3, 3, "@activate CLASS NAME VERSION");
  const int version = integerArgument(args[2], "version");
  const int result = host_.activate(args[0], args[1], version);
  out_ << "activated: " << args[0] << ' ' << quoteWord(args[1]) << " version " << version << " result " << result
       << '\n';
}

void ScriptRunner::run(const Words &args) {
  requireArguments(args, 1, 2, "@run SERVER [ARGS]");
  if (host_.module() == nullptr || host_.module()->find(LWLAYOUTGENERIC_CLASS, args[0]) == nullptr)
    fail("no generic server " + quoteWord(args[0]));
  host_.runGeneric(args[0], args.size() > 1 ? args[1] : "");
}

void ScriptRunner::locale(const Words &args) {
  requireArguments(args, 1, 1, "@locale en|ja");
  if (args[0] != "en" && args[0] != "ja") fail("usage: @locale en|ja");
  host_.setLocaleId(args[0] == "ja" ? Host::kJapanese : Host::kEnglish);
}

void ScriptRunner::sysid(const Words &args) {
  requireArguments(args, 1, 1, "@sysid HEX");
  char *end = nullptr;
  const unsigned long id = std::strtoul(args[0].c_str(), &end, 16);
  if (args[0].empty() || *end != '\0') fail("bad system id " + quoteWord(args[0]));
  host_.setSystemId(static_cast<std::uint32_t>(id));
}

void ScriptRunner::withhold(const Words &args) {
  requireArguments(args, 1, 1, "@withhold \"GLOBAL ID\"");
  host_.globals().withhold(args[0]);
}

void ScriptRunner::refuseOpen(const Words &args) {
  requireArguments(args, 0, 0, "@refuse-open");
  host_.panels().setRefuseOpen(true);
}

// The mouse button is the left one unless a word names another.
void ScriptRunner::press(const Words &args) {
  constexpr const char *kUsage = "@press CONTROL [left|middle|right]";
  requireArguments(args, 1, 2, kUsage);
  const char *const buttons[] = {"left", "middle", "right"};
  int button = 1;
  if (args.size() == 2) {
    const auto named = std::find(std::begin(buttons), std::end(buttons), args[1]);
    if (named == std::end(buttons)) fail(std::string("usage: ") + kUsage);
    button = static_cast<int>(named - std::begin(buttons)) + 1;
  }
  requireUsableControl(args[0]).press(button);
}

void ScriptRunner::set(const Words &args) {
  requireArguments(args, 2, 2, "@set CONTROL VALUE");
  if (!requireUsableControl(args[0]).enter(args[1]))
    fail("control " + quoteWord(args[0]) + " cannot take " + quoteWord(args[1]));
}

void ScriptRunner::keypress(const Words &args) {
  requireArguments(args, 1, 2, "@keypress CODE [up]");
  if (args.size() == 2 && args[1] != "up") fail("usage: @keypress CODE [up]");
  const int code = integerArgument(args[0], "key code");
  requireOpenPanel().sendKey(code, args.size() == 2);
}

void ScriptRunner::close(const Words &args) {
  requireArguments(args, 0, 0, "@close");
  requireOpenPanel().closeNow();
}

void ScriptRunner::controls(const Words &args) {
  requireArguments(args, 0, 0, "@controls");
  for (const auto &control : requireOpenPanel().controls())
    out_ << "control #" << control->index() << ' ' << control->typeName() << ' ' << quotedLabel(control->label()) << ' '
         << control->valueText() << ' ' << drawStateName(control->drawState()) << '\n';
}

}  // namespace lwsim
