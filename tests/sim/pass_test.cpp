#include "sim/Geometry.h"
#include "sim/Pass.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

namespace yawmark {
namespace {

bool sameBody(const RunState& a, const RunState& b) {
    return a.simTime == b.simTime && a.cmX == b.cmX && a.cmY == b.cmY && a.cmVx == b.cmVx &&
           a.cmVy == b.cmVy && a.heading == b.heading && a.omega == b.omega;
}

// The default skid, placed at its start with its wheel friction.
class DefaultSkid : public ::testing::Test {
protected:
    void SetUp() override { test::startDefaultSkid(p, s); }
    Params p;
    RunState s;
};

TEST_F(DefaultSkid, ConstantAccelerationOverTheStep) {
    // Straight ahead with only the rear wheels braking: a = -μ·g·(1-f).
    p.steerDir = "CE";
    s.omega = 0;
    const double h = p.timeStep;
    ASSERT_TRUE(runPass(p, s));
    const double a = -2 * s.wheelFriction[RR] / p.vehicleMass;
    EXPECT_EQ(s.cmAy, a);
    EXPECT_EQ(s.cmY, 0 + 20 * h + (a * 0.5) * (h * h));
    EXPECT_EQ(s.cmVy, 20 + a * h);
    EXPECT_EQ(s.cmX, 0);
    EXPECT_EQ(s.omega, 0);
    EXPECT_EQ(s.heading, 0);

    // A negative step runs backwards: friction against the motion speeds it up.
    p.timeStep = -0.01;
    const double y = s.cmY, vy = s.cmVy;
    ASSERT_TRUE(runPass(p, s));
    EXPECT_EQ(s.simTime, 0.01 - 0.01);
    EXPECT_LT(s.cmY, y);
    EXPECT_GT(s.cmVy, vy);
}

TEST_F(DefaultSkid, TimeIsASumOfStepsAndTheWindowsSequenceGivesTheSameNumbers) {
    RunState b = s;
    double t = 0;
    for (int n = 0; n < 500; ++n) {
        ASSERT_TRUE(runPass(p, s));
        t += 0.01;
        ASSERT_EQ(s.simTime, t) << "pass " << n + 1;
        cornerpos(p, b);
        // (drawing happens here in the window)
        ASSERT_TRUE(finishPass(p, b, p.timeStep));
        // A real-time pass waiting for its tick moves nothing.
        const RunState before = b;
        cornerpos(p, b);
        ASSERT_TRUE(finishPass(p, b, 0));
        ASSERT_TRUE(sameBody(before, b));
        ASSERT_TRUE(sameBody(s, b)) << "pass " << n + 1;
    }
    EXPECT_NE(s.simTime, 500 * 0.01); // repeated additions, not n·h at once
}

TEST_F(DefaultSkid, TheStoppedSkidStaysExactlyAtRest) {
    int pass = 0;
    while (!(s.cmVx == 0 && s.cmVy == 0 && s.omega == 0)) {
        ASSERT_TRUE(runPass(p, s));
        ASSERT_LT(++pass, 2000) << "the skid should come to rest";
    }
    EXPECT_GT(s.cmY, 25); // it slid a fair way first
    RunState rest = s;
    for (int n = 0; n < 100000; ++n)
        ASSERT_TRUE(runPass(p, s));
    rest.simTime = s.simTime;
    EXPECT_TRUE(sameBody(s, rest));
}

TEST_F(DefaultSkid, RestRuleNeedsBothVelocityAndYawTurnedBack) {
    s.cmVx = 0;
    s.cmVy = 0.001; // reverses within one step
    s.omega = 5;    // but keeps spinning: not at rest yet
    ASSERT_TRUE(runPass(p, s));
    EXPECT_NE(s.omega, 0);
    EXPECT_NE(s.cmVy, 0);
}

TEST_F(DefaultSkid, OverflowLeavesTheStateAsItWas) {
    const RunState fresh = s;
    p.timeStep = 1e300;
    EXPECT_FALSE(runPass(p, s));
    EXPECT_TRUE(sameBody(s, fresh));
    // A non-finite force (e.g. parameters changed mid-run) is refused the same way.
    p.timeStep = 0.01;
    p.turnRadius = 0.5; // no real centre of turn
    EXPECT_FALSE(runPass(p, s));
    EXPECT_TRUE(sameBody(s, fresh));
}

TEST(Pass, AutoSnapshotsFallEveryInterval) {
    Params p;
    RunState s;
    p.snapInterval = 1;
    p.nextSnapTime = 1;
    s.simTime = 1;
    EXPECT_FALSE(takeAutoSnapshot(p, s, true)); // strictly after the threshold
    s.simTime = 1.01;
    EXPECT_FALSE(takeAutoSnapshot(p, s, false)); // "Auto" unticked
    EXPECT_TRUE(takeAutoSnapshot(p, s, true));
    EXPECT_EQ(p.nextSnapTime, 1.01 + 1);
    s.simTime = 2.02;
    EXPECT_TRUE(takeAutoSnapshot(p, s, true));
    EXPECT_EQ(p.nextSnapTime, 2.02 + 1); // every interval, not doubling
}

} // namespace
} // namespace yawmark
