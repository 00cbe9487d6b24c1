// SPDX-License-Identifier: MIT
// The plot area of the main window: a widget behind the parameter panel that
// shows the drawing surface (persistent image plus screen-only layer). It
// repaints at most at the display rate while the program draws.
#pragma once

#include "plot/ImageSurface.h"
#include "plot/View.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace yawmark {

class PlotWidget : public QWidget {
    Q_OBJECT
public:
    // Shortest time between two repaints while drawing goes on, ms (about 60 per second).
    static constexpr int kRepaintIntervalMs = 16;

    explicit PlotWidget(QWidget* parent = nullptr);
    ~PlotWidget() override;

    // The surface all plot drawing goes through.
    plot::ImageSurface& surface() { return surface_; }

    // The frame along the left edge that covers the left of the plot.
    void setPanelFrame(QWidget* frame);
    // Where the plot lies in its window, for laying out the axes.
    plot::Frame frame() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void surfaceChanged(bool now);
    void repaintChanged();
    void followPixelRatio();

    plot::ImageSurface surface_;
    QTimer repaintTimer_;
    QPointer<QWidget> panel_;
    bool ownRepaint_ = false; // the next paint was asked for by the drawing
};

} // namespace yawmark
