#include "panel/Spinner.h"

namespace yawmark {

Spinner::Spinner(QWidget* parent) : ReversedScrollBar(Qt::Vertical, kTop, kBottom, parent) {
    setLargeChange(1);
    // 255 x 255 twips: room for the two arrow buttons and nothing else.
    setFixedSize(17, 17);
}

} // namespace yawmark
