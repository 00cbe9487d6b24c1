// SPDX-License-Identifier: MIT
// The strip under the plot while a run is replayed: Play/Pause `cmdPlay`, the
// time slider `sldReplay` (one step a recorded sample: Left and Right step,
// Home and End jump to the ends), the speed `cboReplaySpeed` and the time
// `lblReplayTime`. Only widgets: ReplayController drives them.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

namespace yawmark {

class ReplayBar : public QWidget {
    Q_OBJECT
public:
    explicit ReplayBar(QWidget* parent = nullptr);

    QToolButton* play = nullptr;
    QSlider* slider = nullptr;
    QComboBox* speed = nullptr; // its items' data: simulated seconds a second
    QLabel* time = nullptr;
};

} // namespace yawmark
