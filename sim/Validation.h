// Inputs that would leave a run or a derived value undefined, refused before
// anything starts. Everything else the model allows stays allowed (negative
// friction, a time step of 0 or below, any sensitivity).
#pragma once

#include "sim/Params.h"
#include "sim/RunState.h"

#include <optional>
#include <string>

namespace yawmark {

// What is wrong, and the parameter box (0..18) it belongs to. The text
// follows the box's caption: "must not be 0." The caller adds the caption.
struct BoxProblem {
    int box = 0;
    std::string what;
};

// The first reason the run cannot start from these parameters (read from the
// boxes, gravity, heading and omega in the state): a mass or moment of
// inertia of 0, a turning radius shorter than the distance from the mass
// centre to the rear axle with steering "L"/"R", or numbers that would not be
// finite at the start of the run.
std::optional<BoxProblem> validateRun(const Params& p, const RunState& s);

// Whether the normal-driving yaw rate is defined: a turning radius of 0 with
// "L"/"R" and a moving car is not (nor one so small the rate overflows).
std::optional<BoxProblem> validateNormal(const Params& p);

// Whether the moment of inertia can be computed from the dimensions and shown
// in the box, as a radius of gyration when useGyration is set.
std::optional<BoxProblem> validateInertia(const Params& p);

// Whether the current momentInertia has a real radius of gyration for the
// current vehicleMass (mass non-zero, the two of the same sign).
std::optional<BoxProblem> validateGyration(const Params& p);

} // namespace yawmark
