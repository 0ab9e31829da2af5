// Envelope blocks of a scene file and what the numbers of their keys mean
// for the host's keys:
//
//   { Envelope
//     COUNT
//     Key VALUE TIME SHAPE P1 P2 P3 P4 P5 P6      (COUNT lines)
//     Behaviors PRE POST
//   }
//
// Times are in seconds; values in the channel's own units (radians for
// rotations).
#pragma once

#include <array>

#include "../scene/envelope.h"
#include "scene_description.h"
#include "scene_file_text.h"

namespace lwsim {

// Reads the block the current line opens ("{ Envelope"); the text is left on
// its closing brace.
EnvelopeDescription readEnvelopeBlock(SceneFileText &text);

// The host's key for the numbers of a Key line. TCB, Hermite and 1-D Bezier
// keys carry tension, continuity and bias in P1–P3; Hermite and 1-D Bezier
// keys their incoming and outgoing tangents in P4 and P5 (the host's
// parameters 0 and 1). 2-D Bezier keys carry the incoming handle's time and
// value and the outgoing handle's time and value in P1–P4 (the host's
// parameters 0–3). The other numbers are tangents Layout keeps for its own
// use and are not read.
EnvelopeKey keyFromFile(double value, double time, int shape, const std::array<double, 6> &p);

}  // namespace lwsim
