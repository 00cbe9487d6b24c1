// A pass whose numbers would stop being finite leaves the car where it was,
// and leaves no infinite or NaN force behind for the window to show or a
// later pass to use.
#include "sim/Pass.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

TEST(PassThatFails, LeavesEveryNumberOfTheStateFinite) {
    Params p;
    RunState s;
    test::startDefaultSkid(p, s);
    // Enormous speed and one-second steps: the first pass overflows.
    s.cmVx = 1e308;
    s.cmVy = 1e308;
    p.timeStep = 1000;
    const RunState before = s;
    ASSERT_FALSE(runPass(p, s));
    EXPECT_EQ(s.simTime, before.simTime);
    EXPECT_EQ(s.cmX, before.cmX);
    EXPECT_EQ(s.cmVx, before.cmVx);
    EXPECT_TRUE(std::isfinite(s.torque));
    for (int i = 1; i <= 4; ++i)
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(std::isfinite(s.wheelVel[i][k])) << "wheel " << i;
            EXPECT_TRUE(std::isfinite(s.wheelForce[i][k])) << "wheel " << i;
        }
    EXPECT_TRUE(std::isfinite(s.totalForce[0]) && std::isfinite(s.totalForce[1]));

    // A turning radius too short for the car, read during a run, gives the
    // front axles no real direction: the pass is refused and leaves no NaN axle.
    test::startDefaultSkid(p, s);
    p.turnRadius = 0.5;
    ASSERT_FALSE(runPass(p, s));
    for (int i = 1; i <= 2; ++i)
        EXPECT_TRUE(std::isfinite(s.wheelNormal[i][0]) && std::isfinite(s.wheelNormal[i][1]));

    // A wheelbase that overflows the wheels' placement: none of it stays behind.
    test::startDefaultSkid(p, s);
    p.frontShare = -1e308;
    ASSERT_FALSE(runPass(p, s));
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(std::isfinite(s.corner[i][0]) && std::isfinite(s.corner[i][1])) << i;
}

} // namespace
} // namespace yawmark
