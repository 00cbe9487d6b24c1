// Body geometry: where the wheels are and how fast they move.
#pragma once

#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// Places the four wheels around the mass centre for the current heading:
// writes corner (offsets in world orientation, without cmX/cmY).
void cornerpos(const Params& p, RunState& s);

// cos and sin of the current heading, computed once per heading.
void headingTrig(RunState& s, double& c, double& sn);

// Rigid-body wheel velocities v_i = v_cm + ω × r_i from corner, omega, cmVx,
// cmVy; also clears the z components of wheelVel and wheelForce.
void CornerVelocity(RunState& s);

} // namespace yawmark
