// SPDX-License-Identifier: MIT
// A tool the plot lends its pointer and keys to while it is active (digitising
// marks, measuring): PlotWidget forwards its events here instead of panning.
// Each handler says whether it took the event; one it leaves goes on to the
// plot's own gestures (the wheel still zooms, the arrow keys still pan).
#pragma once

#include "sim/Vec2.h"

#include <QPointF>

namespace yawmark {

// Where the pointer is: on the widget (logical pixels) and on the plane, with
// the metres one pixel spans there (for "near enough to grab").
struct PlotPoint {
    QPointF pixel;
    sim::Vec2 world;
    double perPixel = 0;
};

class PlotTool {
public:
    virtual ~PlotTool() = default;
    virtual bool press(const PlotPoint& at) = 0;
    // A tool of clicks alone lets moves go on to the plot and takes releases.
    virtual bool move(const PlotPoint&, bool /*leftDown*/) { return false; }
    virtual bool release(const PlotPoint&) { return true; }
    // A key (Qt::Key); Escape should end the tool.
    virtual bool key(int key) = 0;
};

} // namespace yawmark
