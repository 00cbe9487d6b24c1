// SPDX-License-Identifier: MIT
// The car and the ground it slides on. SI units throughout: metres, seconds,
// kilograms, newtons, radians.
//
// Seen from above, the car is a rigid rectangle through its four wheels: the
// front axle and the rear axle `length` apart, the left and right wheels
// `width` apart. The mass centre lies on the long axis, `frontShare`·length
// ahead of the rear axle, so that the static load puts the share frontShare
// of the weight on the front axle (take moments about the mass centre:
// F_front·(1-f)·L = F_rear·f·L with F_front + F_rear = m·g gives F_front = f·m·g).
#pragma once

#include "sim/Vec2.h"

#include <array>
#include <numbers>

namespace yawmark::sim {

enum class Steering { Left, Right, Center };

// The four wheels, 0-based. FL and FR form the rolling front axle, RR and RL
// the locked rear one.
enum Wheel : int { FL = 0, FR = 1, RR = 2, RL = 3 };
inline constexpr int kWheelCount = 4;

struct Car {
    double length = 0;     // L, front axle to rear axle
    double width = 0;      // W, left wheels to right wheels
    double mass = 0;       // m; any sign but 0
    double frontShare = 0; // f, share of the weight on the front axle
    double inertia = 0;    // I, moment of inertia about the vertical axis through the mass centre
    double friction = 0;   // μ, tyre coefficient of kinetic friction
    double gravity = 0;    // g
    Steering steering = Steering::Left;
    double turnRadius = 0;       // R, radius of the mass centre's circle in normal driving
    double frontSensitivity = 0; // 0..1: how far a front wheel may slip sideways before it slides
};

// Friction magnitude of each wheel. The static load is split between the
// axles by frontShare, and each wheel carries half its axle's share, so the
// four add up to m·g·μ.
inline std::array<double, kWheelCount> wheelFriction(const Car& car) {
    const double front = car.gravity * car.mass * car.friction * car.frontShare / 2;
    const double rear = car.gravity * car.mass * car.friction * (1 - car.frontShare) / 2;
    return {front, front, rear, rear};
}

// Moment of inertia of a homogeneous car filling its wheelbase rectangle:
// I = m·(W² + L²)/12. Where the squares alone would overflow, the product is
// taken as (h·m)·h/12 with h = hypot(W, L), so only an inertia that is itself
// too large to hold comes out infinite.
inline double homogeneousInertia(const Car& car) {
    const double inertia = (car.width * car.width + car.length * car.length) * car.mass / 12;
    if (std::isfinite(inertia)) return inertia;
    const double h = std::hypot(car.width, car.length);
    return h * car.mass * h / 12;
}

// Yaw rate of normal driving before the pull: the mass centre goes once around
// its circle of radius R in T = 2πR/v, and the car turns once with it, so
// ω = 2π/T (counter-clockwise positive, negative for a right turn, 0 straight
// ahead or at rest).
inline double normalYawRate(Steering steering, double turnRadius, Vec2 velocity) {
    if (velocity.x == 0 && velocity.y == 0) return 0;
    constexpr double pi = std::numbers::pi;
    const double circumference = 2 * pi * turnRadius;
    const double period = circumference / length(velocity);
    const double omega = 2 * pi / period;
    switch (steering) {
    case Steering::Left:
        return omega;
    case Steering::Right:
        return -omega;
    case Steering::Center:
        return 0;
    }
    return 0;
}

} // namespace yawmark::sim
