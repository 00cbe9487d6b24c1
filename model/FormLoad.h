// The start-up of the parameters, also run by "Reset All Variables".
#pragma once

#include "model/BoxTexts.h"
#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// Start-up defaults, the McLaren F1, heading 0, the yaw rate of normal
// driving, the moment of inertia of the car, then every box and check box
// written. The body state, nextSnapTime and the run flags stay as they are.
void formLoad(Params& p, RunState& s, BoxTexts& t);

} // namespace yawmark
