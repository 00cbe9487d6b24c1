// Placeholder until the image surface lands: the widget paints a white plot.
#include "plot/PlotWidget.h"

#include <QPainter>

namespace yawmark {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {}
PlotWidget::~PlotWidget() = default;

Surface& PlotWidget::surface() { std::abort(); }

void PlotWidget::setPanelFrame(QWidget*) {}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

} // namespace yawmark
