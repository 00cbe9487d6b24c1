// SPDX-License-Identifier: MIT
// Tyre marks surveyed on the road: each an ordered list of points (metres,
// the plot's frame) left by one wheel, with the uncertainty of the survey and
// what is known about its ends. Read from CSV, one row a point:
//
//   wheel,x,y
//   RL,-0.93,-1.61
//   RL,-0.95,-1.11
//   ...
//
// Consecutive rows of one wheel form one mark, in file order; a row of another
// wheel or a blank line starts the next mark. The header row is optional; a
// header wheel,x_ft,y_ft says the coordinates are in feet (wheel,x,y and
// wheel,x_m,y_m: metres), and they are read into metres.
#pragma once

#include "sim/Car.h"
#include "sim/Vec2.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace yawmark::model {

// A survey is good to a few centimetres.
inline constexpr double kDefaultMarkSigma = 0.05;
// More points than any survey has; a file with more is refused.
inline constexpr std::size_t kMaxMarkPoints = 100000;
// A survey's σ lies between a millimetre and ten metres; one outside makes
// the misfit overflow or mean nothing.
inline constexpr double kMinMarkSigma = 0.001;
inline constexpr double kMaxMarkSigma = 10;
// Points lie within a thousand kilometres of the origin, as a fitted start does.
inline constexpr double kMarkReach = 1e6;

bool sigmaInRange(double sigma);
bool withinReach(sim::Vec2 point);

struct Mark {
    sim::Wheel wheel = sim::RL;
    std::vector<sim::Vec2> points;
    double sigma = kDefaultMarkSigma; // uncertainty of each point, m
    bool startsAtPull = false;        // the first point is where the wheel was at the pull
    bool endsAtRest = false;          // the last point is where the wheel came to rest
    friend bool operator==(const Mark&, const Mark&) = default;
};

// "FL", "FR", "RR", "RL"; parsing takes any letter case and blanks around.
std::string_view wheelCode(sim::Wheel wheel);
std::optional<sim::Wheel> parseWheel(std::string_view text);

// The marks of a CSV text, or the message naming the line: `line 4: "x" is not
// a number: "1,2.5"`. Every mark gets the default σ and no flags.
std::variant<std::vector<Mark>, std::string> parseMarks(std::string_view csv);

// The CSV text of marks, as parseMarks reads it.
std::string marksCsv(const std::vector<Mark>& marks);

// Path length along a polyline, and along a mark's points.
double polylineLength(const std::vector<sim::Vec2>& points);
double markLength(const Mark& mark);

} // namespace yawmark::model
