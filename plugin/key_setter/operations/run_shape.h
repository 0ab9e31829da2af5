// The shape a run gives the keys it writes, from the "Key Shape" settings.
#pragma once

#include "../../common/channels/key_records.h"
#include "run_settings.h"

namespace lwp::cks {

// The host's shape code for an index of the shape popup; the popup lists
// the 2-D Bezier as its Bezier. An index off the list keeps each key's own
// shape.
int shapeCodeOf(int shapeIndex);

// With the extra section open and "Key Shape" on: the chosen shape, with
// tension, continuity and bias each clamped to [-1, 1] and zero params.
// Otherwise an override that keeps each key's own shape.
KeyRecord shapeOverrideOf(const RunSettings &settings);

}  // namespace lwp::cks
