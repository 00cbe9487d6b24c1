#include "sim/Pass.h"

#include "sim/Forces.h"
#include "sim/Geometry.h"

#include <cmath>

namespace yawmark {

void placeAtStart(const Params& p, RunState& s) {
    s.simTime = 0;
    s.cmX = p.startX;
    s.cmY = p.startY;
    s.cmVx = p.initVx;
    s.cmVy = p.initVy;
}

bool updateBody(const Params& p, RunState& s, double h) {
    s.totalForce = {0, 0};
    s.torque = 0;
    CornerVelocity(s);
    FrontForce(p, s);
    RearForce(s);
    sumTorq(s);

    const double ax = s.totalForce[0] / p.vehicleMass;
    const double ay = s.totalForce[1] / p.vehicleMass;
    const double alpha = s.torque / p.momentInertia;
    const double hh = h * h;
    const double x = s.cmX + s.cmVx * h + (ax * 0.5) * hh;
    const double y = s.cmY + s.cmVy * h + (ay * 0.5) * hh;
    double vx = s.cmVx + ax * h;
    double vy = s.cmVy + ay * h;
    const double heading = s.heading + s.omega * h + (alpha * 0.5) * hh;
    double omega = s.omega + alpha * h;

    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(vx) && std::isfinite(vy) &&
          std::isfinite(heading) && std::isfinite(omega))) {
        // The pass does not happen: no force of it stays behind in the state.
        s.wheelVel = {};
        s.wheelForce = {};
        s.totalForce = {0, 0};
        s.torque = 0;
        return false;
    }

    // Full kinetic friction at any speed overshoots around zero: a pass that
    // turns the velocity back and stops or turns back the yaw has brought the
    // car to rest, and there it stays.
    if (s.cmVx * vx + s.cmVy * vy <= 0 && s.omega * omega <= 0) {
        vx = 0;
        vy = 0;
        omega = 0;
    }

    s.cmAx = ax;
    s.cmAy = ay;
    s.alpha = alpha;
    s.cmX = x;
    s.cmY = y;
    s.cmVx = vx;
    s.cmVy = vy;
    s.heading = heading;
    s.omega = omega;
    return true;
}

bool finishPass(const Params& p, RunState& s, double h) {
    FWheelNormal(p, s);
    const double before = s.simTime;
    s.simTime += h;
    if (std::isfinite(s.simTime) && updateBody(p, s, h)) return true;
    // The pass does not happen: time stays, and neither the wheels' placement
    // nor their axles (which may be what overflowed) stay behind.
    s.simTime = before;
    s.corner = {};
    s.wheelNormal = {};
    s.wheelVel = {};
    s.wheelForce = {};
    s.totalForce = {0, 0};
    s.torque = 0;
    return false;
}

bool runPass(const Params& p, RunState& s) {
    cornerpos(p, s);
    return finishPass(p, s, p.timeStep);
}

bool takeAutoSnapshot(Params& p, const RunState& s, bool autoTicked) {
    if (!autoTicked || !(s.simTime > p.nextSnapTime)) return false;
    p.nextSnapTime = s.simTime + p.snapInterval;
    return true;
}

} // namespace yawmark
