// The lwsim script reader on a fresh host without the module (nothing of it
// then writes files): a script runs to its end or stops with a ScriptError.
#include <cstdint>
#include <sstream>
#include <string>

#include "sim/host.h"
#include "sim/script/script_runner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char *>(data), size), std::ios::binary);
  std::ostringstream out;
  lwsim::Host host;
  lwsim::ScriptRunner runner(host, out);
  try {
    runner.run(script, "fuzz.lwsim");
  } catch (const lwsim::ScriptError &) {
  }
  return 0;
}
