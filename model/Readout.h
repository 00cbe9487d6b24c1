// SPDX-License-Identifier: MIT
// What the status bar says of a run: where the car is in its newest recorded
// pass, how fast, how far it has turned and slid, that it came to rest; and,
// at Draw, whether the turn asked for needs more grip than the tyres give.
#pragma once

#include "model/Case.h"
#include "model/Record.h"
#include "model/Units.h"

#include <cstddef>
#include <optional>
#include <string>

namespace yawmark::model {

struct Readout {
    double time = 0;     // s
    sim::Vec2 position;  // of the mass centre, m
    double speed = 0;    // m/s
    double turned = 0;   // heading since the start, degrees, counter-clockwise positive
    double yawRate = 0;  // degrees per second
    double distance = 0; // path of the mass centre, m
    bool atRest = false; // velocity and yaw rate exactly 0
};

// The readout of the newest sample; nothing for an empty record.
std::optional<Readout> readout(const Record& record);
// The readout of sample `index` (< record.samples().size()), as it was when
// that sample was the newest.
Readout readoutAt(const Record& record, std::size_t index);

// "t = 1.25 s   12.40 m/s (44.6 km/h)   turned 35.2°   yaw rate 41.0°/s   slid 18.3 m",
// or once at rest "At rest after 3.52 s at (−1.47, 30.28) m; slid 31.2 m, turned 161.7°".
// In US units lengths are in feet and the speed in mph ("27.7 mph").
std::string readoutText(const Readout& r, Units units = Units::Metric);

// How many times the sideways grip of the tyres (μ·g) driving the launch
// speed around the turning radius needs (v²/R); nothing when it needs no
// more than they give, or when the car goes straight.
std::optional<double> gripDemand(const Case& c);
// The status bar's note for a demand over 1.
std::string gripNoteText(double demand);

} // namespace yawmark::model
