// SPDX-License-Identifier: MIT
// The spinner beside a parameter box: a tiny vertical scroll bar, one row
// high, that shows only its two arrows. It rests at 0; the up arrow moves it
// to +SmallChange and the down arrow to -SmallChange (range 32767 at the top
// to -32768 at the bottom, LargeChange 1). Whoever handles `changed` steps the
// box and sets the spinner back to 0.
#pragma once

#include "gui/ReversedScrollBar.h"

namespace yawmark {

class Spinner : public ReversedScrollBar {
    Q_OBJECT
public:
    // Top and bottom ends of the range.
    static constexpr int kTop = 32767;
    static constexpr int kBottom = -32768;

    explicit Spinner(QWidget* parent = nullptr);

protected:
    // Swallows the mouse wheel: scrolling past a spinner must not step its box.
    // The Up and Down keys of a focused spinner act as its arrow buttons.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace yawmark
