// SPDX-License-Identifier: MIT
#include "gui/Spinner.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

namespace yawmark {

Spinner::Spinner(QWidget* parent) : ReversedScrollBar(Qt::Vertical, kTop, kBottom, parent) {
    setLargeChange(1);
    // 255 x 255 twips: room for the two arrow buttons and nothing else.
    setFixedSize(17, 17);
    bar()->installEventFilter(this);
}

bool Spinner::eventFilter(QObject* watched, QEvent* event) {
    if (watched != bar()) return ReversedScrollBar::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) return true;
    if (event->type() == QEvent::KeyPress) {
        // A focused spinner steps with the arrow keys as with its arrow buttons.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            setValue(value() + (key == Qt::Key_Up ? smallChange() : -smallChange()));
            return true;
        }
    }
    return ReversedScrollBar::eventFilter(watched, event);
}

} // namespace yawmark
