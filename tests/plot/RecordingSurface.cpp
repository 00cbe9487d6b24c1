// SPDX-License-Identifier: MIT
#include "plot/RecordingSurface.h"

#include <algorithm>
#include <iterator>

namespace yawmark::plot {

std::vector<RecordingSurface::Op> RecordingSurface::opsOf(Op::Kind kind) const {
    std::vector<Op> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                 [kind](const Op& op) { return op.kind == kind; });
    return out;
}

RecordingSurface::Op& RecordingSurface::record(Op::Kind kind, double x1, double y1, double x2,
                                               double y2) {
    return ops.emplace_back(Op{kind, x1, y1, x2, y2, kBlack, 0, pen_, persistent_});
}

void RecordingSurface::setWorldRect(double x1, double y1, double x2, double y2) {
    mapped_ = true;
    spanX_ = x2 - x1;
    spanY_ = y2 - y1;
    record(Op::WorldRect, x1, y1, x2, y2);
}

double RecordingSurface::textWidth(std::string_view text) const {
    const double unit = mapped_ ? spanX_ / metric.areaWidth : 1;
    return static_cast<double>(text.size()) * metric.charWidth * unit;
}

double RecordingSurface::textHeight() const {
    return metric.charHeight * (mapped_ ? spanY_ / metric.areaHeight : 1);
}

} // namespace yawmark::plot
