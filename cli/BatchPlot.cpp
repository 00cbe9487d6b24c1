// SPDX-License-Identifier: MIT
#include "cli/BatchPlot.h"

namespace yawmark {

BatchPlot::BatchPlot(int width, int height, const model::TrailStyle& style)
    : width_(width), height_(height), renderer_(surface_, view_) {
    view_.pixelSize = style.pixelSize;
    view_.joined = style.joined;
    surface_.resize(QSize(width_, height_), 1.0);
}

std::optional<std::string> BatchPlot::begin(sim::Vec2 start) {
    surface_.setPersistent(true);
    surface_.setPenWidth(1);
    if (auto failure = renderer_.drawAxes({double(width_), double(height_)}))
        return "the axes cannot be drawn: " + failure->description + ".";
    renderer_.beginPasses(start);
    return std::nullopt;
}

void BatchPlot::fitView(const model::Record& record) {
    if (const auto extent = record.extent()) view_.fit(extent->lo, extent->hi, plot::kFitMargin);
}

void BatchPlot::fitTo(const model::Record& record) {
    const auto extent = record.extent();
    if (!extent || !view_.fit(extent->lo, extent->hi, plot::kFitMargin)) return;
    surface_.setPersistent(true);
    surface_.setPenWidth(1);
    if (renderer_.drawAxes({double(width_), double(height_)})) return;
    renderer_.beginPasses(record.samples().front().position);
    record.replay(renderer_);
}

QImage BatchPlot::finish() {
    renderer_.endPasses();
    return surface_.composed();
}

} // namespace yawmark
