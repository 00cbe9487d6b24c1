// SPDX-License-Identifier: MIT
#include "gui/ReversedScrollBar.h"

#include <QScrollBar>

namespace yawmark {

// The platform bar puts its minimum at the top (left) and its up (left) arrow
// lowers the value. Holding the negated value turns that into the reversed
// range: the top end is -min_ there, which is min_ here.

ReversedScrollBar::ReversedScrollBar(Qt::Orientation orientation, int min, int max, QWidget* parent)
    : QWidget(parent), bar_(new QScrollBar(orientation, this)), min_(min), max_(max) {
    bar_->setRange(-min, -max);
    bar_->setValue(0);
    bar_->setSingleStep(1);
    bar_->setPageStep(1);
    // A dragged thumb reports where it is released, not every place it passes.
    bar_->setTracking(false);
    setTabStop(false);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int v) { emit changed(-v); });
}

int ReversedScrollBar::value() const {
    return -bar_->value();
}

void ReversedScrollBar::setValue(int value) {
    bar_->setValue(-value);
}

int ReversedScrollBar::smallChange() const {
    return bar_->singleStep();
}
void ReversedScrollBar::setSmallChange(int step) {
    bar_->setSingleStep(step);
}

int ReversedScrollBar::largeChange() const {
    return bar_->pageStep();
}
void ReversedScrollBar::setLargeChange(int step) {
    bar_->setPageStep(step);
}

void ReversedScrollBar::setTabStop(bool tabStop) {
    bar_->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
    setFocusPolicy(bar_->focusPolicy());
    setFocusProxy(tabStop ? bar_ : nullptr);
}

void ReversedScrollBar::setName(const QString& name) {
    setAccessibleName(name);
    bar_->setAccessibleName(name);
}

QSize ReversedScrollBar::sizeHint() const {
    return bar_->sizeHint();
}

void ReversedScrollBar::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(rect());
}

} // namespace yawmark
