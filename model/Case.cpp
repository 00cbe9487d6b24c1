// SPDX-License-Identifier: MIT
#include "model/Case.h"

namespace yawmark::model {

std::optional<Vehicle> preset(std::string_view name) {
    if (name == kVehicleNames[1]) return Vehicle{4.29, 1.82, 1139, 0.412, 10 / 11.16};
    if (name == kVehicleNames[2]) return Vehicle{7, 2, 4000, 0.7, 0.8};
    return std::nullopt;
}

void applyVehicle(const Vehicle& v, sim::Car& car) {
    car.length = v.length;
    car.width = v.width;
    car.mass = v.mass;
    car.frontShare = v.frontShare;
    car.friction = v.friction;
}

Case startupCase() {
    Case c;
    applyVehicle(*preset(kVehicleNames[1]), c.car);
    c.car.gravity = 9.8;
    c.car.steering = sim::Steering::Left;
    c.car.turnRadius = 17;
    c.car.frontSensitivity = 0.0001;
    c.car.inertia = sim::homogeneousInertia(c.car);
    c.launch.velocity = {0, 20};
    c.launch.yawRate = sim::normalYawRate(c.car.steering, c.car.turnRadius, c.launch.velocity);
    c.run.timeStep = 0.01;
    c.run.snapInterval = 0.4;
    return c;
}

} // namespace yawmark::model
