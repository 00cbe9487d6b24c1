// SPDX-License-Identifier: MIT
#include "gui/PlotWidget.h"

#include "gui/PlotTool.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace yawmark {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    // The surface paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(QStringLiteral("Plot"));
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintIntervalMs);
    connect(&repaintTimer_, &QTimer::timeout, this, &PlotWidget::repaintChanged);
    surface_.setChangeHandler([this](bool now) { surfaceChanged(now); });
    surface_.resize(size(), devicePixelRatioF());
}

PlotWidget::~PlotWidget() {
    surface_.setChangeHandler({});
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
    emit resized();
}

sim::Vec2 PlotWidget::world(QPointF at) const {
    const QPointF w = surface_.toWorld(at);
    return {w.x(), w.y()};
}

PlotPoint PlotWidget::point(QPointF at) const {
    return {at, world(at), std::abs(surface_.worldPerPixel().x())};
}

void PlotWidget::setTool(PlotTool* tool) {
    tool_ = tool;
    dragFrom_.reset();
    if (tool) setCursor(Qt::CrossCursor);
    else unsetCursor();
}

bool PlotWidget::event(QEvent* event) {
    // The window's shortcuts (Escape pauses a run) would take the keys a tool
    // ends or deletes with before they reach it.
    if (event->type() == QEvent::ShortcutOverride && tool_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void PlotWidget::wheelEvent(QWheelEvent* event) {
    // A notch is 120; touchpads send fractions of it.
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) emit zoomRequested(world(event->position()), std::pow(kZoomStep, notches));
    event->accept();
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
    if (tool_ && event->button() == Qt::LeftButton && tool_->press(point(event->position())))
        return event->accept();
    if (event->button() == Qt::LeftButton) dragFrom_ = event->position();
    QWidget::mousePressEvent(event);
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    emit cursorMoved(world(event->position()));
    if (tool_ && tool_->move(point(event->position()), event->buttons() & Qt::LeftButton))
        return event->accept();
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
        // The world point grabbed stays under the cursor.
        const sim::Vec2 from = world(*dragFrom_), to = world(event->position());
        dragFrom_ = event->position();
        emit panRequested(from.x - to.x, from.y - to.y);
    }
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (tool_ && event->button() == Qt::LeftButton && tool_->release(point(event->position())))
        return event->accept();
    if (event->button() == Qt::LeftButton) dragFrom_.reset();
    QWidget::mouseReleaseEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // A tool takes a double click as two clicks.
    if (tool_ && event->button() == Qt::LeftButton && tool_->press(point(event->position())))
        return event->accept();
    if (event->button() == Qt::LeftButton) emit fitRequested();
}

void PlotWidget::leaveEvent(QEvent* event) {
    emit cursorMoved(std::nullopt);
    QWidget::leaveEvent(event);
}

void PlotWidget::keyPressEvent(QKeyEvent* event) {
    if (tool_ && tool_->key(event->key())) return event->accept();
    const QPointF c(width() / 2.0, height() / 2.0);
    const double step = kArrowPan * width();
    const sim::Vec2 perPixel{surface_.worldPerPixel().x(), surface_.worldPerPixel().y()};
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        emit zoomRequested(world(c), kZoomStep);
        break;
    case Qt::Key_Minus:
        emit zoomRequested(world(c), 1 / kZoomStep);
        break;
    case Qt::Key_F: // as View > Fit Skid, where no text box can take the key
        emit fitRequested();
        break;
    // An arrow shows more of the world on its side.
    case Qt::Key_Left:
        emit panRequested(-step * perPixel.x, 0);
        break;
    case Qt::Key_Right:
        emit panRequested(step * perPixel.x, 0);
        break;
    case Qt::Key_Up:
        emit panRequested(0, -step * perPixel.y);
        break;
    case Qt::Key_Down:
        emit panRequested(0, step * perPixel.y);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
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

} // namespace yawmark
