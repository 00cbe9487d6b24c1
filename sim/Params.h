// The shared parameters of a skid: the vehicle, the moment before the skid,
// the run settings and the plot settings. SI units throughout (metres,
// seconds, kilograms, newtons, radians); the parameter boxes convert from
// their display units when they are read.
//
// Until the start-up values are loaded every number is 0, every flag false and
// the steering code empty.
#pragma once

#include "sim/TrackedPoints.h"

#include <array>
#include <cstdint>
#include <string>

namespace yawmark {

struct Params {
    // Vehicle.
    double wheelbaseLength = 0; // L, front axle to rear axle, m
    double wheelbaseWidth = 0;  // W, left wheels to right wheels, m
    double vehicleMass = 0;     // m, kg
    double frontShare = 0;      // f, share of the weight on the front axle; the mass
                                // centre lies f·L ahead of the rear axle
    double momentInertia = 0;   // I about the vertical axis through the mass centre, kg·m²
    double kineticFriction = 0; // μ, tyre coefficient of kinetic friction

    // The moment before the skid.
    double initVx = 0;     // initial velocity of the mass centre, m/s
    double initVy = 0;     //   (direction of travel measured from +y, clockwise)
    double turnRadius = 0; // R, mass-centre turning radius in normal driving, m
    std::string steerDir;  // front-wheel steering: "L", "R" or "CE"

    // Run settings.
    double timeStep = 0;         // dt, s
    double nextSnapTime = 0;     // simulated time after which the next automatic snapshot falls, s
    double snapInterval = 0;     // automatic snapshot interval as read from its box, s
    double pixelSize = 0;        // width of plotted dots and lines, pixels (rounded when applied)
    double pi = 0;               // 4·atan(1)
    double frontSensitivity = 0; // 0..1: how far a front wheel may slip sideways before it slides

    // Plot: visible world ranges and tick spacing, metres.
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double xInterval = 0, yInterval = 0;
    double startX = 0, startY = 0; // starting position of the mass centre, m

    // Per tracked point (index of TrackedPoints.h).
    std::array<bool, kPointCount> connectPixels{};       // join successive points by lines
    std::array<std::uint32_t, kPointCount> pointColor{}; // 0x00BBGGRR, red in the low byte

    bool useGyration = false; // box 5 shows the radius of gyration k instead of I (I = k²·m)
};

} // namespace yawmark
