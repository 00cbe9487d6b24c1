#include "sim/Validation.h"
#include "tests/sim/DefaultCar.h"

#include <gtest/gtest.h>

namespace yawmark {
namespace {

TEST(Validation, RefusedAndAllowedRuns) {
    constexpr int kAllowed = -1;
    const struct {
        const char* name;
        int box;
        void (*change)(Params&, RunState&);
    } cases[] = {
        {"default car", kAllowed, [](Params&, RunState&) {}},
        {"mass 0", 2, [](Params& p, RunState&) { p.vehicleMass = 0; }},
        {"inertia 0", 5, [](Params& p, RunState&) { p.momentInertia = 0; }},
        {"radius inside the rear axle", 9, [](Params& p, RunState&) { p.turnRadius = 1.7; }},
        {"negative radius", 9, [](Params& p, RunState&) { p.turnRadius = -17; }},
        {"right too", 9, [](Params& p, RunState&) { p.turnRadius = 1, p.steerDir = "R"; }},
        {"mass centre behind the rear axle", 9,
         [](Params& p, RunState&) { p.frontShare = -1, p.turnRadius = 4; }},
        {"friction overflows", 2,
         [](Params& p, RunState& s) { p.vehicleMass = 1e300, s.gravity = 1e10; }},
        {"huge wheelbase", 0,
         [](Params& p, RunState&) {
             p.wheelbaseLength = 1e308, p.frontShare = -1, p.steerDir = "CE";
         }},
        {"huge time step", 13, [](Params& p, RunState&) { p.timeStep = 1e300; }},
        // Everything the model allows stays allowed.
        {"radius exactly at the rear axle", kAllowed,
         [](Params& p, RunState&) { p.turnRadius = p.frontShare * p.wheelbaseLength; }},
        {"small radius going straight", kAllowed,
         [](Params& p, RunState&) { p.turnRadius = 0, p.steerDir = "CE"; }},
        {"negative friction", kAllowed, [](Params& p, RunState&) { p.kineticFriction = -0.8; }},
        {"negative time step", kAllowed, [](Params& p, RunState&) { p.timeStep = -0.01; }},
        {"time step 0", kAllowed, [](Params& p, RunState&) { p.timeStep = 0; }},
        {"any sensitivity", kAllowed, [](Params& p, RunState&) { p.frontSensitivity = -7; }},
        {"negative mass and inertia", kAllowed,
         [](Params& p, RunState&) { p.vehicleMass = -1139, p.momentInertia = -2000; }},
        {"pixel size 0", kAllowed, [](Params& p, RunState&) { p.pixelSize = 0; }},
        {"at rest", kAllowed, [](Params& p, RunState& s) { p.initVy = 0, s.omega = 0; }},
    };
    for (const auto& c : cases) {
        Params p;
        RunState s;
        test::loadDefaultCar(p, s);
        c.change(p, s);
        const auto problem = validateRun(p, s);
        EXPECT_EQ(problem ? problem->box : kAllowed, c.box)
            << c.name << ": " << problem.value_or(BoxProblem{}).what;
        EXPECT_TRUE(!problem || !problem->what.empty());
    }
}

TEST(Validation, CalculateChecksAtTheirEdges) {
    Params p;
    RunState s;
    test::loadDefaultCar(p, s);
    EXPECT_FALSE(validateNormal(p));
    p.turnRadius = 0;
    EXPECT_EQ(validateNormal(p).value_or(BoxProblem{}).box, 9);
    p.initVy = 0; // at rest the yaw rate is 0 whatever the radius
    EXPECT_FALSE(validateNormal(p));
    p.initVy = 20, p.steerDir = "CE";
    EXPECT_FALSE(validateNormal(p));
    p.steerDir = "L", p.turnRadius = 1e-320; // the yaw rate would overflow
    EXPECT_TRUE(validateNormal(p));

    p.vehicleMass = 0; // an inertia of 0 is only refused when a run starts
    EXPECT_FALSE(validateInertia(p));
    p.useGyration = true; // but has no radius of gyration
    EXPECT_EQ(validateInertia(p).value_or(BoxProblem{}).box, 2);
    p.vehicleMass = -1, p.momentInertia = -5; // the same sign: a real radius
    EXPECT_FALSE(validateGyration(p));
    p.vehicleMass = 1;
    EXPECT_EQ(validateGyration(p).value_or(BoxProblem{}).box, 5);
}

} // namespace
} // namespace yawmark
