// SPDX-License-Identifier: MIT
// Everything the plot draws, through a Surface and for a View: the axes with
// their labelled ticks, tyre marks surveyed on the road, and for each pass the
// five trails and the outline of the car (on screen only, or lasting at the
// start and at snapshots).
#pragma once

#include "plot/Scene.h"
#include "plot/Surface.h"
#include "plot/View.h"
#include "sim/Draw.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yawmark::plot {

// Narrowest visible plot, pixels, that shows the legend: a narrower one (the
// batch runner's default image) would be mostly legend.
inline constexpr double kMinLegendPlotWidth = 400;

// Tyre marks: a line through the surveyed points, each a dot this wide, in
// grey tinted toward the colour of their wheel's trail, and the wheel's code
// ("RL") by the first point.
inline constexpr Color kMarkColor = 0xA0A0A0u;
inline constexpr int kMarkDotPixels = 3;
// The colour of a mark of wheel FL, FR, RR or RL (0..3).
Color markColor(int wheel);
// The legend's names of the marks, and the codes written by them.
inline constexpr std::array<std::string_view, 4> kMarkNames{"mark front left", "mark front right",
                                                            "mark rear right", "mark rear left"};
inline constexpr std::array<std::string_view, 4> kWheelCodes{"FL", "FR", "RR", "RL"};

// A Monte Carlo run's picture: a few sampled trails of the mass centre, faint;
// where each draw came to rest, a dot; the 95% region of those rests, outlined.
struct Cloud {
    std::vector<std::vector<sim::Vec2>> trails;
    std::vector<sim::Vec2> rests;
    std::vector<sim::Vec2> region; // a closed outline, its last point joined to its first
    friend bool operator==(const Cloud&, const Cloud&) = default;
};
// Orange, apart from the five trails' colours.
inline constexpr Color kCloudTrailColor = 0xA0C8F0u;  // pale orange
inline constexpr Color kCloudRestColor = 0x1090F0u;   // orange
inline constexpr Color kCloudRegionColor = 0x0040A0u; // dark orange
inline constexpr int kCloudDotPixels = 2;

// A run kept for comparison: its five trails (the mass centre, FL, FR, RR,
// RL), drawn thin in one pale colour of its own under everything after them,
// with the car's outline where its trace ends.
struct ReferenceTrails {
    std::array<std::vector<sim::Vec2>, kTrailCount> trails;
};
inline constexpr std::array<Color, 3> kReferenceColors{0xDC9696u,  // lavender
                                                       0x82BE82u,  // pale green
                                                       0x78A0C8u}; // tan

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
    // The scene drawAxes() draws: its photo beneath the axes, its lines,
    // dimension and scale bar over them. Kept by the caller; none: nullptr.
    void setScene(const SceneLayer* scene) { scene_ = scene; }
    void setSurface(Surface& surface) { surface_ = &surface; }

    // Clears the plot, maps the view's ranges (widened for the labels and the
    // drawing area's shape) onto the drawing area and draws both axes.
    // On failure the drawing stops where it was.
    // The legend names the trails, then `more` (the marks shown).
    std::optional<ScaleFailure> drawAxes(const Frame& frame,
                                         std::span<const LegendEntry> more = {});

    // A tyre mark of wheel 0..3: lasting, under whatever is drawn after it
    // (draw the marks right after the axes). The pen is left as it was.
    void drawMark(std::span<const sim::Vec2> points, int wheel);

    // A Monte Carlo cloud: lasting, under what is drawn after it (draw it
    // after the marks, before the run). The pen is left as it was.
    void drawCloud(const Cloud& cloud);

    // Reference `which` (0..2, its colour): lasting, under what is drawn after
    // it (draw it after the marks, before the run). The pen is left as it was.
    void drawReference(const ReferenceTrails& reference, int which);

    // The car at one moment of a replay: its outline and wheels on the screen
    // only, over the trails, in place of the outline shown before.
    void showCar(const sim::Body& body, const sim::WheelPlacement& wheels);

    // Where a stretch of passes begins: the view's pen and a dot at the start.
    void beginPasses(sim::Vec2 at);
    // Where it ends: drawing lasting again, a pen one pixel wide, the screen up to date.
    void endPasses();

    // The trails' points and the outline of one pass.
    void drawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) override;
    void redrawCar(const sim::Body& body, const sim::WheelPlacement& wheels, bool lasting) override;

    // Whether the whole outline drawn last lies on the drawing area as the
    // last drawAxes() mapped it (nothing drawn yet: true).
    bool carInSight() const;

private:
    static std::array<sim::Vec2, kTrailCount> trailPoints(const sim::Body& body,
                                                          const sim::WheelPlacement& wheels);
    void plotTrails(const std::array<sim::Vec2, kTrailCount>& points, bool lasting);
    void drawOutline(const std::array<sim::Vec2, kTrailCount>& points, bool lasting);

    Surface* surface_;
    const View* view_;
    const SceneLayer* scene_ = nullptr;
    // The last point of each joined trail, and whether it was joined there.
    std::array<sim::Vec2, kTrailCount> last_{};
    std::array<bool, kTrailCount> wasJoined_{};
    std::array<sim::Vec2, kTrailCount> car_{}; // the points of the pass drawn last
    bool carDrawn_ = false;
    sim::Vec2 shownLo_{}, shownHi_{}; // the world the drawing area shows
};

} // namespace yawmark::plot
