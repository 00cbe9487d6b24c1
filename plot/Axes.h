// The axes: clears the plot, maps the world ranges (widened for the panel, the
// labels and the window's shape) onto the drawing area, and draws both axes
// with ticks and labels every scale interval. The stored ranges never change.
#pragma once

#include "plot/Surface.h"
#include "sim/Params.h"

#include <optional>
#include <string>

namespace yawmark {

// Most ticks on one half of an axis; a finer interval is coarsened to stay below.
inline constexpr int kMaxTicksPerHalfAxis = 200;

// Why the axes could not be drawn: an error number and its description.
struct ScaleFailure {
    int number;
    std::string description;
};

// Draws the axes for the ranges and intervals of `params`. On failure the
// drawing stops where it was and the failure is returned for the window to show.
std::optional<ScaleFailure> DrawScale(Surface& surface, const Params& params);

// The Clear button's drawing: clears the plot, then draws the axes.
std::optional<ScaleFailure> cmdClear_Click(Surface& surface, const Params& params);

// The three lines of the message box for a failure ("Error" is its title).
std::string scaleFailureText(const ScaleFailure& failure);

// The labelled interval actually used for an axis reaching out to `extent`
// metres from the origin: `interval` or a multiple of it (2, 5, 10, 20, ...
// times), so that a half-axis carries at most kMaxTicksPerHalfAxis ticks.
double tickInterval(double interval, double extent);

} // namespace yawmark
