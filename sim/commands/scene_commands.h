// The Layout commands that build, select, pose, key and set up the scene.
#pragma once

namespace lwsim {

class Host;

void defineSceneCommands(Host &host);

}  // namespace lwsim
