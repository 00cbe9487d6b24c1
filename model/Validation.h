// SPDX-License-Identifier: MIT
// Cases that would leave a run or a derived value undefined, refused before
// anything starts, each naming its box. Each box's own range is checked when
// the boxes are read; what is left here are the checks between boxes and the
// limits of the numbers.
#pragma once

#include "model/BoxTable.h"
#include "model/Case.h"

#include <optional>

namespace yawmark::model {

// A mass or moment of inertia of 0, a turning radius shorter than the distance
// from the mass centre to the rear axle when steering, or numbers that would
// not stay finite through the first pass (a trial pass from the start).
std::optional<BoxProblem> validateRun(const Case& c);

// Whether the normal-driving yaw rate is defined: a turning radius of 0 for a
// car that moves and steers is not, nor one so small the rate overflows.
std::optional<BoxProblem> validateNormal(const Case& c);

// Whether the homogeneous moment of inertia is finite and, in the gyration
// form, has a real radius of gyration.
std::optional<BoxProblem> validateInertia(const sim::Car& car, InertiaForm form);

// Whether the car's moment of inertia has a real radius of gyration (mass non-zero,
// the two of the same sign).
std::optional<BoxProblem> validateGyration(const sim::Car& car);

} // namespace yawmark::model
