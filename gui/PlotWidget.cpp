#include "gui/PlotWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace yawmark {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent), surface_(this) {
    // The surface paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintIntervalMs);
    connect(&repaintTimer_, &QTimer::timeout, this, &PlotWidget::repaintChanged);
    surface_.setChangeHandler([this](bool now) { surfaceChanged(now); });
    surface_.resize(size(), devicePixelRatioF());
}

PlotWidget::~PlotWidget() {
    surface_.setChangeHandler({});
}

Surface& PlotWidget::surface() {
    return surface_;
}

void PlotWidget::setPanelFrame(QWidget* frame) {
    panel_ = frame;
}

void PlotWidget::paintEvent(QPaintEvent* event) {
    followPixelRatio();
    QPainter painter(this);
    surface_.paint(painter, event->rect(), ownRepaint_);
    ownRepaint_ = false;
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    surface_.resize(event->size(), devicePixelRatioF());
    QWidget::resizeEvent(event);
}

void PlotWidget::surfaceChanged(bool now) {
    if (now) {
        repaintTimer_.stop();
        repaintChanged();
    } else if (!repaintTimer_.isActive()) {
        repaintTimer_.start();
    }
}

void PlotWidget::repaintChanged() {
    const QRect changed = surface_.takeChangedRect();
    if (changed.isEmpty()) return;
    ownRepaint_ = true;
    update(changed);
}

void PlotWidget::followPixelRatio() {
    if (surface_.devicePixelRatio() != devicePixelRatioF())
        surface_.resize(size(), devicePixelRatioF());
}

double PlotWidget::windowWidth() const {
    return window()->frameGeometry().width() * ImageSurface::kTwipsPerPixel;
}

double PlotWidget::windowHeight() const {
    return window()->frameGeometry().height() * ImageSurface::kTwipsPerPixel;
}

double PlotWidget::panelLeft() const {
    if (!panel_) return 0;
    const QPoint at = panel_->mapTo(window(), QPoint(0, 0)) - mapTo(window(), QPoint(0, 0));
    return at.x() * ImageSurface::kTwipsPerPixel;
}

double PlotWidget::panelWidth() const {
    return panel_ ? panel_->width() * ImageSurface::kTwipsPerPixel : 0;
}

} // namespace yawmark
