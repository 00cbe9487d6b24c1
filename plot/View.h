// SPDX-License-Identifier: MIT
// What part of the world the plot shows and how: the ranges, the labelled
// tick intervals, the pen, the trails' colours and whether each is joined.
// Gestures change the view, never the run.
#pragma once

#include "plot/Surface.h"
#include "sim/Vec2.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace yawmark::plot {

// The five trails: the mass centre and the wheels FL, FR, RR, RL.
inline constexpr int kTrailCount = 5;
// Black, red, magenta, blue, green.
inline constexpr std::array<Color, kTrailCount> kTrailColors{0x000000u, 0x0000FFu, 0xFF00FFu,
                                                             0xFF0000u, 0x00FF00u};
// The rear edge of every outline: the locked axle.
inline constexpr Color kRearEdgeColor = 0xFFFF00u; // cyan

// Share of the skid's size Fit Skid leaves free on each side.
inline constexpr double kFitMargin = 0.05;
// Share of a followed skid's size left free on each side.
inline constexpr double kFollowMargin = 0.05;

// Narrowest and widest range a zoom step may leave, metres.
inline constexpr double kMinRange = 1e-6;
inline constexpr double kMaxRange = 1e12;
// Widest pen the plot uses, pixels.
inline constexpr int kMaxPenWidth = 50;

struct View {
    double xMin = -20, xMax = 7.5, yMin = -15, yMax = 35; // metres
    double xInterval = 4, yInterval = 4;                  // labelled ticks, in `unit`s
    double unit = 1;                                      // metres in a labelled unit (0.3048: feet)
    double pixelSize = 1;                                 // pen of the trails and outlines
    std::array<bool, kTrailCount> joined{};
    std::array<Color, kTrailCount> colors = kTrailColors;
    // The gestures on the plot leave the labelled interval to the drawing,
    // which picks the 1-2-5 value that keeps labels apart; the Scale Interval
    // bar takes it back by hand.
    bool autoIntervals = false;
    bool legend = true; // a key to the five colours, where the plot is wide enough

    // One step of a pan or zoom bar; k counts only for its sign. Each returns
    // whether the view changed (and the axes must be drawn again).
    // k = +1 moves the view toward smaller x by 4 % of its width.
    bool panX(int k);
    // k = +1 moves the view toward larger y by 4 % of its height.
    bool panY(int k);
    // k = +1 leaves 80 % of each range about its centre, k = -1 makes it 120 %;
    // a step that would leave a range outside kMinRange..kMaxRange is refused.
    bool zoom(int k);
    // Both intervals up or down by 1, 5, 25 or 100 depending on their size,
    // never below 1.
    bool stepInterval(int k);

    // The gestures. Each returns whether the view changed; a step that would
    // leave a range outside kMinRange..kMaxRange or the numbers is refused.
    // Both ranges scaled by `factor` about world point `at` (which stays put).
    bool zoomAbout(sim::Vec2 at, double factor);
    // The view moved by (dx, dy) metres.
    bool panBy(double dx, double dy);
    // The ranges around the box lo..hi with `margin` of its size on every side.
    bool fit(sim::Vec2 lo, sim::Vec2 hi, double margin);
    // Following a run: both ranges grown by one factor, so that the width is
    // the next value of 1, 2, 5, 10, ... (in `unit`s) that holds the box lo..hi
    // with kFollowMargin around it, and at least doubles the area; centred
    // on the box.
    bool grow(sim::Vec2 lo, sim::Vec2 hi);
};

// Names and colours of the five trails, in the legend's order.
inline constexpr std::array<std::string_view, kTrailCount> kTrailNames{
    "mass centre", "front left", "front right", "rear right", "rear left"};

// The pen width for a pixel size: rounded to the nearest integer (halves to
// the even neighbour), held within 1..kMaxPenWidth.
int penWidthFor(double pixelSize);

// The drawing area the axes are laid out in, device-independent pixels.
struct Frame {
    double width = 0, height = 0;
};

// The largest image an export or yawmark-batch --size makes: a side, and the
// whole area in pixels (an RGB image of 32 Mpx takes 128 MiB).
inline constexpr int kMaxImageSide = 8192;
inline constexpr long long kMaxImagePixels = 32LL * 1024 * 1024;
// Width and height from "WxH" (x or X, blanks around either number): whole
// numbers from 1 to kMaxImageSide, at most kMaxImagePixels in all; else nothing.
std::optional<std::pair<int, int>> parseImageSize(std::string_view text);

} // namespace yawmark::plot
