// SPDX-License-Identifier: MIT
// A run of a case: the body as it moves, the snapshot schedule, the phase the
// run is in and which buttons that phase offers. The window and the batch
// runner both drive a run through pass(); neither copies its sequence.
#pragma once

#include "model/Case.h"
#include "model/Record.h"
#include "sim/Draw.h"
#include "sim/Step.h"

#include <string_view>

namespace yawmark::model {

// Idle: no run yet, or the last one failed. Running: passes go on. Paused:
// interrupted by Pause (Resume goes on). Stopped: interrupted by Stop; Resume
// goes on too. AtRest: the car came to rest, the run is over; Draw and Clear
// act as after Stop, nothing is left to resume or stop.
enum class Phase { Idle, Running, Paused, Stopped, AtRest };

struct ButtonState {
    bool enabled;
    std::string_view caption; // empty: the button keeps its caption
};

// The run buttons of the main window in a phase.
struct RunButtons {
    ButtonState draw, snapshot, pause, stop, clear;
};
const RunButtons& runButtons(Phase phase);

class Run {
public:
    // The car at the launch of `c`, a lasting drawing due (the start outline),
    // the first automatic snapshot one interval in.
    void start(const Case& c);
    // A "Calculate" during the run: the passes to come use this car, this
    // interval and this trail style; the body goes on from where it is.
    void updateCase(const Case& c);

    // One pass: with `autoSnapshot`, a pass past the next snapshot time makes
    // a lasting drawing and schedules the next; the wheels are placed, drawn
    // (when there is a drawer), recorded, and the car stepped one time step.
    // False, with nothing moved or recorded, when the numbers would no longer
    // be finite.
    //
    // A step that brings a moving car to rest draws and records it there,
    // lasting, and a running run ends there (AtRest). A car
    // launched at rest ends its run after the first pass.
    bool pass(sim::Drawer* drawer, bool autoSnapshot);

    // The next pass makes a lasting drawing (SnapShot), or not after all.
    void requestSnapshot() { snapshotDue_ = true; }
    void cancelSnapshot() { snapshotDue_ = false; }
    bool snapshotDue() const { return snapshotDue_; }

    Phase phase() const { return phase_; }
    void setPhase(Phase phase) { phase_ = phase; }

    const Case& runCase() const { return case_; }
    const sim::Body& body() const { return body_; }
    // Every pass since start(), as drawn; empty when recording is off.
    const Record& record() const { return record_; }
    // Whether passes go into the record (on unless turned off): a run that
    // only prints its passes, or draws them once, needs none.
    void setRecording(bool on) { recording_ = on; }

private:
    Case case_;
    Record record_;
    sim::Body body_;
    double nextSnapTime_ = 0;
    bool snapshotDue_ = false;
    Phase phase_ = Phase::Idle;
    bool recording_ = true;
};

} // namespace yawmark::model
