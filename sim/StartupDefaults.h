// The values every parameter gets at start-up and at "Reset All Variables",
// apart from the vehicle (a preset) and the derived yaw rate and inertia.
#pragma once

#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// pi, gravity, initial velocity, turning radius, steering, run and plot
// settings, trail switches and colours, useGyration = false, heading = 0.
// The body state, the run flags and nextSnapTime are left as they are.
void loadStartupDefaults(Params& p, RunState& s);

} // namespace yawmark
