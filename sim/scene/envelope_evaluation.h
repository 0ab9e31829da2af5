// The host's envelope model: the value of an envelope at a time, from its
// keys' shapes and parameters and its pre- and post-behaviours.
#pragma once

#include "envelope.h"

namespace lwsim {

// No key gives 0, one key its value. Between two keys the shape of the key
// that ends the span decides the curve; outside the keys the behaviour of that
// side applies.
double evaluateEnvelope(const Envelope &envelope, double time);

}  // namespace lwsim
