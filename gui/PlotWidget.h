// SPDX-License-Identifier: MIT
// The plot area of the main window, beside the parameter panel: it shows the
// drawing surface (persistent image plus screen-only layer) and repaints at
// most at the display rate while the program draws.
//
// It turns the gestures on it into requests in world units: the wheel and the
// + and - keys zoom (about the cursor, or the middle of the plot), F fits the
// skid, dragging with the left button and the arrow keys pan, a
// double-click asks for the whole skid; the world point under the cursor is
// reported as it moves. The owner changes the view and redraws.
//
// While a tool is set (PlotTool), the pointer's buttons and the keys go to it
// first; what it leaves, the gestures above take.
#pragma once

#include "plot/ImageSurface.h"
#include "plot/View.h"
#include "sim/Vec2.h"

#include <QTimer>
#include <QWidget>

#include <optional>

namespace yawmark {

class PlotTool;
struct PlotPoint;

class PlotWidget : public QWidget {
    Q_OBJECT
public:
    // Shortest time between two repaints while drawing goes on, ms (about 60 per second).
    static constexpr int kRepaintIntervalMs = 16;

    explicit PlotWidget(QWidget* parent = nullptr);
    ~PlotWidget() override;

    // The surface all plot drawing goes through.
    plot::ImageSurface& surface() { return surface_; }

    // The tool the pointer and keys go to first; nullptr: none. Kept by the caller.
    void setTool(PlotTool* tool);
    PlotTool* tool() const { return tool_; }

    // The drawing area, for laying out the axes.
    plot::Frame frame() const { return {double(width()), double(height())}; }

    // Zoom factor of one wheel notch or key press inward (outward: its inverse).
    static constexpr double kZoomStep = 0.8;
    // Share of the visible width an arrow key pans.
    static constexpr double kArrowPan = 0.1;

signals:
    // Scale the view by `factor` about world point `at`.
    void zoomRequested(sim::Vec2 at, double factor);
    // Move the view by (dx, dy) metres.
    void panRequested(double dx, double dy);
    void fitRequested();
    // The world point under the cursor; nothing when the cursor left the plot.
    void cursorMoved(std::optional<sim::Vec2> at);
    void resized();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    sim::Vec2 world(QPointF at) const;
    PlotPoint point(QPointF at) const;

    void surfaceChanged(bool now);
    void repaintChanged();
    void followPixelRatio();

    plot::ImageSurface surface_;
    QTimer repaintTimer_;
    bool ownRepaint_ = false; // the next paint was asked for by the drawing
    std::optional<QPointF> dragFrom_;
    PlotTool* tool_ = nullptr;
};

} // namespace yawmark
