// SPDX-License-Identifier: MIT
// A run: the buttons of each phase, its passes, the lasting drawings it asks for, a failed pass.
#include "model/Readout.h"
#include "model/Run.h"

#include <algorithm>

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
                                                   {Phase::Stopped, "+Draw + +Resume + +"},
                                                   {Phase::AtRest, "+Draw + -Resume - +"}};
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
        c.launch.velocity = {0, 40}; // at rest only after the 16 passes
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

TEST(Run, DrawsBeforeEachStepAndAFailedPassLeavesTheRunAsItWas) {
    model::Run run;
    Recorder drawer;
    run.start(startupCase());
    ASSERT_TRUE(run.pass(&drawer, false));
    EXPECT_TRUE(same(drawer.bodies[0], startupCase().launch.body()));
    const sim::Body before = run.body();
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
    EXPECT_EQ(run.record().passes(), 2u); // the failed pass left no sample
}

TEST(Run, ACarBroughtToRestIsDrawnThereLastingAndTheRunEndsAtRest) {
    model::Run run;
    Recorder drawer;
    run.start(startupCase());
    int passes = 0;
    while (run.phase() == Phase::Running && passes < 100000)
        ASSERT_TRUE(run.pass(&drawer, false)) << ++passes;
    EXPECT_EQ(run.phase(), Phase::AtRest);
    const Record& record = run.record();
    ASSERT_EQ(record.samples().size(), drawer.bodies.size());
    EXPECT_TRUE(same(drawer.bodies.back(), run.body()));
    EXPECT_TRUE(drawer.lasting.back() && record.newest().lasting);
    for (std::size_t i = 0; i < drawer.bodies.size(); ++i)
        ASSERT_TRUE(same(record.samples()[i].body(), drawer.bodies[i]) &&
                    record.samples()[i].lasting == drawer.lasting[i])
            << i;
    const auto r = readout(record);
    ASSERT_TRUE(r && r->atRest);
    EXPECT_EQ(readoutText(*r),
              "At rest after 3.52 s at (\u22121.47, 30.28) m; slid 30.4 m, turned 161.7\u00B0");

    model::Run unrecorded; // the same run, drawn and ended alike, nothing kept
    unrecorded.setRecording(false);
    unrecorded.start(startupCase());
    for (std::size_t i = 1; i < drawer.bodies.size(); ++i)
        ASSERT_TRUE(unrecorded.pass(nullptr, false) && unrecorded.record().empty());
    EXPECT_TRUE(same(unrecorded.body(), run.body()) && unrecorded.phase() == Phase::AtRest);

    Case still = startupCase(); // launched at rest: one pass, no second outline
    still.launch.velocity = {}, still.launch.yawRate = 0;
    run.start(still);
    drawer.lasting.clear();
    EXPECT_TRUE(run.pass(&drawer, false));
    EXPECT_EQ(run.phase(), Phase::AtRest);
    EXPECT_EQ(drawer.lasting, std::vector<bool>{true});
}

TEST(Run, TheReadoutReadsTheNewestSample) {
    model::Run run;
    Case c = startupCase();
    c.launch.velocity = {-3, 4}, c.launch.heading = 1;
    run.start(c);
    ASSERT_TRUE(run.pass(nullptr, false));
    const auto r = readout(run.record());
    ASSERT_TRUE(r && !r->atRest);
    EXPECT_EQ(readoutText(*r), "t = 0.00 s   5.00 m/s (18.0 km/h)   turned 0.0\u00B0   yaw rate "
                               "67.4\u00B0/s   slid 0.0 m");
    EXPECT_FALSE(readout(Record{}));
}

TEST(Record, StaysWithinItsCapacityKeepingTheFirstTheLastingAndTheNewest) {
    for (const int lastingEvery : {37, 1}) {
        Record record(1024);
        sim::Car car = startupCase().car;
        std::size_t lasting = 0;
        double path = 0;
        for (int n = 0; n < 10000; ++n) {
            if (n == 5000) car.length += 1; // a Calculate changed the car's shape
            const bool l = n % lastingEvery == 0;
            lasting += l;
            path += n > 0 ? 0.5 : 0;
            record.add({{0, n * 0.5}, {}, 0, 0, n * 0.01}, car, l);
        }
        const auto s = record.samples();
        EXPECT_LE(s.size(), 1024u);
        EXPECT_EQ(record.passes(), 10000u);
        EXPECT_GE(record.stride(), 10000u / 1024);
        if (lastingEvery > 1) EXPECT_LE(record.stride(), 16u); // not thinned more than it needs
        EXPECT_TRUE(s.front().time == 0 && s.back().time == 9999 * 0.01);
        EXPECT_TRUE(record.car(s.back()).length == car.length &&
                    record.car(s.front()).length == car.length - 1);
        EXPECT_DOUBLE_EQ(record.distance(), path);
        if (lastingEvery > 1)
            EXPECT_EQ(std::count_if(s.begin(), s.end(), [](auto& x) { return x.lasting; }),
                      static_cast<long>(lasting));
        for (std::size_t i = 1; i < s.size(); ++i) // in order, evenly spread, each its own path
            ASSERT_TRUE(s[i - 1].time < s[i].time &&
                        s[i].time - s[i - 1].time <= 0.02 * record.stride() &&
                        s[i].distance == s[i].position.y);
    }
}

TEST(Record, ItsExtentIsTheBoxAroundTheOutlines) {
    Record record;
    EXPECT_FALSE(record.extent());
    const sim::Car car = startupCase().car; // pointing along +y
    record.add({{10, 20}, {}, 0, 0, 0}, car, true);
    const auto e = record.extent();
    ASSERT_TRUE(e);
    EXPECT_DOUBLE_EQ(e->hi.x - e->lo.x, car.width);
    EXPECT_DOUBLE_EQ(e->hi.y - e->lo.y, car.length);
    EXPECT_DOUBLE_EQ(e->lo.x + e->hi.x, 20);
}

TEST(Readout, AGripNoteWhenTheTurnNeedsMoreThanTheTyresGive) {
    Case c = startupCase();
    const auto demand = gripDemand(c);
    ASSERT_TRUE(demand);
    EXPECT_NEAR(*demand, 20.0 * 20 / 17 / (c.car.friction * c.car.gravity), 1e-12);
    EXPECT_EQ(gripNoteText(*demand).substr(0, 51),
              "Note: this speed on this turning radius needs 2.7 t");
    c.launch.velocity = {0, 5}; // 25/17 m/s² is well within μ·g
    EXPECT_FALSE(gripDemand(c));
    c.launch.velocity = {0, 50}, c.car.steering = sim::Steering::Center;
    EXPECT_FALSE(gripDemand(c));
}

} // namespace
} // namespace yawmark::model
