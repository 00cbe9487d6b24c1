// SPDX-License-Identifier: MIT
// The plot drawn onto an image as the window draws it: the axes of Draw, the
// dot where the loop starts, then in every pass the five trails' points and
// the outline (lasting at the start and at every snapshot), through the same
// renderer and the same kind of surface as the window. yawmark-batch's
// images and the animations of a run, from the window or the batch runner,
// are drawn on one.
#pragma once

#include "model/Record.h"
#include "plot/ImageSurface.h"
#include "plot/Renderer.h"
#include "plot/View.h"

#include <QImage>

#include <optional>
#include <string>

namespace yawmark::plot {

class ImagePlot {
public:
    // A plot image of width x height pixels showing `view` (needs a GUI
    // application for its fonts; any one thread may draw it).
    ImagePlot(int width, int height, const View& view);

    // What Draw draws before the loop: the axes, then the loop's entry dot.
    // Returns the message if the axes cannot be laid out.
    std::optional<std::string> begin(sim::Vec2 start);
    Renderer& renderer() { return renderer_; }
    // The scene drawn under the plot (kept by the caller).
    void setScene(const SceneLayer* scene) { renderer_.setScene(scene); }
    // Draws onto `device` (an SVG generator) instead of the image; before begin().
    void drawInto(QPaintDevice* device) { surface_.setVectorTarget(device); }
    // Ends the drawing on that device; whether it went well.
    bool finishVector() { return surface_.finishVector(); }
    // Fit Skid: the view around the whole record, the plot drawn again from it.
    void fitTo(const model::Record& record);
    // The view around the whole record, for a plot not begun yet.
    void fitView(const model::Record& record);
    // What the screen shows now: the lasting drawing and the latest outline.
    QImage frame() { return surface_.composed(); }
    // What the window shows when the run is paused after the last pass: the
    // lasting drawing with the last ordinary outline.
    QImage finish();

private:
    int width_, height_;
    View view_;
    ImageSurface surface_;
    Renderer renderer_;
};

} // namespace yawmark::plot
