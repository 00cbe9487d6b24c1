// SPDX-License-Identifier: MIT
// The running run: starts, pauses, resumes and stops a model::Run and
// advances it from the event loop. A zero-interval timer does a slice of
// passes (a few milliseconds of work) and returns, so the window answers
// between slices; in real time a precise timer does one pass a tick, at the
// calculation interval. Pause, Stop and closing stop the timer: not one pass
// follows.
//
// A run that comes to rest has its rest position's error at its interval
// worked out on a worker thread; only the newest run's answer is told.
#pragma once

#include "model/Run.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <thread>
#include <utility>

class QTimer;

namespace yawmark {

class RunController : public QObject {
    Q_OBJECT
public:
    // An unpaced slice ends once this much time has gone.
    static constexpr int kSliceMs = 4;

    explicit RunController(QObject* parent = nullptr);
    ~RunController() override; // the rest worker joined

    const model::Run& run() const { return run_; }
    model::Phase phase() const { return run_.phase(); }
    // Passes since the last start().
    std::uint64_t passes() const { return passes_; }
    // Where the passes are drawn (none: only recorded).
    void setDrawer(sim::Drawer* drawer) { drawer_ = drawer; }
    // At most this many passes in a slice (1 lets a test act between any two).
    void setMaxPassesPerSlice(std::uint64_t n) { maxPassesPerSlice_ = n > 0 ? n : 1; }

    // The pacing interval, ms, for a time step in seconds: rounded (halves to
    // even) and held within 1..65535.
    static int pacingInterval(double timeStep);

public slots:
    // A new run of `c` from its launch, running.
    void start(const model::Case& c);
    // Pause interrupts a running run, and resumes a paused or stopped one.
    void togglePause();
    void stop();
    // The program is ending: no pass, no answer from the worker.
    void halt();
    // A "Calculate" during a run: the passes to come use this case.
    void updateCase(const model::Case& c) { run_.updateCase(c); }
    void requestSnapshot() { run_.requestSnapshot(); }
    void setRealTime(bool on);
    void setAutoSnapshot(bool on) { autoSnapshot_ = on; }

signals:
    void phaseChanged(model::Phase phase);
    // After each pass (n since start).
    void passed(std::uint64_t n);
    // The numbers would no longer be finite: the run is Idle again.
    void failed();
    // The newest run's rest position is good to about this many metres.
    void restErrorKnown(double metres);

private:
    void setPhase(model::Phase phase);
    void slice();
    void schedule();
    void estimateRestError();
    void startRestWorker(std::uint64_t run, const model::Case& c);
    void restErrorCame(std::uint64_t run, std::optional<double> error);

    model::Run run_;
    sim::Drawer* drawer_ = nullptr;
    QTimer* timer_ = nullptr;
    std::uint64_t passes_ = 0;
    std::uint64_t maxPassesPerSlice_ = UINT64_MAX;
    bool realTime_ = false;
    bool autoSnapshot_ = false;
    bool halted_ = false;

    std::uint64_t runNumber_ = 0; // starts so far
    std::uint64_t restAsked_ = 0; // the run whose rest error was last asked for
    std::thread restWorker_;      // joined once its answer came, or on destruction
    bool restBusy_ = false;
    std::optional<std::pair<std::uint64_t, model::Case>> restNext_; // waiting its turn
};

} // namespace yawmark
