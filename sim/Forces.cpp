#include "sim/Forces.h"

#include "sim/Geometry.h"
#include "sim/Vector.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace yawmark {

namespace {

// A length as the front wheel test has always held it: in single precision.
// Beyond the range of a float it is infinite (a plain cast would be undefined).
double toSingle(double v) {
    if (!(v <= FLT_MAX)) return std::numeric_limits<double>::infinity();
    return static_cast<double>(static_cast<float>(v));
}

} // namespace

void calcForce(const Params& p, RunState& s) {
    const double m = p.vehicleMass;
    const double mu = p.kineticFriction;
    const double f = p.frontShare;
    const double front = s.gravity * m * mu * f / 2;
    const double rear = s.gravity * m * mu * (1 - f) / 2;
    s.wheelFriction[FL] = front;
    s.wheelFriction[FR] = front;
    s.wheelFriction[RR] = rear;
    s.wheelFriction[RL] = rear;
}

void FWheelNormal(const Params& p, RunState& s) {
    const double L = p.wheelbaseLength;
    const double W = p.wheelbaseWidth;
    double n1x = 0, n1y = 0, n2x = 0, n2y = 0;
    if (p.steerDir == "CE") {
        n1x = 1;
        n2x = 1;
    } else if (p.steerDir == "L" || p.steerDir == "R") {
        // The centre of the turn lies on the rear axle line; each front axle
        // points from it to its wheel.
        const double R = p.turnRadius;
        const double fL = L * p.frontShare;
        const double d = std::sqrt(R * R - fL * fL) - W / 2;
        if (p.steerDir == "L") {
            n1x = d;
            n2x = d + W;
        } else {
            n1x = -d - W;
            n2x = -d;
        }
        n1y = L;
        n2y = L;
    }
    double c, sn;
    headingTrig(s, c, sn);
    RotateBy(n1x, n1y, c, sn);
    RotateBy(n2x, n2y, c, sn);
    const double len1 = Mag(n1x, n1y, 0);
    const double len2 = Mag(n2x, n2y, 0);
    s.wheelNormal[1] =
        len1 == 0 ? std::array<double, 2>{0, 0} : std::array<double, 2>{n1x / len1, n1y / len1};
    s.wheelNormal[2] =
        len2 == 0 ? std::array<double, 2>{0, 0} : std::array<double, 2>{n2x / len2, n2y / len2};
}

void FrontForce(const Params& p, RunState& s) {
    for (int i = 1; i <= 2; ++i) {
        const double nx = s.wheelNormal[i][0];
        const double ny = s.wheelNormal[i][1];
        const double vx = s.wheelVel[i][0];
        const double vy = s.wheelVel[i][1];
        const double vLat = Dot(nx, ny, vx, vy);
        const double a = toSingle(Mag(nx, ny, 0));
        const double b = toSingle(Mag(vx, vy, 0));
        const double limit = a * p.frontSensitivity * b;
        double k = 0;
        if (!(limit >= std::fabs(vLat))) k = vLat > 0 ? 1 : (vLat < 0 ? -1 : 0);
        const double fk = -k * s.wheelFriction[i];
        s.wheelForce[i][0] = fk * nx;
        s.wheelForce[i][1] = fk * ny;
        s.totalForce[0] += s.wheelForce[i][0];
        s.totalForce[1] += s.wheelForce[i][1];
    }
}

void RearForce(RunState& s) {
    for (int i = 3; i <= 4; ++i) {
        const double vx = s.wheelVel[i][0];
        const double vy = s.wheelVel[i][1];
        const double speed = Mag(vx, vy, 0);
        if (speed == 0) {
            // Standing still: no direction to slide in, so no friction.
            s.wheelForce[i][0] = 0;
            s.wheelForce[i][1] = 0;
            continue;
        }
        const double F = -s.wheelFriction[i];
        s.wheelForce[i][0] = F * vx / speed;
        s.wheelForce[i][1] = F * vy / speed;
        s.totalForce[0] += s.wheelForce[i][0];
        s.totalForce[1] += s.wheelForce[i][1];
    }
}

void sumTorq(RunState& s) {
    s.torque = 0;
    for (int i = 1; i <= 4; ++i) {
        const Vec3 m =
            Cross(s.corner[i][0], s.corner[i][1], 0, s.wheelForce[i][0], s.wheelForce[i][1], 0);
        s.torque += m.z;
    }
}

} // namespace yawmark
