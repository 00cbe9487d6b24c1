// SPDX-License-Identifier: MIT
// The scene under the plot: a photo of the road placed in the plot's frame,
// the survey's other lines (road edges, kerbs) and a measurement taken on it.
//
// An image point is (column, row) from the top-left corner of the top-left
// pixel, rows growing downward; the plot's frame is metres with y upward. The
// placement is the affine map between them:
//
//   x = a·column + b·row + c
//   y = d·column + e·row + f
//
// A world file (.pgw, .jgw, .tfw, .wld) holds the same six numbers in the
// order a, d, b, e and the centre of the top-left pixel (c, f moved by half a
// pixel), in the drawing's unit.
#pragma once

#include "sim/Vec2.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace yawmark::model {

// The largest image a scene may have: a 100 megapixel photo already takes
// 400 MB in memory.
inline constexpr long long kMaxSceneImagePixels = 100'000'000;

struct Placement {
    double a = 1, b = 0, c = 0; // x of (column, row)
    double d = 0, e = -1, f = 0; // y of (column, row)
    sim::Vec2 toWorld(sim::Vec2 pixel) const;
    // The image point at a world point; nothing for a placement without extent.
    std::optional<sim::Vec2> toImage(sim::Vec2 world) const;
    // Metres per pixel (the square root of the area one pixel covers).
    double scale() const;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Why a placement cannot be used ("its scale is zero", "it holds a number
// that is not finite"), or nothing.
std::optional<std::string> placementProblem(const Placement& placement);

// The placement of a world file's text, its numbers in a unit of
// `metresPerUnit` metres, or the message naming the line.
std::variant<Placement, std::string> parseWorldFile(std::string_view text, double metresPerUnit);
// The text of a world file for the placement, in metres.
std::string worldFileText(const Placement& placement);

// Two-point calibration. By a distance: the image is taken upright (columns
// along x, rows along -y), the first point at `first`, the scale such that the
// two points lie `distance` metres apart.
std::variant<Placement, std::string> calibrateByDistance(sim::Vec2 pixel1, sim::Vec2 pixel2,
                                                         double distance,
                                                         sim::Vec2 first = {});
// By both points' coordinates: scale, rotation and position such that each
// pixel lands on its world point (never mirrored).
std::variant<Placement, std::string> calibrateByPoints(sim::Vec2 pixel1, sim::Vec2 world1,
                                                       sim::Vec2 pixel2, sim::Vec2 world2);

// The calibration the user's answer gives for two image points: one number
// is the distance between them (the first point put at the origin), four
// ("x1,y1 x2,y2") are both points' coordinates; in a unit of `metresPerUnit`
// metres. The message says what is wrong otherwise.
std::variant<Placement, std::string> calibrationOf(std::string_view answer, sim::Vec2 pixel1,
                                                   sim::Vec2 pixel2, double metresPerUnit);

// The placement of an image not yet calibrated: one pixel a unit of
// `metresPerUnit` metres, upright, its middle at the origin.
Placement provisionalPlacement(double width, double height, double metresPerUnit);

// Why an image of that size is not taken as a scene, or nothing.
std::optional<std::string> imageSizeProblem(long long width, long long height);

// A line of the survey that is not a tyre mark, drawn grey.
struct SceneLine {
    std::vector<sim::Vec2> points;
    friend bool operator==(const SceneLine&, const SceneLine&) = default;
};

inline constexpr double kDefaultSceneOpacity = 0.6;

struct Scene {
    std::string image; // the photo's path; empty: none
    Placement placement;
    double opacity = kDefaultSceneOpacity; // 0 (not shown) to 1 (opaque)
    std::vector<SceneLine> lines;
    bool empty() const { return image.empty() && lines.empty(); }
    friend bool operator==(const Scene&, const Scene&) = default;
};

// A measurement: two points give a distance, three the angle at the middle one.
struct Measurement {
    std::vector<sim::Vec2> points;
    // Metres between the first two points; nothing before there are two.
    std::optional<double> distance() const;
    // Degrees (0 to 180) between the legs from the second point to the first
    // and to the third; nothing before there are three, or with a leg of no length.
    std::optional<double> angle() const;
    bool complete() const { return points.size() >= 3; }
};

// Metres in one of the units a drawing may be in: "m", "cm", "mm", "ft", "in".
std::optional<double> parseLengthUnitName(std::string_view name);

} // namespace yawmark::model
