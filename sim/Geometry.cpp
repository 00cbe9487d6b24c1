#include "sim/Geometry.h"

#include "sim/Vector.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace yawmark {

void headingTrig(RunState& s, double& c, double& sn) {
    if (std::bit_cast<std::uint64_t>(s.heading) != std::bit_cast<std::uint64_t>(s.trigHeading)) {
        s.trigHeading = s.heading;
        s.cosHeading = std::cos(s.heading);
        s.sinHeading = std::sin(s.heading);
    }
    c = s.cosHeading;
    sn = s.sinHeading;
}

void cornerpos(const Params& p, RunState& s) {
    const double L = p.wheelbaseLength;
    const double halfW = p.wheelbaseWidth / 2;
    const double f = p.frontShare;
    const double front = (1 - f) * L;
    const double rear = -f * L;
    s.corner[FL] = {-halfW, front};
    s.corner[FR] = {halfW, front};
    s.corner[RR] = {halfW, rear};
    s.corner[RL] = {-halfW, rear};
    // One cosine and sine for all four wheels (and the front axles): the same
    // numbers as rotating each wheel on its own.
    double c, sn;
    headingTrig(s, c, sn);
    for (int i = 1; i <= 4; ++i)
        RotateBy(s.corner[i][0], s.corner[i][1], c, sn);
}

void CornerVelocity(RunState& s) {
    for (int i = 1; i <= 4; ++i) {
        s.wheelForce[i][2] = 0;
        s.wheelVel[i][2] = 0;
        const Vec3 spin = Cross(0, 0, s.omega, s.corner[i][0], s.corner[i][1], 0);
        s.wheelVel[i][0] = spin.x + s.cmVx;
        s.wheelVel[i][1] = spin.y + s.cmVy;
    }
}

} // namespace yawmark
