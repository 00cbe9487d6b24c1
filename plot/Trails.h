// The trails of the five tracked points: one dot or one segment per point and
// pass, in the point's colour.
#pragma once

#include "plot/Surface.h"
#include "sim/Params.h"
#include "sim/RunState.h"
#include "sim/TrackedPoints.h"

#include <array>

namespace yawmark {

// What the trails remember between passes; lives as long as the window.
struct TrailMemory {
    std::array<double, kPointCount> lastX{}; // last point plotted on each joined trail, m
    std::array<double, kPointCount> lastY{};
    std::array<bool, kPointCount> joined{}; // the trail was joined into lines on its last point
};

// Plots one point of trail `index` (0..4): a dot, or a segment from the trail's
// last point when the trail is joined, no snapshot restarts it, and it was
// already joined at its previous point.
void MyPset(Surface& surface, const Params& params, bool snapDone, TrailMemory& memory, double x,
            double y, int index);

// Plots the mass centre and the four wheels (mass centre + corner) of the current pass.
void DrawLocus(Surface& surface, const Params& params, const RunState& run, TrailMemory& memory);

} // namespace yawmark
