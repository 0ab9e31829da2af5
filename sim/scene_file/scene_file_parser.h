// Reads the keywords of a LightWave scene file (LWSC versions 3 to 5) into a
// scene description. Keywords the host has no use for, their nested blocks
// and plug-in sections are passed over; a file that is not LWSC, is cut off
// or holds a malformed value is refused with a SceneFileError naming the file
// and the line.
#pragma once

#include "scene_description.h"
#include "scene_file_text.h"

namespace lwsim {

// The file's name and base name are left for the caller to set.
SceneDescription parseSceneFile(SceneFileText &text);

}  // namespace lwsim
