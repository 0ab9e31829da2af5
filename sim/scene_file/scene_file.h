// Loading LightWave scene files (LWSC, text, versions 3 to 5) into the host's
// scene: render and preview ranges, frame rate, current frame; objects (meshes
// and nulls), bones, lights and cameras with their names, parents, pivots,
// bone rest values, camera zoom (a value or an envelope) and frame size; and
// the keys and behaviours of their motion channels. The whole file is read
// before anything reaches the scene: a refused file leaves it untouched.
#pragma once

#include <string>

#include "../scene/scene.h"
#include "scene_file_text.h"

namespace lwsim {

// Adds the file's items to the scene and takes over its settings; the scene
// is named after the file. Throws SceneFileError (a HostError) naming the
// file, and the line where there is one, when the file cannot be read or is
// not a well-formed LWSC file.
void loadSceneFile(Scene &scene, const std::string &path);

}  // namespace lwsim
