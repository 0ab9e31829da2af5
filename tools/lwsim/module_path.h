// Where lwsim finds the module when no --plugin is given: beside itself.
#pragma once

#include <string>

namespace lwsim {

std::string defaultModulePath(const char *argv0);

}  // namespace lwsim
