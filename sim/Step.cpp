// SPDX-License-Identifier: MIT
#include "sim/Step.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace yawmark::sim {

namespace {

// The front wheels' slip test has always compared lengths in single
// precision. Beyond the range of a float a length is infinite (a plain cast
// would be undefined).
double toSingle(double v) {
    if (!(v <= FLT_MAX)) return std::numeric_limits<double>::infinity();
    return static_cast<double>(static_cast<float>(v));
}

Vec2 unitOrZero(Vec2 v) {
    const double len = length(v);
    return len == 0 ? Vec2{} : Vec2{v.x / len, v.y / len};
}

} // namespace

WheelPlacement placeWheels(const Car& car, double heading) {
    const double halfW = car.width / 2;
    const double front = (1 - car.frontShare) * car.length;
    const double rear = -car.frontShare * car.length;
    WheelPlacement w{Rot::fromAngle(heading), {}};
    w.offset[FL] = w.rotation.apply({-halfW, front});
    w.offset[FR] = w.rotation.apply({halfW, front});
    w.offset[RR] = w.rotation.apply({halfW, rear});
    w.offset[RL] = w.rotation.apply({-halfW, rear});
    return w;
}

// In normal driving every wheel rolls, so each one's axle line passes through
// the centre of the turn. The locked rear axle fixes that centre on the rear
// axle line; the mass centre, f·L ahead of the rear axle, circles it at R, so
// the centre lies √(R² − (f·L)²) beside the car's long axis, and
// d = √(R² − (f·L)²) − W/2 beside the inner wheels. In the body frame, each
// front wheel's axle then points from the centre of the turn to the wheel:
// (d, L) for the inner and (d + W, L) for the outer one, mirrored for a right
// turn. Straight ahead the axles point across the car.
std::array<Vec2, 2> frontAxles(const Car& car, const Rot& rotation) {
    Vec2 inner{}, outer{};
    switch (car.steering) {
    case Steering::Center:
        inner = {1, 0};
        outer = {1, 0};
        break;
    case Steering::Left:
    case Steering::Right: {
        const double R = car.turnRadius;
        const double fL = car.length * car.frontShare;
        const double d = std::sqrt(R * R - fL * fL) - car.width / 2;
        if (car.steering == Steering::Left) {
            inner = {d, car.length};
            outer = {d + car.width, car.length};
        } else {
            inner = {-d - car.width, car.length};
            outer = {-d, car.length};
        }
        break;
    }
    }
    return {unitOrZero(rotation.apply(inner)), unitOrZero(rotation.apply(outer))};
}

StepResult step(const Car& car, const Body& body, const WheelPlacement& wheels, double h) {
    StepResult r;
    r.body = body;
    r.frontAxle = frontAxles(car, wheels.rotation);
    const auto friction = wheelFriction(car);
    const double omega = body.yawRate;

    // Rigid-body wheel velocities v_i = v + ω × r_i (ω along z).
    for (int i = 0; i < kWheelCount; ++i) {
        const Vec2 r_i = wheels.offset[i];
        r.wheelVelocity[i] = {(0.0 - omega * r_i.y) + body.velocity.x,
                              (omega * r_i.x - 0.0) + body.velocity.y};
    }

    // A front wheel rolls freely along its rolling direction and slides only
    // across it, once the sideways part of its velocity exceeds the
    // sensitivity times its speed; then kinetic friction acts along the axle
    // against that slip.
    for (int i = FL; i <= FR; ++i) {
        const Vec2 n = r.frontAxle[i];
        const Vec2 v = r.wheelVelocity[i];
        const double lateral = dot(n, v);
        const double limit = toSingle(length(n)) * car.frontSensitivity * toSingle(length(v));
        double k = 0;
        if (!(limit >= std::fabs(lateral))) k = lateral > 0 ? 1 : (lateral < 0 ? -1 : 0);
        const double f = -k * friction[i];
        r.wheelForce[i] = {f * n.x, f * n.y};
        r.force = r.force + r.wheelForce[i];
    }
    // A locked rear wheel slides against its own velocity with full kinetic
    // friction; standing still it has no direction to slide in, and no force.
    for (int i = RR; i <= RL; ++i) {
        const Vec2 v = r.wheelVelocity[i];
        const double speed = length(v);
        if (speed == 0) continue;
        const double f = -friction[i];
        r.wheelForce[i] = {f * v.x / speed, f * v.y / speed};
        r.force = r.force + r.wheelForce[i];
    }
    for (int i = 0; i < kWheelCount; ++i)
        r.torque += cross(wheels.offset[i], r.wheelForce[i]);

    // Constant acceleration over the step.
    const Vec2 a{r.force.x / car.mass, r.force.y / car.mass};
    const double alpha = r.torque / car.inertia;
    const double hh = h * h;
    Body next;
    next.time = body.time + h;
    next.position = {body.position.x + body.velocity.x * h + (a.x * 0.5) * hh,
                     body.position.y + body.velocity.y * h + (a.y * 0.5) * hh};
    next.velocity = {body.velocity.x + a.x * h, body.velocity.y + a.y * h};
    next.heading = body.heading + omega * h + (alpha * 0.5) * hh;
    next.yawRate = omega + alpha * h;
    if (!(std::isfinite(next.time) && isFinite(next.position) && isFinite(next.velocity) &&
          std::isfinite(next.heading) && std::isfinite(next.yawRate))) {
        // The step does not happen, and none of its numbers (which may be
        // what overflowed) stay behind.
        r = StepResult{};
        r.body = body;
        return r;
    }

    // Kinetic friction keeps its full size down to zero speed, so without a
    // stop it would overshoot and push the car back. The step that turns the
    // velocity back (v_old·v_new ≤ 0) while the yaw stops or turns back
    // (ω_old·ω_new ≤ 0) is the one in which the car came to rest: it ends
    // there, exactly, and with no velocity no force acts on it again.
    if (dot(body.velocity, next.velocity) <= 0 && omega * next.yawRate <= 0) {
        next.velocity = {};
        next.yawRate = 0;
    }
    r.finite = true;
    r.body = next;
    r.acceleration = a;
    r.yawAcceleration = alpha;
    return r;
}

} // namespace yawmark::sim
