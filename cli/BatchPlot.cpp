// SPDX-License-Identifier: MIT
#include "cli/BatchPlot.h"

namespace yawmark {

BatchPlot::BatchPlot(int width, int height, const model::TrailStyle& style)
    : width_(width), height_(height), renderer_(surface_, view_) {
    view_.pixelSize = style.pixelSize;
    view_.joined = style.joined;
    surface_.resize(QSize(kPanelRightPixels + width_, height_), 1.0);
}

std::optional<std::string> BatchPlot::begin(sim::Vec2 start) {
    surface_.setPersistent(true);
    surface_.setPenWidth(1);
    const plot::Frame frame{(kPanelRightPixels + width_) * plot::kTwipsPerPixel,
                            (height_ + kMenuBarPixels) * plot::kTwipsPerPixel, kPanelLeftTwips,
                            kPanelWidthTwips};
    if (auto failure = renderer_.drawAxes(frame))
        return "the axes cannot be drawn: " + failure->description + ".";
    renderer_.beginPasses(start);
    return std::nullopt;
}

QImage BatchPlot::finish() {
    renderer_.endPasses();
    return surface_.composed().copy(kPanelRightPixels, 0, width_, height_);
}

} // namespace yawmark
