// SPDX-License-Identifier: MIT
// A run: the buttons of each phase, its passes, the lasting drawings it asks for, a failed pass.
#include "model/Run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace yawmark::model {
namespace {

struct Recorder : sim::Drawer {
    std::vector<bool> lasting;
    std::vector<sim::Body> bodies;
    void drawCar(const sim::Body& body, const sim::WheelPlacement&, bool isLasting) override {
        lasting.push_back(isLasting);
        bodies.push_back(body);
    }
};

bool same(const sim::Body& a, const sim::Body& b) {
    return !std::memcmp(&a, &b, sizeof a);
}

TEST(RunButtons, EachPhaseOffersItsButtons) {
    // Draw, SnapShot, Pause, Stop, Clear: + enabled or - not, then the caption it sets if any.
    const std::pair<Phase, const char*> table[] = {{Phase::Idle, "+Draw - -Pause - +"},
                                                   {Phase::Running, "-Draw + +Pause + -"},
                                                   {Phase::Paused, "+ReDraw + +Resume + +"},
                                                   {Phase::Stopped, "+Draw + +Resume + +"}};
    for (const auto& [phase, expected] : table) {
        const RunButtons& b = runButtons(phase);
        std::string shown;
        for (const ButtonState& s : {b.draw, b.snapshot, b.pause, b.stop, b.clear})
            shown += (s.enabled ? " +" : " -") + std::string(s.caption);
        EXPECT_EQ(shown.substr(1), expected);
    }
}

TEST(Run, LastingDrawingsAtTheStartEveryAutoSnapshotIntervalAndOnRequest) {
    for (const bool autoSnapshot : {false, true}) {
        model::Run run;
        Recorder drawer;
        Case c = startupCase(); // passes of 0.25 s, automatic snapshots every second
        c.run.timeStep = 0.25, c.run.snapInterval = 1;
        run.start(c);
        for (int n = 0; n < 16; ++n) {
            if (n == 7 || n == 12) run.requestSnapshot();
            if (n == 12) run.cancelSnapshot();
            ASSERT_TRUE(run.pass(&drawer, autoSnapshot));
        }
        for (int n = 0; n < 16; ++n) // at 1.25 s, 2.5 s, 3.75 s: strictly after each threshold
            EXPECT_EQ(drawer.lasting[n], n == 0 || n == 7 || (autoSnapshot && n % 5 == 0)) << n;
        EXPECT_FALSE(run.snapshotDue());
    }
}

TEST(Run, DrawsBeforeEachStepWaitsWithoutMovingAndAFailedPassLeavesTheRunAsItWas) {
    model::Run run;
    Recorder drawer;
    run.start(startupCase());
    ASSERT_TRUE(run.pass(&drawer, false));
    EXPECT_TRUE(same(drawer.bodies[0], startupCase().launch.body()));
    const sim::Body before = run.body();
    ASSERT_TRUE(run.pass(&drawer, false, 0)); // a real-time run waiting for its tick
    EXPECT_TRUE(same(run.body(), before));
    Case tooShort = startupCase(); // a Calculate mid-run with a radius too short
    tooShort.car.turnRadius = 0.5, tooShort.launch.velocity = {5, 5};
    run.updateCase(tooShort);
    EXPECT_FALSE(run.pass(nullptr, false));
    EXPECT_TRUE(same(run.body(), before));
    EXPECT_EQ(run.runCase().car.turnRadius, 0.5);
    EXPECT_EQ(run.runCase().launch.velocity, startupCase().launch.velocity);
    run.updateCase(startupCase()); // put right, the run goes on from where it was
    EXPECT_TRUE(run.pass(nullptr, false));
    EXPECT_EQ(run.body().time, before.time + 0.01);
}

} // namespace
} // namespace yawmark::model
