// Create Key: keys every gathered channel of every target at the frame.
// Motion channels take the viewport pose where the master saw the user pose
// them and their envelope's current value elsewhere; they are written at
// once, the other channels when the run's group is committed.
#pragma once

#include "run_settings.h"
#include "run_targets.h"

namespace lwp::cks {

void createKeys(const RunSettings &settings, const TargetItems &targets, double spf, double now);

}  // namespace lwp::cks
