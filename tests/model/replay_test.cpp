// SPDX-License-Identifier: MIT
// A recorded run seen again: the sample at a slider's time, the readout there,
// a reference kept from it and what the next run changed.
#include "model/Readout.h"
#include "model/Reference.h"
#include "model/Run.h"

#include <gtest/gtest.h>

namespace yawmark::model {
namespace {

// The startup car run to rest, every pass recorded.
Run restedRun(const Case& c) {
    Run run;
    run.start(c);
    while (run.phase() == Phase::Running)
        EXPECT_TRUE(run.pass(nullptr, false));
    return run;
}

TEST(Replay, TheSampleAtATimeIsTheLastOneAtOrBeforeIt) {
    Record record;
    const sim::Car car = startupCase().car;
    for (int n = 0; n < 5; ++n)
        record.add({{0, double(n)}, {}, 0, 0, 0.5 + n * 0.25}, car, false); // 0.5 .. 1.5 s
    const std::pair<double, std::size_t> table[] = {
        {-1, 0}, {0.5, 0}, {0.74, 0}, {0.75, 1}, {1.2, 2}, {1.5, 4}, {99, 4}};
    for (const auto& [time, index] : table)
        EXPECT_EQ(record.sampleAt(time), index) << time;
}

TEST(Replay, TheReadoutAtASampleIsTheRunAsItWasThen) {
    const model::Run run = restedRun(startupCase());
    const Record& record = run.record();
    const auto samples = record.samples();
    ASSERT_GT(samples.size(), 20u);
    const std::size_t i = samples.size() / 3;
    const Readout r = readoutAt(record, i);
    EXPECT_EQ(r.time, samples[i].time);
    EXPECT_EQ(r.position, samples[i].position);
    EXPECT_DOUBLE_EQ(r.speed, length(samples[i].velocity));
    EXPECT_FALSE(r.atRest);
    // The path so far, not the whole run's.
    double path = 0;
    for (std::size_t k = 1; k <= i; ++k)
        path += length(samples[k].position - samples[k - 1].position);
    EXPECT_DOUBLE_EQ(r.distance, path);
    EXPECT_LT(r.distance, record.distance());
    const Readout end = *readout(record);
    EXPECT_TRUE(end.atRest);
    EXPECT_DOUBLE_EQ(end.distance, record.distance());
}

TEST(Reference, KeepsAnEvenTraceFromTheFirstSampleToTheLast) {
    const model::Run run = restedRun(startupCase());
    const Record& record = run.record();
    const auto samples = record.samples();
    for (const std::size_t most : {std::size_t{2}, std::size_t{7}, samples.size() + 10}) {
        const Reference r = makeReference(record, run.runCase(), most);
        ASSERT_EQ(r.trace.size(), std::min(most, samples.size())) << most;
        EXPECT_EQ(r.trace.front().time, samples.front().time);
        EXPECT_EQ(r.trace.back().time, samples.back().time);
        const double gap = r.trace[1].time - r.trace[0].time;
        for (std::size_t k = 1; k < r.trace.size(); ++k)
            EXPECT_NEAR(r.trace[k].time - r.trace[k - 1].time, gap, run.runCase().run.timeStep * 1.01);
    }
    // Each point: the mass centre and the wheels placed by the car at that heading.
    const std::size_t i = samples.size() / 2;
    const TracePoint p = tracePoint(record, i);
    const sim::WheelPlacement w = sim::placeWheels(record.car(samples[i]), samples[i].heading);
    EXPECT_EQ(p.points[0], samples[i].position);
    EXPECT_EQ(p.points[3], samples[i].position + w.offset[2]);
    EXPECT_DOUBLE_EQ(p.heading, samples[i].heading - samples[0].heading);
    EXPECT_EQ(p.distance, samples[i].distance);
    EXPECT_TRUE(makeReference(Record{}, run.runCase()).trace.empty());
}

TEST(Reference, SaysWhatTheNextRunChanged) {
    Case before = startupCase();
    before.car.friction = 0.7;
    const auto changed = [&](auto edit) {
        Case now = before;
        edit(now);
        return differenceText(before, now);
    };
    EXPECT_EQ(changed([](Case&) {}), "");
    EXPECT_EQ(changed([](Case& c) { c.style.pixelSize = 3, c.run.snapInterval = 9; }), "");
    EXPECT_EQ(changed([](Case& c) { c.launch.velocity = {0, 27}; }),
              "Initial Speed 20 \u2192 27 m/s");
    EXPECT_EQ(changed([](Case& c) { c.car.friction = 0.5; }),
              "Tire Coefficient of Kinetic Friction 0.7 \u2192 0.5");
    // Four digits, or as many as tell the numbers apart.
    EXPECT_EQ(changed([](Case& c) { c.car.friction = 0.123456789; }),
              "Tire Coefficient of Kinetic Friction 0.7 \u2192 0.1235");
    EXPECT_EQ(changed([](Case& c) { c.car.friction = 0.70001; }),
              "Tire Coefficient of Kinetic Friction 0.7 \u2192 0.70001");
    // Turned 90° clockwise, the car still pointing where it goes.
    EXPECT_EQ(changed([](Case& c) { c.launch.velocity = {20, 0}, c.launch.heading = -M_PI / 2; }),
              "Initial Direction of Travel 0 \u2192 90 degrees");
    EXPECT_EQ(changed([](Case& c) { c.car.mass = 1; c.car.gravity = 2; c.launch.start = {5, 0}; }),
              "Vehicle Mass 1139 \u2192 1 kg, g (acceleration due to gravity) 9.8 \u2192 2 m/s^2 "
              "and 1 more");
}

} // namespace
} // namespace yawmark::model
