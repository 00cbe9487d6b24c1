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

TEST(StartupDefaults, ColoursAndBodyStateLeftAlone) {
    Params p;
    RunState s;
    s.cmX = 5;
    loadStartupDefaults(p, s);
    EXPECT_EQ(p.pointColor[1], 255u);      // "FL" red, red in the low byte
    EXPECT_EQ(p.pointColor[3], 16711680u); // "RR" blue
    EXPECT_EQ(p.pi, 3.141592653589793);
    EXPECT_EQ(s.cmX, 5);
}

} // namespace
} // namespace yawmark
