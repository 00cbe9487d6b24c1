// SPDX-License-Identifier: MIT
// The report's drawings, in vector form on any painter: the skid at scale,
// a mark's residuals and an outcome's histogram.
#pragma once

#include "model/Marks.h"
#include "model/Record.h"
#include "model/Units.h"
#include "plot/Scene.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace yawmark::report {

// The skid of `record` at one scale in x and y inside `area`: the five trails,
// the outline at the start, at every lasting pass and at rest, the marks
// under them, the scene's photo and lines under those (if any), a scale bar
// in the chosen units and a legend.
void paintSkid(QPainter& painter, const QRectF& area, const model::Record& record,
               const std::vector<model::Mark>& marks, model::Units units,
               const plot::SceneLayer* scene = nullptr);

// Each point of a mark as (distance along the mark from its first point,
// signed distance to the trail: positive to the left of the trail's way), m.
// Nothing for a trail of fewer than two points.
std::vector<QPointF> markResiduals(const model::Mark& mark, const std::vector<sim::Vec2>& trail);

// The residuals of one mark against the distance along it, with the band ±2σ.
void paintResiduals(QPainter& painter, const QRectF& area, const std::vector<QPointF>& residuals,
                    double sigma, const QString& title, model::Units units);

// Bins for a histogram: `count` equal bins from the least value to the
// greatest, the greatest in the last. All in the first bin when the values
// are all the same; none for no values.
std::vector<int> histogramBins(const std::vector<double>& values, int count);

// A histogram of `values` (already in the unit shown) with its title.
void paintHistogram(QPainter& painter, const QRectF& area, const std::vector<double>& values,
                    const QString& title);

} // namespace yawmark::report
