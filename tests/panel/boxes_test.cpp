#include "panel/BoxTable.h"
#include "panel/Boxes.h"
#include "panel/FormLoad.h"
#include "panel/Presets.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

struct Started {
    Params p;
    RunState s;
    BoxTexts t;
    Started() { formLoad(p, s, t); }
};

// The texts of all nineteen boxes are checked on the real panel; here the
// state start-up leaves behind and that a reset brings all of it back.
TEST(Boxes, StartUpAndReset) {
    Started a;
    EXPECT_EQ(a.t.txtInput[3], "58.8");
    EXPECT_EQ(a.t.txtInput[12], "-0.187241109519877");
    EXPECT_NEAR(a.s.omega, 20.0 / 17, 1e-12);
    EXPECT_EQ(a.s.heading, 0);
    EXPECT_EQ(a.p.kineticFriction, 10 / 11.16);
    const BoxTexts startup = a.t;
    for (auto& text : a.t.txtInput)
        text = "typed";
    a.t.chkWheel = {1, 1, 2, 1, 0};
    a.p.useGyration = true;
    a.p.timeStep = 0.5;
    formLoad(a.p, a.s, a.t);
    EXPECT_EQ(a.t.txtInput, startup.txtInput);
    EXPECT_EQ(a.t.chkWheel, (std::array<int, 5>{}));
    EXPECT_FALSE(a.p.useGyration);
}

TEST(Boxes, ReadingConvertsToSIUnits) {
    Started a;
    auto& box = a.t.txtInput;
    box[3] = "100";
    box[6] = "20";
    box[7] = "90";
    box[11] = "5";
    box[12] = "1";
    box[13] = "12.5";
    box[14] = "1000";
    box[8] = "Right";
    a.t.chkWheel = {0, 0, 0, 1, 2};
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.frontShare, 0);
    EXPECT_EQ(a.p.initVx, 20);
    EXPECT_NEAR(a.p.initVy, 1.2e-15, 1e-16);
    EXPECT_DOUBLE_EQ(a.s.heading, -(90 + 5) / 180.0 * a.p.pi);
    EXPECT_EQ(a.s.omega, -6.283185307179586);
    EXPECT_EQ(a.p.timeStep, 0.0125);
    EXPECT_EQ(a.p.nextSnapTime, 1);
    EXPECT_EQ(a.p.snapInterval, 1);
    EXPECT_EQ(a.p.steerDir, "R");
    const std::array<bool, 5> connect{false, false, false, true, false}; // greyed counts as off
    EXPECT_EQ(a.p.connectPixels, connect);

    box[3] = "58.8";
    box[7] = "10";
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.frontShare, 0.41200000000000003);
    EXPECT_EQ(a.s.heading, -0.2617993877991494);

    // Omega written back: +2π shows -1, -2π shows 1.
    a.s.omega = -6.283185307179586;
    InitBoxes(a.p, a.s, a.t, true);
    EXPECT_EQ(box[12], "1");
    EXPECT_EQ(box[14], "500"); // forty calculation intervals of 12.5 ms, whatever it held
    a.s.omega = 6.283185307179586;
    InitBoxes(a.p, a.s, a.t, true);
    EXPECT_EQ(box[12], "-1");
}

TEST(Boxes, InertiaBoxUsesTheMassJustRead) {
    Started a;
    a.t.txtInput[5] = "2";
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.momentInertia, 2);
    a.p.vehicleMass = 1;
    a.p.useGyration = true;
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.momentInertia, 4556);
    a.t.txtInput[5] = "-2";
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.momentInertia, 4556);
}

TEST(Boxes, SteeringWordsAreExact) {
    Started a;
    for (const char* word : {"center", "CE", " Left", ""}) {
        a.t.txtInput[8] = word;
        a.p.steerDir = "R";
        ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s)) << word;
        EXPECT_EQ(a.p.steerDir, "R") << word;
    }
    a.t.txtInput[8] = "Center";
    ASSERT_FALSE(ReadBoxes(a.t, a.p, a.s));
    EXPECT_EQ(a.p.steerDir, "CE");
    // Writing back an unknown code leaves the box alone.
    a.p.steerDir = "X";
    a.t.txtInput[8] = "typed";
    InitBoxes(a.p, a.s, a.t, true);
    EXPECT_EQ(a.t.txtInput[8], "typed");
}

TEST(Boxes, ABadBoxChangesNothing) {
    const struct {
        int box;
        const char* text;
        const char* fragment;
    } cases[] = {
        {0, "abc", "is not a number"}, {2, "", "is empty"},         {7, "1,5", "is not a number"},
        {13, "1e999", "not a number"}, {18, "nan", "not a number"}, {5, "1e300", "too large"},
    };
    for (const auto& c : cases) {
        Started a;
        a.p.useGyration = c.box == 5;
        a.t.txtInput[c.box] = c.text;
        a.t.txtInput[3] = "50"; // read before most of them, must not stick
        a.t.chkWheel[0] = 1;
        const Params before = a.p;
        const RunState stateBefore = a.s;
        const auto problem = ReadBoxes(a.t, a.p, a.s);
        ASSERT_TRUE(problem) << c.box;
        EXPECT_EQ(problem->box, c.box);
        EXPECT_NE(problem->what.find(c.fragment), std::string::npos) << problem->what;
        EXPECT_EQ(a.p.frontShare, before.frontShare);
        EXPECT_EQ(a.p.connectPixels, before.connectPixels);
        EXPECT_EQ(a.s.omega, stateBefore.omega);
        EXPECT_EQ(a.s.gravity, stateBefore.gravity);
    }
    // The first bad box in reading order: 7 comes before 6.
    Started a;
    a.t.txtInput[6] = "x";
    a.t.txtInput[7] = "y";
    a.t.txtInput[12] = "z";
    EXPECT_EQ(ReadBoxes(a.t, a.p, a.s)->box, 7);
}

TEST(Boxes, GyrationFormAndMessages) {
    EXPECT_EQ(boxCaption(5, true), "Radius of Gyration (m)");
    EXPECT_EQ(boxSpinnerStep(5, false), 5000);
    EXPECT_EQ(boxSpinnerStep(5, true), 10);
    EXPECT_EQ(boxMessage(2, false, "must not be 0."), "\"Vehicle Mass (kg)\" must not be 0.");
    EXPECT_EQ(boxMessage(5, true, "x"), "\"Radius of Gyration (m)\" x");
}

// What a preset writes is checked on the real panel; here only the names.
TEST(Presets, OnlyTheExactNamesLoad) {
    Params p;
    ASSERT_TRUE(loadVehicle("Imaginery Car", p));
    EXPECT_EQ(p.vehicleMass, 4000);
    const Params loaded = p;
    EXPECT_FALSE(loadVehicle("Custom", p));
    EXPECT_FALSE(loadVehicle("mclaren f1", p));
    EXPECT_EQ(p.wheelbaseLength, loaded.wheelbaseLength);
    EXPECT_EQ(kVehicleNames[2], "Imaginery Car");
}

} // namespace
} // namespace yawmark
