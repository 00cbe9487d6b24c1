// SPDX-License-Identifier: MIT
// One integration step of the skid, as a function of values: the car, the
// body state at the start of the step and the step length give the body state
// at its end, with everything the step computed on the way.
#pragma once

#include "sim/Car.h"
#include "sim/Vec2.h"

#include <array>

namespace yawmark::sim {

// The rigid body, world frame.
struct Body {
    Vec2 position; // of the mass centre
    Vec2 velocity;
    double heading = 0; // 0 points the car along +y; counter-clockwise positive
    double yawRate = 0; // ω, counter-clockwise positive
    double time = 0;    // simulated time
};

// Where the wheels are for a heading: offsets from the mass centre in world
// orientation, and the rotation that put them there.
struct WheelPlacement {
    Rot rotation;
    std::array<Vec2, kWheelCount> offset;
};

// Everything a step computed, per wheel 0-based.
struct StepResult {
    bool finite = false; // false: the step's numbers would not stay finite; then `body` is
                         // the start state and everything else zero
    Body body;           // the state at the end of the step
    std::array<Vec2, kWheelCount> wheelVelocity;
    std::array<Vec2, kWheelCount> wheelForce;
    std::array<Vec2, 2>
        frontAxle;     // unit axle directions of FL and FR (zero for a zero-length axle)
    Vec2 force;        // sum of the wheel forces
    double torque = 0; // their moment about the mass centre
    Vec2 acceleration;
    double yawAcceleration = 0;
};

// The four wheels around the mass centre for a heading.
WheelPlacement placeWheels(const Car& car, double heading);

// Axle directions of the two front wheels (unit vectors, world frame): the
// steering of normal driving held through the skid.
std::array<Vec2, 2> frontAxles(const Car& car, const Rot& rotation);

// One step of length h from `body` with the wheels where `wheels` puts them
// (placeWheels of the same heading). The forces are found at the start and
// held over the step.
StepResult step(const Car& car, const Body& body, const WheelPlacement& wheels, double h);

inline StepResult step(const Car& car, const Body& body, double h) {
    return step(car, body, placeWheels(car, body.heading), h);
}

} // namespace yawmark::sim
