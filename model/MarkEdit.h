// SPDX-License-Identifier: MIT
// Tyre marks edited point by point, as they are digitised on the scene: a
// point added to a wheel's mark, found near where the user clicked, moved or
// removed. A point is named by its mark and its place along it.
#pragma once

#include "model/Marks.h"

#include <optional>
#include <vector>

namespace yawmark::model {

struct MarkPoint {
    std::size_t mark = 0;  // index into the marks
    std::size_t index = 0; // along the mark
    friend bool operator==(const MarkPoint&, const MarkPoint&) = default;
};

// The point nearest `at`, if one lies within `reach` of it (a distance in the
// marks' own frame; ties go to the point drawn last, which lies on top).
std::optional<MarkPoint> nearestMarkPoint(const std::vector<Mark>& marks, sim::Vec2 at,
                                          double reach);

// `at` added after the last point of the wheel's last mark; a wheel without
// a mark gets one, with the default σ, as an imported CSV gives it. Nothing
// is added past kMaxMarkPoints in all, nor a point out of reach.
std::optional<MarkPoint> addMarkPoint(std::vector<Mark>& marks, sim::Wheel wheel, sim::Vec2 at);

// False where there is no such point, or `to` is out of reach.
bool moveMarkPoint(std::vector<Mark>& marks, MarkPoint point, sim::Vec2 to);

// The point taken out; a mark left without points goes with it.
bool removeMarkPoint(std::vector<Mark>& marks, MarkPoint point);

} // namespace yawmark::model
