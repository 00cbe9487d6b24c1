#include "panel/Spinner.h"

#include <QEvent>
#include <QScrollBar>

namespace yawmark {

Spinner::Spinner(QWidget* parent) : ReversedScrollBar(Qt::Vertical, kTop, kBottom, parent) {
    setLargeChange(1);
    // 255 x 255 twips: room for the two arrow buttons and nothing else.
    setFixedSize(17, 17);
    bar()->installEventFilter(this);
}

bool Spinner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar() && event->type() == QEvent::Wheel) return true;
    return ReversedScrollBar::eventFilter(watched, event);
}

} // namespace yawmark
