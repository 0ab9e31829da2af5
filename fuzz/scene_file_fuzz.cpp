// The simulated host's scene-file reader: a file is refused with a
// SceneFileError or read whole, and what was read always goes into a scene.
#include <cstdint>
#include <sstream>
#include <string>

#include "sim/scene/scene.h"
#include "sim/scene_file/scene_description.h"
#include "sim/scene_file/scene_file_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char *>(data), size), std::ios::binary);
  lwsim::SceneFileText text(in, "fuzz.lws");
  lwsim::SceneDescription description;
  try {
    description = lwsim::parseSceneFile(text);
  } catch (const lwsim::SceneFileError &) {
    return 0;
  }
  description.name = "fuzz";
  description.fileName = "fuzz.lws";
  lwsim::Scene scene;
  lwsim::addToScene(description, scene);
  return 0;
}
