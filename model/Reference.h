// SPDX-License-Identifier: MIT
// A run kept to compare the next ones with: the case it ran and a trace of it,
// light enough to keep a few of and draw again at every redraw. A reference
// is the user's scratch work: it is not part of the case file.
#pragma once

#include "model/Case.h"
#include "model/Record.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace yawmark::model {

// Most references kept at once; pinning another lets the oldest go.
inline constexpr std::size_t kMaxReferences = 3;
// Most samples of a reference's trace: plenty for lines a pixel apart on a
// full screen, and cheap to draw again.
inline constexpr std::size_t kReferenceSamples = 4096;

// One moment of a run: where the mass centre and the wheels (FL, FR, RR, RL)
// were, and the numbers the charts show.
struct TracePoint {
    double time;
    std::array<sim::Vec2, kTrailCount> points; // the mass centre, then the wheels
    double speed;    // m/s
    double heading;  // since the start, radians, counter-clockwise positive
    double yawRate;  // rad/s
    double distance; // slid so far, m
};

// The trace of sample `index` of a record.
TracePoint tracePoint(const Record& record, std::size_t index);
// At most `most` (>= 2) samples of a record, evenly spread, its first and last
// always among them.
std::vector<TracePoint> evenTrace(const Record& record, std::size_t most);

struct Reference {
    Case runCase;
    std::vector<TracePoint> trace; // in time order, its first and last samples those of the run
};

// A reference of `record`, run with `runCase`: its even trace.
Reference makeReference(const Record& record, const Case& runCase,
                        std::size_t most = kReferenceSamples);

// What the boxes of `now` changed from those of `before`, each as caption,
// value then, value now and unit: "Initial Speed 25 → 27 m/s", joined by
// ", "; after `most` of them, how many more. Empty when the runs would be the
// same (the plot's pixel size and the snapshot interval change no path).
std::string differenceText(const Case& before, const Case& now, std::size_t most = 2);

} // namespace yawmark::model
