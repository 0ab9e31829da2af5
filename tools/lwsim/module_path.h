// Where lwsim finds the module when no --plugin is given: beside itself, as
// built, or in the plugins folder of the installation it belongs to.
#pragma once

#include <string>

namespace lwsim {

std::string defaultModulePath(const char *argv0);

}  // namespace lwsim
