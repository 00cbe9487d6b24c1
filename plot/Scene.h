// SPDX-License-Identifier: MIT
// What the plot draws of the scene: the photo beneath everything (axes,
// marks, trails) at an opacity, the survey's other lines in grey, a
// measurement as a dimension, and a scale bar.
#pragma once

#include "plot/Surface.h"
#include "sim/Vec2.h"

#include <QImage>
#include <QString>
#include <QTransform>

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace yawmark::plot {

inline constexpr Color kSceneLineColor = 0x909090u; // grey: plainly not a trail or a mark
inline constexpr Color kDimensionColor = 0x804000u; // dark blue
inline constexpr int kDimensionPixels = 2;

// A measurement drawn: two points (a distance) or three (an angle at the
// middle one), written `label` beside it.
struct Dimension {
    std::vector<sim::Vec2> points;
    std::string label;
};

struct SceneLayer {
    QImage image;         // none: no photo
    QTransform toWorld;   // its (column, row) to metres
    double opacity = 0.6; // 0 to 1
    bool showImage = true;
    std::vector<std::vector<sim::Vec2>> lines;
    std::vector<Dimension> dimensions;
    bool scaleBar = false;
};

// The placement (x = a·column + b·row + c, y = d·column + e·row + f) as a transform.
QTransform placementTransform(double a, double b, double c, double d, double e, double f);

// The photo at `path`, or the message naming the file: one that is not an
// image Qt reads, or of more pixels than a scene may have (looked at before
// it is read).
std::variant<QImage, std::string> loadSceneImage(const QString& path, long long maxPixels);

// The world box the scene covers (its photo and lines), for Fit Skid.
std::optional<std::pair<sim::Vec2, sim::Vec2>> sceneBounds(const SceneLayer& scene);

// The photo, beneath what is drawn after it: draw it first.
void drawSceneImage(Surface& surface, const SceneLayer& scene);
// The lines, the dimensions and the scale bar, lasting; the pen is left as it
// was. `lo`..`hi` is the world the drawing area shows, `unit` metres in the
// labelled unit and `unitName` its name (the scale bar counts in it).
void drawSceneMarks(Surface& surface, const SceneLayer& scene, sim::Vec2 lo, sim::Vec2 hi,
                    double unit, std::string_view unitName);

} // namespace yawmark::plot
