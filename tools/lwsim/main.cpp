// lwsim: runs a script of Layout commands and directives against the
// simulated Layout host with the module loaded.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "../../sim/host.h"
#include "../../sim/host_error.h"
#include "../../sim/script/script_runner.h"
#include "module_path.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kScriptFailed = 1;
constexpr int kSetupFailed = 2;

int runScript(lwsim::Host &host, const std::string &scriptPath) {
  lwsim::ScriptRunner runner(host, std::cout);
  if (scriptPath == "-") {
    runner.run(std::cin, "<stdin>");
    return 0;
  }
  std::ifstream script(scriptPath);
  if (!script) throw lwsim::HostError("cannot read script " + scriptPath);
  runner.run(script, scriptPath);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
#if defined(_WIN32)
  // Lines end in a line feed alone on every system, as the transcript does.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  CLI::App app{"Runs a script against the simulated Layout host with the module loaded."};
  std::string pluginPath;
  std::string locale = "en";
  std::string scriptPath = "-";
  std::string scenePath;
  app.add_option("--plugin", pluginPath, "the module to load (default: the one built beside lwsim)");
  app.add_option("--scene", scenePath, "a LightWave scene file to start from");
  app.add_option("--locale", locale, "the host's interface language")->check(CLI::IsMember({"en", "ja"}));
  app.add_option("SCRIPT", scriptPath, "the script file; standard input when absent or -");
  CLI11_PARSE(app, argc, argv);

  try {
    if (pluginPath.empty()) pluginPath = lwsim::defaultModulePath(argv[0]);
    lwsim::Host host;
    host.setLocaleId(locale == "ja" ? lwsim::Host::kJapanese : lwsim::Host::kEnglish);
    host.loadModule(pluginPath);
    // As in Layout, the module is loaded first and the scene after it.
    if (!scenePath.empty()) host.loadScene(scenePath);
    return runScript(host, scriptPath);
  } catch (const lwsim::ScriptError &error) {
    std::cout.flush();
    std::cerr << "lwsim: " << error.what() << '\n';
    return kScriptFailed;
  } catch (const std::exception &error) {
    std::cout.flush();
    std::cerr << "lwsim: " << error.what() << '\n';
    return kSetupFailed;
  }
}
