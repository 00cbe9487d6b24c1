// SPDX-License-Identifier: MIT
// A scroll bar whose range runs from a larger value at its top (or left) end
// to a smaller one at its bottom (or right) end, as the panel's bars are set
// up: Min 32767 at the top, Max -32767 or -32768 at the bottom. So the up
// arrow (left arrow of a horizontal bar) gives +SmallChange, the down (right)
// arrow -SmallChange, a click in the trough +-LargeChange, and a dragged thumb
// the value where it is released.
//
// `changed` is raised on every change of the value, also when code sets it,
// before setValue returns; a handler may set the value again (nested).
#pragma once

#include <QWidget>

class QScrollBar;

namespace yawmark {

class ReversedScrollBar : public QWidget {
    Q_OBJECT
public:
    // A bar resting at 0 with range min (top/left end) .. max (bottom/right end), min > max.
    ReversedScrollBar(Qt::Orientation orientation, int min, int max, QWidget* parent = nullptr);

    int value() const;
    // Clamped to the range; raises `changed` when the value differs.
    void setValue(int value);
    int minimum() const { return min_; } // value at the top / left end
    int maximum() const { return max_; } // value at the bottom / right end

    int smallChange() const; // arrow step
    void setSmallChange(int step);
    int largeChange() const; // trough step
    void setLargeChange(int step);

    // Whether the bar takes the keyboard focus (Tab stops on it).
    void setTabStop(bool tabStop);
    // The name screen readers and UI scripts know the control by: on this
    // control and on the scroll bar inside, which is what takes the focus.
    void setName(const QString& name);

    // The platform scroll bar inside (its value is the negated value of this bar).
    QScrollBar* bar() const { return bar_; }

    QSize sizeHint() const override;

signals:
    void changed(int value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QScrollBar* bar_;
    int min_;
    int max_;
};

} // namespace yawmark
