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

// The results of both buttons for the start-up car, and the refusals, are
// checked on the real panel; here what only the logic shows.
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
