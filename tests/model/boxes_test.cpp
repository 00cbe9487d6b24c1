// What the boxes mean to the simulation: units, steering words, refusals, and
// what "Calculate" and Draw make of them. Start-up, reset, presets, box 5 and
// the results of both "Calculate" buttons for the start-up car are checked on
// the real panel.
#include "model/Boxes.h"
#include "model/Calculate.h"
#include "model/DrawPreparation.h"
#include "model/FormLoad.h"
#include "sim/Forces.h"
#include "sim/Pass.h"

#include <gtest/gtest.h>

namespace yawmark {
namespace {

struct Started {
    Params p;
    RunState s;
    BoxTexts t;
    Started() { formLoad(p, s, t); }
};

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

    // Omega written back: +2π shows -1, -2π shows 1.
    InitBoxes(a.p, a.s, a.t, true);
    EXPECT_EQ(box[12], "1");
    EXPECT_EQ(box[14], "500"); // forty calculation intervals of 12.5 ms, whatever it held
    a.s.omega = 6.283185307179586;
    InitBoxes(a.p, a.s, a.t, true);
    EXPECT_EQ(box[12], "-1");
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
}

TEST(Calculate, ReadsTheBoxesFirstAndComputesFromThem) {
    Started a;
    a.t.txtInput[12] = "2";
    ASSERT_FALSE(cmdNormal(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[12], "-0.187241109519877");
    EXPECT_EQ(a.s.omega, -2 * 2 * a.p.pi); // omega from the old text
    // Imaginery Car's dimensions typed in.
    a.t.txtInput[0] = "7";
    a.t.txtInput[1] = "2";
    a.t.txtInput[2] = "4000";
    ASSERT_FALSE(cmdInertia(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[5], "17666.6666666667");

    a.t.txtInput[9] = "0";
    EXPECT_EQ(cmdNormal(a.t, a.p, a.s)->text,
              "\"Mass Center Turning Radius (m)\" must not be 0 for a car that moves and steers.");
}

TEST(DrawPreparation, DefaultDrawReadsTheDerivedValues) {
    Started a;
    a.t.txtInput[5] = "1";
    a.t.txtInput[11] = "45";
    ASSERT_FALSE(prepareDraw(a.t, a.p, a.s, {}));
    EXPECT_EQ(a.t.txtInput[5], "2061.25779166667");
    EXPECT_EQ(a.t.txtInput[11], "0");
    EXPECT_EQ(a.p.momentInertia, 2061.25779166667); // through its text form
    EXPECT_EQ(a.s.omega, -(-0.187241109519877) * 2 * a.p.pi);
    EXPECT_EQ(a.p.kineticFriction, 0.896057347670251);
    EXPECT_EQ(a.s.heading, 0);

    // Unticked, the typed values are used as they are.
    Started b;
    b.t.txtInput[5] = "1500";
    b.t.txtInput[12] = "0";
    ASSERT_FALSE(prepareDraw(b.t, b.p, b.s, {false, false}));
    EXPECT_EQ(b.p.momentInertia, 1500);
    EXPECT_EQ(b.s.omega, 0);
}

TEST(DrawPreparation, AllOrNothing) {
    const struct {
        int box;
        const char* text;
    } cases[] = {
        {2, "0"},   // refused by the run's checks, after both computations succeeded
        {9, "1"},   // radius inside the rear axle
        {9, "0"},   // refused by the normal-driving computation
        {15, "px"}, // unreadable box
    };
    for (const auto& c : cases) {
        Started a;
        a.t.txtInput[c.box] = c.text;
        a.t.txtInput[5] = "1";
        a.t.txtInput[11] = "45";
        a.t.txtInput[3] = "50";
        const BoxTexts texts = a.t;
        const Params p = a.p;
        const RunState s = a.s;
        const auto message = prepareDraw(a.t, a.p, a.s, {});
        ASSERT_TRUE(message) << c.box;
        EXPECT_EQ(message->box, c.box);
        EXPECT_EQ(message->text.front(), '"');
        EXPECT_EQ(a.t.txtInput, texts.txtInput);
        EXPECT_EQ(a.p.frontShare, p.frontShare);
        EXPECT_EQ(a.p.momentInertia, p.momentInertia);
        EXPECT_EQ(a.s.omega, s.omega);
        EXPECT_EQ(a.s.heading, s.heading);
    }
}

TEST(DrawPreparation, ThenTheCarStartsWhereTheBoxesSay) {
    Started a;
    a.t.txtInput[16] = "3";
    a.t.txtInput[17] = "-4";
    a.t.txtInput[7] = "90";
    a.s.simTime = 12;
    ASSERT_FALSE(prepareDraw(a.t, a.p, a.s, {}));
    placeAtStart(a.p, a.s);
    calcForce(a.p, a.s);
    EXPECT_EQ(a.s.simTime, 0);
    EXPECT_EQ(a.s.cmX, 3);
    EXPECT_EQ(a.s.cmY, -4);
    EXPECT_EQ(a.s.cmVx, 20);
    EXPECT_NEAR(a.s.wheelFriction[1], 2060.41, 0.01);
}

} // namespace
} // namespace yawmark
