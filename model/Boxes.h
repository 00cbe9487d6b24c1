// Moving values between the parameter boxes and the parameters: InitBoxes
// writes parameters into the boxes in display units, ReadBoxes reads the
// boxes back in SI units.
#pragma once

#include "model/BoxTexts.h"
#include "sim/Params.h"
#include "sim/RunState.h"
#include "sim/Validation.h"

#include <optional>

namespace yawmark {

// Writes the vehicle boxes 0..4; with all, every box and check box as well.
// Box 7 and box 11 are always written "0"; box 14 gets 40 calculation
// intervals; box 8 keeps its text for a steering code it does not know.
void InitBoxes(const Params& p, const RunState& s, BoxTexts& t, bool all);

// Reads every box and check box into the parameters (and heading, omega and
// gravity into the run state). Nothing changes unless every box reads: the
// first box that does not is returned, in reading order (box 7 before box
// 6, as the direction of travel is needed for the velocity).
std::optional<BoxProblem> ReadBoxes(const BoxTexts& t, Params& p, RunState& s);

} // namespace yawmark
