// What Draw does with the boxes before a run, as one step that either
// succeeds completely or changes nothing at all.
#pragma once

#include "model/BoxTexts.h"
#include "model/Calculate.h"
#include "sim/Params.h"
#include "sim/RunState.h"

#include <optional>

namespace yawmark {

// The two "Auto Calculate" boxes.
struct AutoCalculate {
    bool normal = true;  // chkNormal ticked: the normal-driving "Calculate" runs first
    bool inertia = true; // chkInertia ticked: the moment-of-inertia "Calculate" runs next
};

// On copies: the ticked "Calculate" computations, ReadBoxes, then the checks
// that the run is defined. On success the texts (boxes 5, 11, 12 may have
// changed), the parameters, heading, omega and gravity are committed; on
// failure nothing changes and the message names the box. The caller then
// calls placeAtStart and calcForce (sim/Pass.h, sim/Forces.h).
std::optional<BoxMessage> prepareDraw(BoxTexts& t, Params& p, RunState& s, AutoCalculate autos);

} // namespace yawmark
