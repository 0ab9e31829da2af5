#include "scene_file.h"

#include <filesystem>
#include <fstream>

#include "scene_description.h"
#include "scene_file_parser.h"

namespace lwsim {

void loadSceneFile(Scene &scene, const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path)) throw SceneFileError("cannot read scene file " + path);
  SceneFileText text(in, path);
  SceneDescription description = parseSceneFile(text);
  description.name = std::filesystem::path(path).stem().string();
  description.fileName = path;
  addToScene(description, scene);
}

}  // namespace lwsim
