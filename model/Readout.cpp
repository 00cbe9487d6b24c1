// SPDX-License-Identifier: MIT
#include "model/Readout.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace yawmark::model {

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;

// A number with `decimals` places and a true minus sign (U+2212), as the
// status bar shows numbers; -0.00 shows as 0.00.
std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::abs(value));
    const bool negative =
        value < 0 && std::string_view(buffer).find_first_not_of("0.") != std::string_view::npos;
    return (negative ? "\u2212" : "") + std::string(buffer);
}

} // namespace

std::optional<Readout> readout(const Record& record) {
    if (record.empty()) return std::nullopt;
    const Sample& s = record.newest();
    Readout r;
    r.time = s.time;
    r.position = s.position;
    r.speed = length(s.velocity);
    r.turned = (s.heading - record.samples().front().heading) * kDegrees;
    r.yawRate = s.yawRate * kDegrees;
    r.distance = record.distance();
    r.atRest = s.velocity.x == 0 && s.velocity.y == 0 && s.yawRate == 0;
    return r;
}

std::string readoutText(const Readout& r) {
    if (r.atRest)
        return "At rest after " + fixed(r.time, 2) + " s at (" + fixed(r.position.x, 2) + ", " +
               fixed(r.position.y, 2) + ") m; slid " + fixed(r.distance, 1) + " m, turned " +
               fixed(r.turned, 1) + "\u00B0";
    return "t = " + fixed(r.time, 2) + " s   " + fixed(r.speed, 2) + " m/s (" +
           fixed(r.speed * 3.6, 1) + " km/h)   turned " + fixed(r.turned, 1) +
           "\u00B0   yaw rate " + fixed(r.yawRate, 1) + "\u00B0/s   slid " + fixed(r.distance, 1) +
           " m";
}

std::optional<double> gripDemand(const Case& c) {
    const sim::Car& car = c.car;
    if (car.steering == sim::Steering::Center) return std::nullopt;
    // Circling at speed v on radius R takes a sideways acceleration v²/R; the
    // tyres hold at most μ·g of it before they slide.
    const double v = length(c.launch.velocity);
    const double demand = v * v / std::abs(car.turnRadius) / (car.friction * car.gravity);
    if (!std::isfinite(demand) || !(demand > 1)) return std::nullopt;
    return demand;
}

std::string gripNoteText(double demand) {
    return "Note: this speed on this turning radius needs " + fixed(demand, 1) +
           " times the sideways grip the tyres give (v\u00B2/R > \u03BC\u00B7g).";
}

} // namespace yawmark::model
