#include "sim/Validation.h"

#include "sim/Forces.h"
#include "sim/Geometry.h"
#include "sim/InitialConditions.h"
#include "sim/NumberText.h"
#include "sim/Pass.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace yawmark {

namespace {

// Box numbers of the values checked here.
enum Box : int {
    kLength = 0,
    kWidth = 1,
    kMass = 2,
    kDistribution = 3,
    kFriction = 4,
    kInertia = 5,
    kSpeed = 6,
    kRadius = 9,
    kGravity = 10,
    kAngularVelocity = 12,
    kInterval = 13,
    kStartX = 16,
    kStartY = 17,
    kSensitivity = 18,
};

// Of the boxes whose values feed an overflowing product, the one with the
// largest magnitude is the one to blame.
BoxProblem tooLarge(std::initializer_list<std::pair<int, double>> candidates) {
    int box = candidates.begin()->first;
    double largest = -1;
    for (const auto& [b, v] : candidates) {
        const double m = std::isfinite(v) ? std::fabs(v) : HUGE_VAL;
        if (m > largest) {
            largest = m;
            box = b;
        }
    }
    return {box, "is too large: the numbers of the run would overflow."};
}

bool finite2(const std::array<double, 2>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]);
}

} // namespace

std::optional<BoxProblem> validateRun(const Params& p, const RunState& s) {
    if (p.vehicleMass == 0) return BoxProblem{kMass, "must not be 0."};
    if (p.momentInertia == 0) return BoxProblem{kInertia, "must not be 0."};
    if (p.steerDir == "L" || p.steerDir == "R") {
        const double rearDistance = std::fabs(p.frontShare * p.wheelbaseLength);
        if (p.turnRadius < rearDistance)
            return BoxProblem{kRadius, "must be at least the distance from the mass centre to "
                                       "the rear axle (" +
                                           formatNumber(rearDistance) + " m) when steering " +
                                           (p.steerDir == "L" ? "Left." : "Right.")};
    }

    // A trial pass from the start, on copies.
    Params tp = p;
    RunState ts = s;
    placeAtStart(tp, ts);
    calcForce(tp, ts);
    for (int i = 1; i <= 4; ++i)
        if (!std::isfinite(ts.wheelFriction[i]))
            return tooLarge({{kMass, p.vehicleMass},
                             {kFriction, p.kineticFriction},
                             {kGravity, s.gravity},
                             {kDistribution, 100 * (1 - p.frontShare)}});
    cornerpos(tp, ts);
    for (int i = 1; i <= 4; ++i)
        if (!finite2(ts.corner[i]))
            return tooLarge({{kLength, p.wheelbaseLength},
                             {kWidth, p.wheelbaseWidth},
                             {kDistribution, 100 * (1 - p.frontShare)}});
    FWheelNormal(tp, ts);
    if (!finite2(ts.wheelNormal[1]) || !finite2(ts.wheelNormal[2]))
        return tooLarge(
            {{kRadius, p.turnRadius}, {kLength, p.wheelbaseLength}, {kWidth, p.wheelbaseWidth}});
    if (!runPass(tp, ts))
        return tooLarge({{kSpeed, std::hypot(p.initVx, p.initVy)},
                         {kAngularVelocity, s.omega},
                         {kInterval, p.timeStep},
                         {kStartX, p.startX},
                         {kStartY, p.startY},
                         {kLength, p.wheelbaseLength},
                         {kWidth, p.wheelbaseWidth},
                         {kSensitivity, p.frontSensitivity}});
    return std::nullopt;
}

std::optional<BoxProblem> validateNormal(const Params& p) {
    const bool moving = p.initVx != 0 || p.initVy != 0;
    if (!moving || p.steerDir == "CE") return std::nullopt;
    if (p.turnRadius == 0 && (p.steerDir == "L" || p.steerDir == "R"))
        return BoxProblem{kRadius, "must not be 0 for a car that moves and steers."};
    if (!std::isfinite(iniOmega(p)))
        return BoxProblem{kRadius, "is too small: the angular velocity would overflow."};
    return std::nullopt;
}

std::optional<BoxProblem> validateInertia(const Params& p) {
    Params q = p;
    calcMmtInertia(q);
    if (!std::isfinite(q.momentInertia))
        return tooLarge(
            {{kLength, p.wheelbaseLength}, {kWidth, p.wheelbaseWidth}, {kMass, p.vehicleMass}});
    if (p.useGyration) return validateGyration(q);
    return std::nullopt;
}

std::optional<BoxProblem> validateGyration(const Params& p) {
    if (p.vehicleMass == 0) return BoxProblem{kMass, "must not be 0 for a radius of gyration."};
    const double k2 = p.momentInertia / p.vehicleMass;
    if (k2 < 0)
        return BoxProblem{kInertia, "has no real radius of gyration: the vehicle mass and the "
                                    "moment of inertia are of opposite sign."};
    if (!std::isfinite(k2)) return BoxProblem{kMass, "is too small for a radius of gyration."};
    return std::nullopt;
}

} // namespace yawmark
