// SPDX-License-Identifier: MIT
#include "plot/ImagePlot.h"

namespace yawmark::plot {

ImagePlot::ImagePlot(int width, int height, const View& view)
    : width_(width), height_(height), view_(view), renderer_(surface_, view_) {
    surface_.resize(QSize(width_, height_), 1.0);
}

std::optional<std::string> ImagePlot::begin(sim::Vec2 start) {
    surface_.setPersistent(true);
    surface_.setPenWidth(1);
    if (auto failure = renderer_.drawAxes({double(width_), double(height_)}))
        return "the axes cannot be drawn: " + failure->description + ".";
    renderer_.beginPasses(start);
    return std::nullopt;
}

void ImagePlot::fitView(const model::Record& record) {
    if (const auto extent = record.extent()) view_.fit(extent->lo, extent->hi, kFitMargin);
}

void ImagePlot::fitTo(const model::Record& record) {
    const auto extent = record.extent();
    if (!extent || !view_.fit(extent->lo, extent->hi, kFitMargin)) return;
    surface_.setPersistent(true);
    surface_.setPenWidth(1);
    if (renderer_.drawAxes({double(width_), double(height_)})) return;
    renderer_.beginPasses(record.samples().front().position);
    record.replay(renderer_);
}

QImage ImagePlot::finish() {
    renderer_.endPasses();
    return surface_.composed();
}

} // namespace yawmark::plot
