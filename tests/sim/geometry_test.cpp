// The car's shape and motion at one instant: corners, wheel velocities, the
// yaw rate of normal driving and the moment of inertia.
#include "sim/Geometry.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

TEST(Geometry, CornersOfTheDefaultCarAndTheirTurn) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    cornerpos(p, s);
    const double expected[5][2] = {
        {0, 0}, {-0.91, 2.52252}, {0.91, 2.52252}, {0.91, -1.76748}, {-0.91, -1.76748}};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(s.corner[i][0], expected[i][0], 1e-12) << "wheel " << i;
        EXPECT_NEAR(s.corner[i][1], expected[i][1], 1e-12) << "wheel " << i;
    }
    // Turned a quarter left, the front wheels point along -x.
    s.heading = 2 * std::atan(1.0);
    cornerpos(p, s);
    EXPECT_NEAR(s.corner[FL][0], -2.52252, 1e-12);
    EXPECT_NEAR(s.corner[FL][1], -0.91, 1e-12);
    EXPECT_NEAR(s.corner[RR][0], 1.76748, 1e-12);
    EXPECT_NEAR(s.corner[RR][1], 0.91, 1e-12);
}

TEST(Geometry, WheelVelocitiesOfARigidBody) {
    RunState s;
    s.omega = 1;
    s.cmVx = 5;
    s.cmVy = -2;
    s.corner[1] = {1, 0};
    s.corner[4] = {2, -3};
    s.wheelVel[1][2] = 7;
    s.wheelForce[3][2] = 7;
    CornerVelocity(s);
    // The mass centre's velocity plus omega × r, in the plane.
    EXPECT_EQ(s.wheelVel[1][0], 5 + 0);
    EXPECT_EQ(s.wheelVel[1][1], -2 + 1);
    EXPECT_EQ(s.wheelVel[4][0], 5 + 3);
    EXPECT_EQ(s.wheelVel[4][1], -2 + 2);
    EXPECT_EQ(s.wheelVel[1][2], 0);
    EXPECT_EQ(s.wheelForce[3][2], 0);
}

TEST(InitialConditions, YawRateOfNormalDriving) {
    const struct {
        const char* dir;
        double radius, vx, vy, omega;
    } cases[] = {
        {"L", 17, 0, 20, 20.0 / 17}, {"R", 17, 0, 20, -20.0 / 17},
        {"CE", 0, 0, 20, 0},   // the radius does not matter going straight
        {"L", 17, 0, 0, 0},    // a car at rest does not turn
        {"L", 10, 3, -4, 0.5}, // speed from both components
    };
    for (const auto& c : cases) {
        Params p;
        RunState s;
        test::loadDefaultCar(p, s);
        p.steerDir = c.dir;
        p.turnRadius = c.radius;
        p.initVx = c.vx;
        p.initVy = c.vy;
        EXPECT_NEAR(iniOmega(p), c.omega, 1e-12) << c.dir << " " << c.radius << " " << c.vy;
    }
}

TEST(InitialConditions, InertiaMaximumAndStartUpValues) {
    Params p;
    RunState s;
    s.cmX = 5;
    test::loadDefaultCar(p, s);
    EXPECT_NEAR(p.momentInertia, 2061.2578, 1e-4);
    EXPECT_EQ(p.momentInertia, (1.82 * 1.82 + 4.29 * 4.29) * 1139 / 12);
    EXPECT_EQ(p.pointColor[FL], 255u); // red, red in the low byte
    EXPECT_EQ(s.cmX, 5);               // the body state is left alone

    EXPECT_EQ(Maximum(3, 7), 7);
    EXPECT_EQ(Maximum(7, 3), 7);
    EXPECT_TRUE(std::signbit(Maximum(-0.0, 0.0))); // equal values: the first argument
}

} // namespace
} // namespace yawmark
