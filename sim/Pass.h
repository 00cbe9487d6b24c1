// One pass of a run: the computation shared by the window's loop and the
// batch runner, so that both give the same trajectory bit for bit.
//
// The window's pass is: cornerpos, draw, finishPass(h), with h = 0 while a
// real-time run waits for its tick. runPass is the same without the drawing,
// with h = timeStep.
#pragma once

#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// Puts the car at its start: simTime = 0, position = start position,
// velocity = initial velocity. heading and omega come from the boxes.
void placeAtStart(const Params& p, RunState& s);

// Forces from the state at the start of the pass (corner and wheelNormal must
// be current), then position, velocity, heading and yaw rate advanced over h
// with constant acceleration. A pass that reverses the mass centre's velocity
// and reverses or stops the yaw leaves the car at rest, exactly.
// Returns false and leaves the body state as it was if the new state would
// not be finite; the per-wheel working arrays of that pass are then cleared.
bool updateBody(const Params& p, RunState& s, double h);

// The rest of a pass once the wheels are placed (and drawn): FWheelNormal,
// simTime += h, updateBody(h). Returns false, with simTime and the body state
// as they were and the per-wheel working arrays cleared (no NaN left behind),
// if the numbers would stop being finite.
bool finishPass(const Params& p, RunState& s, double h);

// A whole pass without drawing: cornerpos, then finishPass(timeStep).
bool runPass(const Params& p, RunState& s);

// The automatic snapshot rule at the top of a pass: with "Auto" ticked, a pass
// whose simTime has passed nextSnapTime takes a snapshot and sets the next
// threshold one snapshot interval later. Returns whether to take one.
bool takeAutoSnapshot(Params& p, const RunState& s, bool autoTicked);

} // namespace yawmark
