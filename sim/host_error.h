// Errors of the simulated host itself (a module that cannot be loaded, an
// unknown server), as opposed to what the module reports to the user.
#pragma once

#include <stdexcept>

namespace lwsim {

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace lwsim
