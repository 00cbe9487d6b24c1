// SPDX-License-Identifier: MIT
#include "model/Run.h"

#include <array>

namespace yawmark::model {

const RunButtons& runButtons(Phase phase) {
    static constexpr std::array<RunButtons, 5> kTable{{
        //  Draw                SnapShot    Pause                Stop        Clear
        {{true, "Draw"}, {false, {}}, {false, "Pause"}, {false, {}}, {true, {}}}, // Idle
        {{false, "Draw"}, {true, {}}, {true, "Pause"}, {true, {}}, {false, {}}},  // Running
        {{true, "ReDraw"}, {true, {}}, {true, "Resume"}, {true, {}}, {true, {}}}, // Paused
        {{true, "Draw"}, {true, {}}, {true, "Resume"}, {true, {}}, {true, {}}},   // Stopped
        {{true, "Draw"}, {true, {}}, {false, "Resume"}, {false, {}}, {true, {}}}, // AtRest
    }};
    return kTable[static_cast<std::size_t>(phase)];
}

void Run::start(const Case& c) {
    case_ = c;
    body_ = c.launch.body();
    record_.clear();
    nextSnapTime_ = c.run.snapInterval;
    snapshotDue_ = true;
    phase_ = Phase::Running;
}

void Run::updateCase(const Case& c) {
    case_.car = c.car;
    case_.run = c.run;
    case_.style = c.style;
}

namespace {

// The step ends a skid exactly: velocity and yaw rate both come out 0.
bool atRest(const sim::Body& b) {
    return b.velocity.x == 0 && b.velocity.y == 0 && b.yawRate == 0;
}

} // namespace

bool Run::pass(sim::Drawer* drawer, bool autoSnapshot) {
    const double nextSnapTime = nextSnapTime_;
    const bool snapshotDue = snapshotDue_;
    if (autoSnapshot && body_.time > nextSnapTime_) {
        nextSnapTime_ = body_.time + case_.run.snapInterval;
        snapshotDue_ = true;
    }
    const sim::WheelPlacement wheels = sim::placeWheels(case_.car, body_.heading);
    if (drawer) drawer->drawCar(body_, wheels, snapshotDue_);
    const sim::StepResult r = sim::step(case_.car, body_, wheels, case_.run.timeStep);
    if (!r.finite) {
        nextSnapTime_ = nextSnapTime;
        snapshotDue_ = snapshotDue;
        return false;
    }
    if (recording_) record_.add(body_, case_.car, snapshotDue_);
    const bool wasMoving = !atRest(body_);
    body_ = r.body;
    snapshotDue_ = false;
    if (atRest(body_)) {
        if (wasMoving) {
            if (drawer) drawer->drawCar(body_, sim::placeWheels(case_.car, body_.heading), true);
            if (recording_) record_.add(body_, case_.car, true);
        }
        if (phase_ == Phase::Running) phase_ = Phase::AtRest;
    }
    return true;
}

} // namespace yawmark::model
