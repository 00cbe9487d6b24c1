// Wheel loads and tyre forces. The rear wheels are locked and slide against
// their own velocity; the front wheels roll and only resist sliding across
// their rolling direction, once the sideways slip exceeds the sensitivity.
#pragma once

#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// Kinetic friction magnitude of each wheel: each wheel carries half of its
// axle's static load, so the four add up to g·m·μ. Once per run.
void calcForce(const Params& p, RunState& s);

// Axle direction (unit vector, world frame) of the two front wheels, from the
// steering of normal driving and the current heading. A zero-length axle
// gets the zero vector, which gives that wheel no force.
void FWheelNormal(const Params& p, RunState& s);

// Friction on the front wheels across their axle; adds into totalForce.
void FrontForce(const Params& p, RunState& s);

// Friction on the locked rear wheels against their velocity; adds into
// totalForce. A wheel standing exactly still gets no force.
void RearForce(RunState& s);

// Moment of the four wheel forces about the mass centre into torque.
void sumTorq(RunState& s);

} // namespace yawmark
