// SPDX-License-Identifier: MIT
#include "gui/ReplayBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

namespace yawmark {

ReplayBar::ReplayBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("replayBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    play = new QToolButton(this);
    play->setObjectName(QStringLiteral("cmdPlay"));
    play->setText(QStringLiteral("Play"));
    play->setToolTip(QStringLiteral("Play the run from the slider's time (Space)"));
    slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("sldReplay"));
    slider->setToolTip(
        QStringLiteral("The run at this time. Left and Right step one pass, Home and End jump "
                       "to the start and the end."));
    slider->setSingleStep(1);
    speed = new QComboBox(this);
    speed->setObjectName(QStringLiteral("cboReplaySpeed"));
    speed->setToolTip(QStringLiteral("Simulated time a second of replay"));
    speed->addItem(QStringLiteral("0.25\u00D7"), 0.25);
    speed->addItem(QStringLiteral("1\u00D7"), 1.0);
    speed->addItem(QStringLiteral("4\u00D7"), 4.0);
    speed->setCurrentIndex(1);
    time = new QLabel(this);
    time->setObjectName(QStringLiteral("lblReplayTime"));
    time->setMinimumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("t = 888.88 s")));
    row->addWidget(play);
    row->addWidget(slider, 1);
    row->addWidget(time);
    row->addWidget(speed);
}

} // namespace yawmark
