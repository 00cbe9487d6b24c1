#include "sim/InitialConditions.h"

#include <cmath>

namespace yawmark {

double iniOmega(const Params& p) {
    if (p.initVx == 0 && p.initVy == 0) return 0;
    // One turn around the circle of the mass centre takes T = 2πR / v.
    const double circumference = 2 * p.pi * p.turnRadius;
    const double speed = std::sqrt(p.initVx * p.initVx + p.initVy * p.initVy);
    const double period = circumference / speed;
    double omega = 2 * p.pi / period;
    if (p.steerDir == "R") omega = -omega;
    if (p.steerDir == "CE") omega = 0;
    return omega;
}

void calcMmtInertia(Params& p) {
    const double W = p.wheelbaseWidth;
    const double L = p.wheelbaseLength;
    p.momentInertia = (W * W + L * L) * p.vehicleMass / 12;
}

} // namespace yawmark
