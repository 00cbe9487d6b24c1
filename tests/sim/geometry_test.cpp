#include "sim/Geometry.h"
#include "sim/Vector.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

TEST(Vector, SmallProcedures) {
    EXPECT_EQ(Mag(3, 4, 0), 5);
    EXPECT_EQ(Dot(1, 2, 3, 4), 11);
    const Vec3 z = Cross(1, 0, 0, 0, 1, 0);
    EXPECT_EQ(z.x, 0);
    EXPECT_EQ(z.y, 0);
    EXPECT_EQ(z.z, 1);
    const Vec3 c = Cross(1, 2, 3, 4, 5, 6); // (2·6-3·5, 3·4-1·6, 1·5-2·4)
    EXPECT_EQ(c.x, -3);
    EXPECT_EQ(c.y, 6);
    EXPECT_EQ(c.z, -3);
}

TEST(Geometry, CornersOfTheDefaultCar) {
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
    // The same numbers as rotating each wheel on its own.
    for (int i = 1; i <= 4; ++i) {
        double x = i == FL || i == RL ? -0.91 : 0.91;
        double y =
            i <= FR ? (1 - p.frontShare) * p.wheelbaseLength : -p.frontShare * p.wheelbaseLength;
        Rotate(x, y, s.heading);
        EXPECT_EQ(s.corner[i][0], x);
        EXPECT_EQ(s.corner[i][1], y);
    }
}

TEST(Geometry, WheelVelocitiesOfARigidBody) {
    RunState s;
    s.omega = 1;
    s.corner[1] = {1, 0};
    s.corner[2] = {0, 1};
    s.corner[3] = {0, 0};
    s.corner[4] = {2, -3};
    s.wheelVel[1][2] = 7;
    s.wheelForce[3][2] = 7;
    CornerVelocity(s);
    EXPECT_EQ(s.wheelVel[1][0], 0);
    EXPECT_EQ(s.wheelVel[1][1], 1);
    EXPECT_EQ(s.wheelVel[2][0], -1);
    EXPECT_EQ(s.wheelVel[2][1], 0);
    EXPECT_EQ(s.wheelVel[1][2], 0);
    EXPECT_EQ(s.wheelForce[3][2], 0);
    // The mass centre's velocity is added to every wheel.
    s.cmVx = 5;
    s.cmVy = -2;
    CornerVelocity(s);
    EXPECT_EQ(s.wheelVel[3][0], 5);
    EXPECT_EQ(s.wheelVel[3][1], -2);
    EXPECT_EQ(s.wheelVel[4][0], 5 + 3);
    EXPECT_EQ(s.wheelVel[4][1], -2 + 2);
}

} // namespace
} // namespace yawmark
