#include "sim/Validation.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

namespace yawmark {
namespace {

TEST(Validation, DefaultRunIsFine) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    EXPECT_FALSE(validateRun(p, s));
    EXPECT_FALSE(validateNormal(p));
    EXPECT_FALSE(validateInertia(p));
}

TEST(Validation, RefusedRuns) {
    struct Case {
        const char* name;
        void (*change)(Params&, RunState&);
        int box;
    } cases[] = {
        {"mass 0", [](Params& p, RunState&) { p.vehicleMass = 0; }, 2},
        {"inertia 0", [](Params& p, RunState&) { p.momentInertia = 0; }, 5},
        {"radius inside the rear axle", [](Params& p, RunState&) { p.turnRadius = 1.7; }, 9},
        {"negative radius", [](Params& p, RunState&) { p.turnRadius = -17; }, 9},
        {"right too",
         [](Params& p, RunState&) {
             p.turnRadius = 1;
             p.steerDir = "R";
         },
         9},
        {"mass centre behind the rear axle",
         [](Params& p, RunState&) {
             p.frontShare = -1;
             p.turnRadius = 4;
         },
         9},
        {"friction overflows",
         [](Params& p, RunState& s) {
             p.vehicleMass = 1e300;
             s.gravity = 1e10;
         },
         2},
        {"huge wheelbase",
         [](Params& p, RunState&) {
             p.wheelbaseLength = 1e308;
             p.frontShare = -1;
             p.steerDir = "CE";
         },
         0},
        {"huge time step", [](Params& p, RunState&) { p.timeStep = 1e300; }, 13},
    };
    for (const auto& c : cases) {
        Params p;
        RunState s;
        test::loadDefaultCar(p, s);
        c.change(p, s);
        const auto problem = validateRun(p, s);
        ASSERT_TRUE(problem) << c.name;
        EXPECT_EQ(problem->box, c.box) << c.name << ": " << problem->what;
        EXPECT_FALSE(problem->what.empty());
    }
}

TEST(Validation, AllowedRuns) {
    struct Case {
        const char* name;
        void (*change)(Params&, RunState&);
    } cases[] = {
        {"radius exactly at the rear axle",
         [](Params& p, RunState&) { p.turnRadius = p.frontShare * p.wheelbaseLength; }},
        {"small radius going straight",
         [](Params& p, RunState&) {
             p.turnRadius = 0;
             p.steerDir = "CE";
         }},
        {"negative friction", [](Params& p, RunState&) { p.kineticFriction = -0.8; }},
        {"negative time step", [](Params& p, RunState&) { p.timeStep = -0.01; }},
        {"time step 0", [](Params& p, RunState&) { p.timeStep = 0; }},
        {"any sensitivity", [](Params& p, RunState&) { p.frontSensitivity = -7; }},
        {"negative mass and inertia",
         [](Params& p, RunState&) {
             p.vehicleMass = -1139;
             p.momentInertia = -2000;
         }},
        {"pixel size 0", [](Params& p, RunState&) { p.pixelSize = 0; }},
        {"at rest",
         [](Params& p, RunState& s) {
             p.initVy = 0;
             s.omega = 0;
         }},
    };
    for (const auto& c : cases) {
        Params p;
        RunState s;
        test::loadDefaultCar(p, s);
        c.change(p, s);
        const auto problem = validateRun(p, s);
        EXPECT_FALSE(problem) << c.name << ": " << problem.value_or(BoxProblem{}).what;
    }
}

TEST(Validation, CalculateChecks) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    p.turnRadius = 0;
    ASSERT_TRUE(validateNormal(p));
    EXPECT_EQ(validateNormal(p)->box, 9);
    p.initVy = 0; // at rest the yaw rate is 0 whatever the radius
    EXPECT_FALSE(validateNormal(p));
    p.initVy = 20;
    p.steerDir = "CE";
    EXPECT_FALSE(validateNormal(p));
    p.steerDir = "L";
    p.turnRadius = 1e-320;
    EXPECT_TRUE(validateNormal(p));

    test::loadDefaultCar(p, s);
    p.useGyration = true;
    EXPECT_FALSE(validateInertia(p));
    p.vehicleMass = 0;
    ASSERT_TRUE(validateInertia(p));
    EXPECT_EQ(validateInertia(p)->box, 2);
    p.useGyration = false;
    EXPECT_FALSE(validateInertia(p)); // inertia 0 is only refused when a run starts

    test::loadDefaultCar(p, s);
    p.momentInertia = -5;
    ASSERT_TRUE(validateGyration(p));
    EXPECT_EQ(validateGyration(p)->box, 5);
    p.vehicleMass = -1;
    EXPECT_FALSE(validateGyration(p));
}

} // namespace
} // namespace yawmark
