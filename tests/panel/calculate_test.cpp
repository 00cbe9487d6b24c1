#include "panel/Calculate.h"
#include "panel/DrawPreparation.h"
#include "panel/FormLoad.h"
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

TEST(Calculate, NormalDriving) {
    const struct {
        const char* steering;
        const char* box12;
    } cases[] = {{"Left", "-0.187241109519877"}, {"Right", "0.187241109519877"}, {"Center", "0"}};
    for (const auto& c : cases) {
        Started a;
        a.t.txtInput[8] = c.steering;
        a.t.txtInput[11] = "30";
        a.t.txtInput[12] = "2";
        ASSERT_FALSE(cmdNormal(a.t, a.p, a.s));
        EXPECT_EQ(a.t.txtInput[11], "0");
        EXPECT_EQ(a.t.txtInput[12], c.box12) << c.steering;
        // The boxes were read before the computation (omega from the old text).
        EXPECT_EQ(a.s.omega, -2 * 2 * a.p.pi);
    }
    Started a;
    a.t.txtInput[6] = "0";
    ASSERT_FALSE(cmdNormal(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[12], "0");
}

TEST(Calculate, Inertia) {
    Started a;
    a.t.txtInput[5] = "1";
    ASSERT_FALSE(cmdInertia(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[5], "2061.25779166667");
    a.p.useGyration = true;
    ASSERT_FALSE(cmdInertia(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[5], "1.3452540032772");
    // Imaginery Car's dimensions typed in.
    a.t.txtInput[0] = "7";
    a.t.txtInput[1] = "2";
    a.t.txtInput[2] = "4000";
    a.p.useGyration = false;
    ASSERT_FALSE(cmdInertia(a.t, a.p, a.s));
    EXPECT_EQ(a.t.txtInput[5], "17666.6666666667");
}

TEST(Calculate, RefusalsChangeNothing) {
    const struct {
        const char* name;
        int box;
        const char* text;
        bool gyration;
        bool normal; // which button
        int problemBox;
    } cases[] = {
        {"normal: radius 0", 9, "0", false, true, 9},
        {"normal: bad box", 4, "x", false, true, 4},
        {"inertia: mass 0 as a radius", 2, "0", true, false, 2},
        {"inertia: bad box", 13, "", false, false, 13},
        {"inertia: overflow", 0, "1e200", false, false, 0},
    };
    for (const auto& c : cases) {
        Started a;
        a.p.useGyration = c.gyration;
        a.t.txtInput[c.box] = c.text;
        a.t.txtInput[12] = "3";
        const BoxTexts texts = a.t;
        const double omega = a.s.omega;
        const double mass = a.p.vehicleMass;
        const auto message = c.normal ? cmdNormal(a.t, a.p, a.s) : cmdInertia(a.t, a.p, a.s);
        ASSERT_TRUE(message) << c.name;
        EXPECT_EQ(message->box, c.problemBox) << c.name;
        EXPECT_EQ(a.t.txtInput, texts.txtInput) << c.name;
        EXPECT_EQ(a.s.omega, omega) << c.name;
        EXPECT_EQ(a.p.vehicleMass, mass) << c.name;
    }
    Started a;
    a.t.txtInput[9] = "0";
    EXPECT_EQ(cmdNormal(a.t, a.p, a.s)->text,
              "\"Mass Center Turning Radius (m)\" must not be 0 for a car that moves and steers.");
    a.t.txtInput[9] = "17";
    a.p.useGyration = true;
    a.t.txtInput[2] = "0";
    EXPECT_EQ(cmdInertia(a.t, a.p, a.s)->text.rfind("\"Vehicle Mass (kg)\"", 0), 0u);
}

TEST(Calculate, GyrationBoxText) {
    Started a;
    std::string text;
    a.p.useGyration = true;
    ASSERT_FALSE(inertiaBoxText(a.p, text));
    EXPECT_EQ(text, "1.3452540032772");
    a.p.momentInertia = 4556;
    ASSERT_FALSE(inertiaBoxText(a.p, text));
    EXPECT_EQ(text, "2");
    a.p.momentInertia = -4556;
    text = "kept";
    const auto message = inertiaBoxText(a.p, text);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->box, 5);
    EXPECT_EQ(message->text.rfind("\"Radius of Gyration (m)\"", 0), 0u);
    EXPECT_EQ(text, "kept");
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
        int problemBox;
    } cases[] = {
        {2, "0", 2},    // refused by the run's checks, after both computations succeeded
        {9, "1", 9},    // radius inside the rear axle
        {9, "0", 9},    // refused by the normal-driving computation
        {15, "px", 15}, // unreadable box
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
        EXPECT_EQ(message->box, c.problemBox);
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
