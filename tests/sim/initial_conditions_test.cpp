#include "sim/InitialConditions.h"
#include "sim/StartupDefaults.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

TEST(InitialConditions, YawRateOfNormalDriving) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    EXPECT_NEAR(iniOmega(p), 20.0 / 17, 1e-12);
    p.steerDir = "R";
    EXPECT_NEAR(iniOmega(p), -20.0 / 17, 1e-12);
    p.steerDir = "CE";
    EXPECT_EQ(iniOmega(p), 0);
    p.turnRadius = 0; // the radius does not matter going straight
    EXPECT_EQ(iniOmega(p), 0);
    // A car at rest does not turn, whatever the steering.
    p.initVy = 0;
    for (const char* dir : {"L", "R", "CE"}) {
        p.steerDir = dir;
        EXPECT_EQ(iniOmega(p), 0) << dir;
    }
    // Speed from both components.
    p.steerDir = "L";
    p.turnRadius = 10;
    p.initVx = 3;
    p.initVy = -4;
    EXPECT_NEAR(iniOmega(p), 0.5, 1e-15);
}

TEST(InitialConditions, MomentOfInertiaOfTheDefaultCar) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    EXPECT_NEAR(p.momentInertia, 2061.2578, 1e-4);
    EXPECT_EQ(p.momentInertia, (1.82 * 1.82 + 4.29 * 4.29) * 1139 / 12);
}

TEST(InitialConditions, MaximumKeepsTheFirstOnATie) {
    EXPECT_EQ(Maximum(3, 7), 7);
    EXPECT_EQ(Maximum(7, 3), 7);
    EXPECT_TRUE(std::signbit(Maximum(-0.0, 0.0))); // equal values: the first argument
}

TEST(StartupDefaults, Values) {
    Params p;
    RunState s;
    s.cmX = 5;
    s.simTime = 2;
    loadStartupDefaults(p, s);
    EXPECT_EQ(p.pi, 3.141592653589793);
    EXPECT_EQ(s.gravity, 9.8);
    EXPECT_EQ(p.initVy, 20);
    EXPECT_EQ(p.steerDir, "L");
    EXPECT_EQ(p.timeStep, 0.01);
    EXPECT_EQ(p.frontSensitivity, 0.0001);
    EXPECT_EQ(p.xMin, -20);
    EXPECT_EQ(p.yMax, 35);
    EXPECT_EQ(p.pointColor[1], 255u);
    EXPECT_EQ(p.pointColor[3], 16711680u);
    EXPECT_EQ(p.pointColor[2], 16711935u);
    EXPECT_FALSE(p.useGyration);
    for (bool c : p.connectPixels)
        EXPECT_FALSE(c);
    EXPECT_EQ(s.cmX, 5); // the body state is left alone
    EXPECT_EQ(s.simTime, 2);
}

} // namespace
} // namespace yawmark
