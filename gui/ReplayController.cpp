// SPDX-License-Identifier: MIT
#include "gui/ReplayController.h"

#include "gui/ReplayBar.h"
#include "gui/RunController.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace yawmark {

ReplayController::ReplayController(ReplayBar& bar, const RunController& runs, QObject* parent)
    : QObject(parent), bar_(bar), slider_(bar.slider), runs_(runs), timer_(new QTimer(this)) {
    timer_->setInterval(kFrameMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &ReplayController::tick);
    // A step, a jump or a drag of the user's own (the replay's moves come blocked).
    connect(bar_.slider, &QSlider::valueChanged, this, [this](int value) {
        stopPlaying();
        seek(static_cast<std::size_t>(value));
    });
    // Dragging by hand stops the play.
    connect(bar_.slider, &QSlider::sliderPressed, this, &ReplayController::stopPlaying);
    connect(bar_.play, &QToolButton::clicked, this, &ReplayController::togglePlay);
    connect(bar_.speed, &QComboBox::currentIndexChanged, this, [this] {
        if (!playing()) return;
        playFrom_ = record().samples()[index_].time;
        clock_.restart();
    });
    connect(&runs_, &RunController::phaseChanged, this, &ReplayController::phaseChanged);
    slider_->installEventFilter(this);
    bar_.hide();
}

const model::Record& ReplayController::record() const {
    return runs_.run().record();
}

bool ReplayController::playing() const {
    return timer_->isActive();
}

bool ReplayController::available() const {
    return !record().empty() && runs_.phase() != model::Phase::Running;
}

void ReplayController::phaseChanged(model::Phase phase) {
    if (phase == model::Phase::Running) setActive(false);
}

void ReplayController::setActive(bool on) {
    on = on && available();
    if (on == active_) return;
    active_ = on;
    stopPlaying();
    if (on) {
        const std::size_t n = record().samples().size();
        bar_.slider->setRange(0, static_cast<int>(std::min<std::size_t>(n - 1, INT_MAX)));
        index_ = n - 1;
        showIndex();
        bar_.show();
        bar_.slider->setFocus();
    } else {
        bar_.hide();
        // The plot and the readout show the run's end again, as before the replay.
        if (!record().empty() && runs_.phase() != model::Phase::Running) {
            index_ = record().samples().size() - 1;
            emit moved(index_);
        }
    }
    emit activeChanged(on);
}

void ReplayController::seek(std::size_t index) {
    if (!active_) return;
    index_ = std::min(index, record().samples().size() - 1);
    showIndex();
}

void ReplayController::seekTime(double time) {
    if (!active_) return;
    stopPlaying();
    seek(record().sampleAt(time));
}

void ReplayController::showIndex() {
    const QSignalBlocker quiet(bar_.slider);
    bar_.slider->setValue(static_cast<int>(index_));
    bar_.time->setText(QStringLiteral("t = %1 s").arg(record().samples()[index_].time, 0, 'f', 2));
    emit moved(index_);
}

void ReplayController::togglePlay() {
    if (!active_) return;
    if (playing()) return stopPlaying();
    const auto samples = record().samples();
    if (index_ + 1 >= samples.size()) seek(0); // from the start again
    playFrom_ = samples[index_].time;
    clock_.start();
    timer_->start();
    bar_.play->setText(QStringLiteral("Pause"));
}

void ReplayController::stopPlaying() {
    timer_->stop();
    bar_.play->setText(QStringLiteral("Play"));
}

void ReplayController::tick() {
    const auto samples = record().samples();
    const double rate = bar_.speed->currentData().toDouble();
    const double t = playFrom_ + rate * static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
    const std::size_t next = record().sampleAt(t);
    if (next != index_) seek(next);
    if (next + 1 >= samples.size()) stopPlaying();
}

bool ReplayController::eventFilter(QObject* watched, QEvent* event) {
    // Space on the slider plays and pauses, as in a media player. The bar is
    // not looked at: while the window goes, the slider sends events from
    // within the bar's destructor.
    if (watched == slider_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        togglePlay();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace yawmark
