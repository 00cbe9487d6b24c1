#include "cli/BatchPlot.h"

#include "plot/Axes.h"
#include "plot/Outline.h"
#include "sim/Geometry.h"

namespace yawmark {

BatchPlot::BatchPlot(int width, int height) : geometry_(width, height), surface_(&geometry_) {
    surface_.resize(QSize(geometry_.clientWidth(), geometry_.clientHeight()), 1.0);
}

std::optional<std::string> BatchPlot::begin(const BatchSkid& skid) {
    surface_.setAutoRedraw(true);
    surface_.setDrawWidth(1);
    if (auto failure = DrawScale(surface_, skid.params))
        return "the axes cannot be drawn: " + failure->description + ".";
    // The loop's entry: its drawing width, and one dot where the car starts.
    surface_.setDrawWidth(roundedPixelSize(skid.params.pixelSize));
    surface_.PSet(static_cast<float>(skid.state.cmX), static_cast<float>(skid.state.cmY));
    return std::nullopt;
}

void BatchPlot::beforePass(std::uint64_t, BatchSkid& skid) {
    // The wheels around the mass centre as they stand before the pass moves them.
    cornerpos(skid.params, skid.state);
    DrawLocus(surface_, skid.params, skid.state, trails_);
    DrawBox(surface_, skid.params, skid.state);
}

void BatchPlot::afterPass(std::uint64_t, const BatchSkid&) {}

QImage BatchPlot::finish() {
    // The loop's exit: drawing lasting again, lines one pixel wide.
    surface_.setAutoRedraw(true);
    surface_.setDrawWidth(1);
    surface_.flush();
    return surface_.composed().copy(
        BatchWindowGeometry::kPanelRightPixels, 0,
        geometry_.clientWidth() - BatchWindowGeometry::kPanelRightPixels, geometry_.clientHeight());
}

} // namespace yawmark
