// Initial conditions derived instead of typed: the yaw rate of normal driving
// around the turning radius, and the moment of inertia of a homogeneous car.
#pragma once

#include "sim/Params.h"

namespace yawmark {

// Yaw rate of normal driving, rad/s, counter-clockwise positive: speed over
// turning radius, negated for "R", 0 for "CE" or a car at rest.
double iniOmega(const Params& p);

// momentInertia = (W² + L²)·m / 12, a homogeneous rectangle of the wheelbase.
void calcMmtInertia(Params& p);

// The larger of a and b; a tie returns a.
inline double Maximum(double a, double b) {
    return b > a ? b : a;
}

} // namespace yawmark
