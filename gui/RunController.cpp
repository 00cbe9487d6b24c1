// SPDX-License-Identifier: MIT
#include "gui/RunController.h"

#include "model/Fit.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace yawmark {

using model::Phase;

RunController::RunController(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("Timer2"));
    // Millisecond pacing needs the precise timer; a coarse one may stretch an interval by 5 %.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &RunController::slice);
}

RunController::~RunController() {
    halted_ = true;
    if (restWorker_.joinable()) restWorker_.join();
}

int RunController::pacingInterval(double timeStep) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double ms = std::nearbyint(timeStep * 1000);
    if (!(ms >= 1)) return 1; // also NaN
    return static_cast<int>(std::min(ms, 65535.0));
}

void RunController::setPhase(Phase phase) {
    run_.setPhase(phase);
    schedule();
    emit phaseChanged(phase);
}

void RunController::schedule() {
    if (halted_ || run_.phase() != Phase::Running) {
        timer_->stop();
        return;
    }
    // Unpaced: a slice whenever the event loop has nothing else to do. Real
    // time: a pass a tick (the first at once, when the run starts or resumes).
    const int interval = realTime_ ? pacingInterval(run_.runCase().run.timeStep) : 0;
    if (!timer_->isActive()) {
        timer_->setInterval(0);
        timer_->start();
    } else if (timer_->interval() != interval) {
        timer_->start(interval);
    }
}

void RunController::start(const model::Case& c) {
    if (halted_) return;
    run_.start(c);
    ++runNumber_;
    passes_ = 0;
    timer_->stop();
    setPhase(Phase::Running);
}

void RunController::togglePause() {
    if (halted_) return;
    switch (run_.phase()) {
    case Phase::Idle:
    case Phase::AtRest:
        return; // nothing to interrupt or resume
    case Phase::Running:
        setPhase(Phase::Paused);
        break;
    case Phase::Paused:
    case Phase::Stopped:
        setPhase(Phase::Running);
        break;
    }
    run_.cancelSnapshot();
}

void RunController::stop() {
    if (run_.phase() == Phase::Running) setPhase(Phase::Stopped);
}

void RunController::halt() {
    halted_ = true;
    timer_->stop();
}

void RunController::setRealTime(bool on) {
    realTime_ = on;
    if (timer_->isActive()) schedule();
}

void RunController::slice() {
    // Real time paces the passes, never the physics: each pass moves a whole
    // step. Unpaced, the slice ends after kSliceMs, the clock read every few passes.
    const std::uint64_t most = realTime_ ? 1 : maxPassesPerSlice_;
    QElapsedTimer clock;
    clock.start();
    for (std::uint64_t k = 0; k < most; ++k) {
        if (!run_.pass(drawer_, autoSnapshot_)) {
            setPhase(Phase::Idle);
            emit failed();
            return;
        }
        ++passes_;
        // The pass that brings the car to rest ends the run (AtRest).
        const bool ended = run_.phase() != Phase::Running;
        if (ended) {
            timer_->stop();
            emit phaseChanged(run_.phase());
        }
        emit passed(passes_);
        if (ended) return estimateRestError();
        // A receiver of passed() paused, stopped or halted the run: its timer is stopped.
        if (halted_ || run_.phase() != Phase::Running) return;
        if (k % 16 == 15 && clock.elapsed() >= kSliceMs) break;
    }
    schedule();
}

void RunController::estimateRestError() {
    if (restAsked_ == runNumber_) return; // on its way, or told
    restAsked_ = runNumber_;
    if (restBusy_)
        restNext_.emplace(runNumber_, run_.runCase());
    else
        startRestWorker(runNumber_, run_.runCase());
}

void RunController::startRestWorker(std::uint64_t run, const model::Case& c) {
    if (restWorker_.joinable()) restWorker_.join(); // its answer came: it is ending
    restBusy_ = true;
    restWorker_ = std::thread([this, run, c] {
        std::optional<double> error;
        try {
            error = model::restError(c);
        } catch (const std::exception&) { // out of memory: no estimate
        }
        QMetaObject::invokeMethod(
            this, [this, run, error] { restErrorCame(run, error); }, Qt::QueuedConnection);
    });
}

void RunController::restErrorCame(std::uint64_t run, std::optional<double> error) {
    restBusy_ = false;
    if (restNext_ && !halted_) {
        const auto [next, c] = *std::exchange(restNext_, std::nullopt);
        startRestWorker(next, c);
    }
    // A run started since has its own rest position.
    if (halted_ || run != runNumber_ || !error || !std::isfinite(*error)) return;
    emit restErrorKnown(*error);
}

} // namespace yawmark
