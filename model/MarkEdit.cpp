// SPDX-License-Identifier: MIT
#include "model/MarkEdit.h"

#include <cmath>
#include <numeric>

namespace yawmark::model {

namespace {

bool exists(const std::vector<Mark>& marks, MarkPoint p) {
    return p.mark < marks.size() && p.index < marks[p.mark].points.size();
}

bool usable(sim::Vec2 p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && withinReach(p);
}

} // namespace

std::optional<MarkPoint> nearestMarkPoint(const std::vector<Mark>& marks, sim::Vec2 at,
                                          double reach) {
    std::optional<MarkPoint> best;
    double bestDistance = reach;
    for (std::size_t m = 0; m < marks.size(); ++m)
        for (std::size_t i = 0; i < marks[m].points.size(); ++i) {
            const double d = sim::length(marks[m].points[i] - at);
            if (d <= bestDistance) bestDistance = d, best = MarkPoint{m, i};
        }
    return best;
}

std::optional<MarkPoint> addMarkPoint(std::vector<Mark>& marks, sim::Wheel wheel, sim::Vec2 at) {
    const std::size_t total = std::accumulate(
        marks.begin(), marks.end(), std::size_t{0},
        [](std::size_t n, const Mark& m) { return n + m.points.size(); });
    if (!usable(at) || total >= kMaxMarkPoints) return std::nullopt;
    std::size_t m = marks.size();
    while (m > 0 && marks[m - 1].wheel != wheel)
        --m;
    if (m == 0) {
        marks.push_back(Mark{.wheel = wheel});
        m = marks.size();
    }
    marks[m - 1].points.push_back(at);
    return MarkPoint{m - 1, marks[m - 1].points.size() - 1};
}

bool moveMarkPoint(std::vector<Mark>& marks, MarkPoint point, sim::Vec2 to) {
    if (!exists(marks, point) || !usable(to)) return false;
    marks[point.mark].points[point.index] = to;
    return true;
}

bool removeMarkPoint(std::vector<Mark>& marks, MarkPoint point) {
    if (!exists(marks, point)) return false;
    auto& points = marks[point.mark].points;
    points.erase(points.begin() + static_cast<std::ptrdiff_t>(point.index));
    if (points.empty()) marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(point.mark));
    return true;
}

} // namespace yawmark::model
