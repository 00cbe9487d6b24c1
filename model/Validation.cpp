// SPDX-License-Identifier: MIT
#include "model/Validation.h"

#include "sim/NumberText.h"
#include "sim/Step.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace yawmark::model {

namespace {

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

} // namespace

std::optional<BoxProblem> validateRun(const Case& c) {
    const sim::Car& car = c.car;
    if (car.mass == 0) return BoxProblem{kMassBox, "must not be 0."};
    if (car.inertia == 0) return BoxProblem{kInertiaBox, "must not be 0."};
    if (car.steering != sim::Steering::Center) {
        // The front axles' geometry needs R ≥ |f·L| (a square root of R² − (f·L)²).
        const double rearDistance = std::fabs(car.frontShare * car.length);
        if (car.turnRadius < rearDistance)
            return BoxProblem{kRadiusBox,
                              "must be at least the distance from the mass centre to the rear "
                              "axle (" +
                                  formatNumber(rearDistance) + " m) when steering " +
                                  (car.steering == sim::Steering::Left ? "Left." : "Right.")};
    }

    const double distribution = 100 * (1 - car.frontShare);
    for (double f : sim::wheelFriction(car))
        if (!std::isfinite(f))
            return tooLarge({{kMassBox, car.mass},
                             {kFrictionBox, car.friction},
                             {kGravityBox, car.gravity},
                             {kDistributionBox, distribution}});
    const sim::Body body = c.launch.body();
    const sim::WheelPlacement wheels = sim::placeWheels(car, body.heading);
    for (sim::Vec2 offset : wheels.offset)
        if (!sim::isFinite(offset))
            return tooLarge({{kLengthBox, car.length},
                             {kWidthBox, car.width},
                             {kDistributionBox, distribution}});
    for (sim::Vec2 axle : sim::frontAxles(car, wheels.rotation))
        if (!sim::isFinite(axle))
            return tooLarge(
                {{kRadiusBox, car.turnRadius}, {kLengthBox, car.length}, {kWidthBox, car.width}});
    if (!sim::step(car, body, wheels, c.run.timeStep).finite)
        return tooLarge({{kSpeedBox, std::hypot(body.velocity.x, body.velocity.y)},
                         {kYawRateBox, body.yawRate},
                         {kIntervalBox, c.run.timeStep},
                         {kStartXBox, body.position.x},
                         {kStartYBox, body.position.y},
                         {kLengthBox, car.length},
                         {kWidthBox, car.width},
                         {kSensitivityBox, car.frontSensitivity}});
    return std::nullopt;
}

std::optional<BoxProblem> validateNormal(const Case& c) {
    const bool moving = c.launch.velocity.x != 0 || c.launch.velocity.y != 0;
    if (!moving || c.car.steering == sim::Steering::Center) return std::nullopt;
    if (c.car.turnRadius == 0)
        return BoxProblem{kRadiusBox, "must not be 0 for a car that moves and steers."};
    if (!std::isfinite(sim::normalYawRate(c.car.steering, c.car.turnRadius, c.launch.velocity)))
        return BoxProblem{kRadiusBox, "is too small: the angular velocity would overflow."};
    return std::nullopt;
}

std::optional<BoxProblem> validateInertia(const sim::Car& car, InertiaForm form) {
    sim::Car homogeneous = car;
    homogeneous.inertia = sim::homogeneousInertia(car);
    if (!std::isfinite(homogeneous.inertia))
        return tooLarge({{kLengthBox, car.length}, {kWidthBox, car.width}, {kMassBox, car.mass}});
    if (form == InertiaForm::Gyration) return validateGyration(homogeneous);
    return std::nullopt;
}

std::optional<BoxProblem> validateGyration(const sim::Car& car) {
    if (car.mass == 0) return BoxProblem{kMassBox, "must not be 0 for a radius of gyration."};
    const double k2 = car.inertia / car.mass;
    if (k2 < 0)
        return BoxProblem{kInertiaBox, "has no real radius of gyration: the vehicle mass and the "
                                       "moment of inertia are of opposite sign."};
    if (!std::isfinite(k2)) return BoxProblem{kMassBox, "is too small for a radius of gyration."};
    return std::nullopt;
}

} // namespace yawmark::model
