// SPDX-License-Identifier: MIT
// The trails a fit compares with tyre marks: the path of each wheel of a run,
// and the marks a run would leave.
#pragma once

#include "model/Case.h"
#include "model/Marks.h"

#include <array>
#include <optional>
#include <vector>

namespace yawmark::model {

// The simulation the fit runs: the trail of each wheel from the launch until
// the car comes to rest, stepped by `h`: a point at the launch, one after
// each step that moved the wheel 2 mm or more, and the last where it ends.
struct Trails {
    std::array<std::vector<sim::Vec2>, sim::kWheelCount> wheel;
    bool atRest = false; // the last points are where the car came to rest
};
Trails simulateTrails(const Case& c, double h,
                      std::array<bool, sim::kWheelCount> wanted = {true, true, true, true});

// The marks a case's run would leave: the trail of each locked rear wheel
// from the pull to where the car came to rest (or as far as the run goes), a
// point every `spacing` metres along it and the last where it ends, the run
// integrated at fitStep. A run so long that the points would be more than a
// marks file holds (kMaxMarkPoints) gets every second, third... of them.
std::vector<Mark> runMarks(const Case& c, double spacing = 0.5);

// The simulation step of a fit to a case: its interval or 1 ms, whichever is smaller.
double fitStep(const Case& c);

// The rest position's error that the case's interval brings: run again at half
// the interval, twice the distance between the two rest positions of the mass
// centre. Nothing if either run does not come to rest.
std::optional<double> restError(const Case& c);

} // namespace yawmark::model
