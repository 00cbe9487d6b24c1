// SPDX-License-Identifier: MIT
#include "model/Readout.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace yawmark::model {

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;

} // namespace

std::optional<Readout> readout(const Record& record) {
    if (record.empty()) return std::nullopt;
    return readoutAt(record, record.samples().size() - 1);
}

Readout readoutAt(const Record& record, std::size_t index) {
    const Sample& s = record.samples()[index];
    Readout r;
    r.time = s.time;
    r.position = s.position;
    r.speed = length(s.velocity);
    r.turned = (s.heading - record.samples().front().heading) * kDegrees;
    r.yawRate = s.yawRate * kDegrees;
    r.distance = s.distance;
    r.atRest = s.velocity.x == 0 && s.velocity.y == 0 && s.yawRate == 0;
    return r;
}

std::string readoutText(const Readout& r, Units units) {
    const double foot = lengthUnit(units);
    const std::string length(lengthName(units));
    const std::string slid = fixedText(r.distance / foot, 1) + " " + length;
    if (r.atRest)
        return "At rest after " + fixedText(r.time, 2) + " s at (" +
               fixedText(r.position.x / foot, 2) + ", " + fixedText(r.position.y / foot, 2) + ") " +
               length + "; slid " + slid + ", turned " + fixedText(r.turned, 1) + "\u00B0";
    const std::string speed =
        units == Units::US
            ? fixedText(r.speed / kMetresPerSecondPerMph, 1) + " mph"
            : fixedText(r.speed, 2) + " m/s (" + fixedText(r.speed * 3.6, 1) + " km/h)";
    return "t = " + fixedText(r.time, 2) + " s   " + speed + "   turned " +
           fixedText(r.turned, 1) + "\u00B0   yaw rate " + fixedText(r.yawRate, 1) +
           "\u00B0/s   slid " + slid;
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
    return "Note: this speed on this turning radius needs " + fixedText(demand, 1) +
           " times the sideways grip the tyres give (v\u00B2/R > \u03BC\u00B7g).";
}

} // namespace yawmark::model
