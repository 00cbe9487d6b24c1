// The plot area of the main window: a widget behind the parameter panel that
// shows the drawing surface (persistent image plus screen-only layer).
#pragma once

#include "plot/Surface.h"

#include <QWidget>

namespace yawmark {

class PlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit PlotWidget(QWidget* parent = nullptr);
    ~PlotWidget() override;

    Surface& surface();

    // The frame along the left edge whose right edge bounds the plot (twips geometry).
    void setPanelFrame(QWidget* frame);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace yawmark
