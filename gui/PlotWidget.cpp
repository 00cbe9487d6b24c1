// SPDX-License-Identifier: MIT
#include "gui/PlotWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace yawmark {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
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

plot::Frame PlotWidget::frame() const {
    constexpr double twips = plot::kTwipsPerPixel;
    plot::Frame f;
    f.windowWidth = window()->frameGeometry().width() * twips;
    f.windowHeight = window()->frameGeometry().height() * twips;
    if (panel_) {
        const QPoint at = panel_->mapTo(window(), QPoint(0, 0)) - mapTo(window(), QPoint(0, 0));
        f.panelLeft = at.x() * twips;
        f.panelWidth = panel_->width() * twips;
    }
    return f;
}

} // namespace yawmark
