// SPDX-License-Identifier: MIT
// The frames along the plot's left edge: the control panel `fmeControl` (the
// parameter tabs, the pan and zoom bars `scrX(0)`, `scrY(0)`, `scrZoom(0..1)`,
// the run buttons) and the tip lines `fmeTip`, at their design positions.
// Only widgets: the window connects them.
#pragma once

#include <QWidgetList>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace yawmark {

class ParameterPanel;
class ReversedScrollBar;

struct ControlFrame {
    // Builds both frames on `client`, with the panel's tab order.
    explicit ControlFrame(QWidget* client);

    QGroupBox* control = nullptr;
    QGroupBox* tips = nullptr;
    ParameterPanel* panel = nullptr;
    ReversedScrollBar* scrX = nullptr;
    ReversedScrollBar* scrY = nullptr;
    std::array<ReversedScrollBar*, 2> scrZoom{}; // 0 zooms, 1 sets the scale interval
    QPushButton* draw = nullptr;
    QPushButton* snapshot = nullptr;
    QCheckBox* autoSnapshot = nullptr;
    QPushButton* pause = nullptr;
    QPushButton* stop = nullptr;
    QPushButton* clear = nullptr;
    QLabel* scaleTip = nullptr; // "Axes are to-scale in ..."

private:
    void buildControls();
    void buildTips();
    void setTabOrder();
};

} // namespace yawmark
