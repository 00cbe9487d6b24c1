#include "sim/Forces.h"
#include "sim/Geometry.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

TEST(Forces, FrictionIsHalfTheAxleLoadPerWheel) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    calcForce(p, s);
    EXPECT_NEAR(s.wheelFriction[FL], 2060.41, 0.01);
    EXPECT_NEAR(s.wheelFriction[FR], 2060.41, 0.01);
    EXPECT_NEAR(s.wheelFriction[RR], 2940.58, 0.01);
    EXPECT_NEAR(s.wheelFriction[RL], 2940.58, 0.01);
    const double total =
        s.wheelFriction[1] + s.wheelFriction[2] + s.wheelFriction[3] + s.wheelFriction[4];
    EXPECT_NEAR(total, 9.8 * 1139 * p.kineticFriction, 1e-9);
}

TEST(Forces, FrontAxlesOfTheSteering) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    // Steering right mirrors the axles and exchanges the wheels.
    const struct {
        const char* dir;
        double n1x, n1y, n2x, n2y;
    } cases[] = {{"L", 0.965875, 0.259010, 0.972217, 0.234080},
                 {"R", -0.972217, 0.234080, -0.965875, 0.259010}};
    for (const auto& c : cases) {
        p.steerDir = c.dir;
        FWheelNormal(p, s);
        EXPECT_NEAR(s.wheelNormal[1][0], c.n1x, 1e-6) << c.dir;
        EXPECT_NEAR(s.wheelNormal[1][1], c.n1y, 1e-6) << c.dir;
        EXPECT_NEAR(s.wheelNormal[2][0], c.n2x, 1e-6) << c.dir;
        EXPECT_NEAR(s.wheelNormal[2][1], c.n2y, 1e-6) << c.dir;
    }
    // Straight ahead (the radius unused): both axles along x, turned with the heading.
    p.steerDir = "CE";
    p.turnRadius = 0;
    s.heading = 2 * std::atan(1.0);
    FWheelNormal(p, s);
    EXPECT_NEAR(s.wheelNormal[1][0], 0, 1e-15);
    EXPECT_NEAR(s.wheelNormal[1][1], 1, 1e-15);
    // A zero-length axle has no direction: the zero vector, not 0/0.
    p.steerDir = "L";
    p.wheelbaseLength = p.wheelbaseWidth = 0;
    FWheelNormal(p, s);
    EXPECT_EQ(s.wheelNormal[1][0], 0);
    EXPECT_EQ(s.wheelNormal[1][1], 0);
}

TEST(Forces, FrontWheelSlidesOnlyBeyondTheSensitivity) {
    const struct {
        double vx, vy, sens, fx;
    } cases[] = {
        {0, 20, 0, 0},      // rolling straight: no sideways speed, no force
        {3, 4, 1, 0},       // sensitivity 1: never slides
        {3, 4, 0, -100},    // sensitivity 0: any sideways motion slides
        {-3, 4, 0, 100},    // against the sideways component
        {3, 4, 0.59, -100}, // sin of the slip angle 0.6 above 0.59
        {3, 4, 0.61, 0},    //   and below 0.61
        {1, 0, 1, 0},       // limit equal to |vLat|: still rolling
    };
    for (const auto& c : cases) {
        Params p;
        p.frontSensitivity = c.sens;
        RunState s;
        s.wheelFriction = {0, 100, 100, 0, 0};
        s.wheelNormal[1] = s.wheelNormal[2] = {1, 0};
        s.wheelVel[1] = s.wheelVel[2] = {c.vx, c.vy, 0};
        FrontForce(p, s);
        EXPECT_EQ(s.wheelForce[1][0], c.fx) << c.vx << "," << c.vy << " s=" << c.sens;
        EXPECT_EQ(s.wheelForce[1][1], 0);
        EXPECT_EQ(s.totalForce[0], 2 * c.fx);
    }
}

TEST(Forces, LockedRearWheelSlidesAgainstItsVelocity) {
    RunState s;
    s.wheelFriction = {0, 0, 0, 10, 10};
    s.wheelVel[3] = {3, 4, 0};
    s.wheelVel[4] = {0, 0, 0}; // standing exactly still: no force, never 0/0
    RearForce(s);
    EXPECT_DOUBLE_EQ(s.wheelForce[3][0], -6);
    EXPECT_DOUBLE_EQ(s.wheelForce[3][1], -8);
    EXPECT_EQ(s.wheelForce[4][0], 0);
    EXPECT_EQ(s.wheelForce[4][1], 0);
    // A tiny speed still gets the full magnitude; one whose square underflows
    // counts as standing still.
    s.wheelVel[3] = {1e-150, 0, 0};
    RearForce(s);
    EXPECT_DOUBLE_EQ(s.wheelForce[3][0], -10);
    s.wheelVel[3] = {1e-300, 0, 0};
    RearForce(s);
    EXPECT_EQ(s.wheelForce[3][0], 0);
}

TEST(Forces, TorqueAboutTheMassCentre) {
    RunState s;
    s.corner[1] = {0, 2};
    s.wheelForce[1] = {-5, 0, 0}; // pushing left at the front: counter-clockwise
    s.corner[3] = {1, 0};
    s.wheelForce[3] = {0, 3, 0};
    s.torque = 99;
    sumTorq(s);
    EXPECT_EQ(s.torque, 10 + 3);
}

} // namespace
} // namespace yawmark
