// SPDX-License-Identifier: MIT
// A case: everything that defines a skid and can be typed in the window. The
// car, the moment of the pull (launch), how the run steps and how its trails
// are drawn. A value type; a Case read from the boxes has passed their
// checks, and everything past that point trusts it.
#pragma once

#include "model/BoxTable.h"
#include "sim/Car.h"
#include "sim/Step.h"

#include <array>
#include <optional>
#include <string_view>

namespace yawmark::model {

struct Launch {
    sim::Vec2 velocity; // of the mass centre
    double heading = 0; // where the car points; 0 along +y
    double yawRate = 0;
    sim::Vec2 start; // where the mass centre starts

    sim::Body body() const { return {start, velocity, heading, yawRate, 0}; }
};

struct RunSettings {
    double timeStep = 0;     // one pass, s (box 13 in ms)
    double snapInterval = 0; // automatic snapshots, s (box 14 in ms)
};

struct TrailStyle {
    double pixelSize = 1;                   // width of dots and lines, pixels
    std::array<bool, kTrailCount> joined{}; // join a trail's points into lines
};

struct Case {
    sim::Car car;
    Launch launch;
    RunSettings run;
    TrailStyle style;
};

// The vehicle a preset fills in: boxes 0 to 4.
struct Vehicle {
    double length, width, mass, frontShare, friction;
};

// Entries of the vehicle list, in order (spelled as the list has always shown them).
inline constexpr std::array<std::string_view, 3> kVehicleNames{"Custom", "McLaren F1",
                                                               "Imaginery Car"};
inline constexpr std::string_view kVehicleListTooltip =
    "Fills boxes 0 to 4. Your own vehicles follow the built-in ones: save and remove them "
    "with the button beside the list.";

// The preset of that name; nothing for "Custom" or a name not in the list.
std::optional<Vehicle> preset(std::string_view name);
void applyVehicle(const Vehicle& vehicle, sim::Car& car);

// The case at start-up and after "Reset All Variables": the McLaren F1 going
// 20 m/s along +y in a left turn of 17 m, in normal driving (its yaw rate),
// the moment of inertia of a homogeneous car, 10 ms passes.
Case startupCase();

} // namespace yawmark::model
