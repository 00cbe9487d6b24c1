// The plot area of the main window: a widget behind the parameter panel that
// shows the drawing surface (persistent image plus screen-only layer). It
// repaints at most at the display rate while the program draws, and answers
// the surface's questions about the window's geometry.
#pragma once

#include "plot/ImageSurface.h"
#include "plot/Surface.h"
#include "plot/WindowGeometry.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace yawmark {

class PlotWidget : public QWidget, private WindowGeometry {
    Q_OBJECT
public:
    // Shortest time between two repaints while drawing goes on, ms (about 60 per second).
    static constexpr int kRepaintIntervalMs = 16;

    explicit PlotWidget(QWidget* parent = nullptr);
    ~PlotWidget() override;

    // The surface all plot drawing goes through.
    Surface& surface();
    // The same surface with its image, for checks and screenshots.
    ImageSurface& imageSurface() { return surface_; }

    // The frame along the left edge whose right edge bounds the plot (twips geometry).
    void setPanelFrame(QWidget* frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void surfaceChanged(bool now);
    void repaintChanged();
    void followPixelRatio();

    // WindowGeometry.
    double windowWidth() const override;
    double windowHeight() const override;
    double panelLeft() const override;
    double panelWidth() const override;

    ImageSurface surface_;
    QTimer repaintTimer_;
    QPointer<QWidget> panel_;
    bool ownRepaint_ = false; // the next paint was asked for by the drawing
};

} // namespace yawmark
