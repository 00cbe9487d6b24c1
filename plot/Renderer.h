// SPDX-License-Identifier: MIT
// Everything the plot draws, through a Surface and for a View: the axes with
// their labelled ticks, tyre marks surveyed on the road, and for each pass the
// five trails and the outline of the car (on screen only, or lasting at the
// start and at snapshots).
#pragma once

#include "plot/Surface.h"
#include "plot/View.h"
#include "sim/Draw.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace yawmark::plot {

// Narrowest visible plot, pixels, that shows the legend: a narrower one (the
// batch runner's default image) would be mostly legend.
inline constexpr double kMinLegendPlotWidth = 400;

// Tyre marks: a grey line through the surveyed points, each a dot this wide.
inline constexpr Color kMarkColor = 0xA0A0A0u;
inline constexpr int kMarkDotPixels = 3;

// Most ticks on one half of an axis; a finer interval is coarsened to stay below.
inline constexpr int kMaxTicksPerHalfAxis = 200;

// Why the axes could not be drawn: an error number and its description.
struct ScaleFailure {
    int number;
    std::string description;
};
// The three lines of the message box for a failure ("Error" is its title).
std::string scaleFailureText(const ScaleFailure& failure);

// The labelled interval used for an axis reaching `extent` metres from the
// origin: `interval` times 1, 2, 5, 10, 20, ... so that a half-axis carries at
// most kMaxTicksPerHalfAxis ticks.
double tickInterval(double interval, double extent);

// The smallest of 1, 2, 5, 10, 20, ... times a power of ten that is at least
// `least` (positive and finite).
double niceInterval(double least);

class Renderer : public sim::Drawer {
public:
    Renderer(Surface& surface, const View& view) : surface_(&surface), view_(&view) {}

    Surface& surface() const { return *surface_; }
    void setSurface(Surface& surface) { surface_ = &surface; }

    // Clears the plot, maps the view's ranges (widened for the panel, the
    // labels and the window's shape) onto the drawing area and draws both axes.
    // On failure the drawing stops where it was.
    std::optional<ScaleFailure> drawAxes(const Frame& frame);

    // A tyre mark: lasting, under whatever is drawn after it (draw the marks
    // right after the axes). The pen is left as it was.
    void drawMark(std::span<const sim::Vec2> points);

    // Where a stretch of passes begins: the view's pen and a dot at the start.
    void beginPasses(sim::Vec2 at);
    // Where it ends: drawing lasting again, a pen one pixel wide, the screen up to date.
    void endPasses();

    // The trails' points and the outline of one pass.
    void drawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) override;
    void redrawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) override;

private:
    static std::array<sim::Vec2, kTrailCount> trailPoints(const sim::Body& body,
                                                          const sim::WheelPlacement& wheels);
    void plotTrails(const std::array<sim::Vec2, kTrailCount>& points, bool lasting);
    void drawOutline(const std::array<sim::Vec2, kTrailCount>& points, bool lasting);

    Surface* surface_;
    const View* view_;
    // The last point of each joined trail, and whether it was joined there.
    std::array<sim::Vec2, kTrailCount> last_{};
    std::array<bool, kTrailCount> wasJoined_{};
};

} // namespace yawmark::plot
