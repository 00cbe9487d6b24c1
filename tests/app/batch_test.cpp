#include "app/BatchRunner.h"
#include "panel/DrawPreparation.h"
#include "panel/FormLoad.h"
#include "sim/Forces.h"
#include "sim/NumberText.h"
#include "sim/Pass.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace yawmark {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result batch(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<double> fields(const std::string& line) {
    std::vector<double> result;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        result.push_back(*parseNumber(f));
    return result;
}

TEST(Batch, CsvOfTheDefaultSkidMatchesTheCore) {
    const Result r = batch({"--passes", "400", "--every", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 400 / 7);
    EXPECT_EQ(rows[0], "pass,t,x,y,vx,vy,heading,omega");

    // The same run done by hand, as the window does it: every row reads back exactly.
    Params p;
    RunState s;
    BoxTexts t;
    formLoad(p, s, t);
    ASSERT_FALSE(prepareDraw(t, p, s, {}));
    placeAtStart(p, s);
    calcForce(p, s);
    for (int pass = 1, row = 1; pass <= 400; ++pass) {
        ASSERT_TRUE(runPass(p, s));
        if (pass % 7) continue;
        const auto f = fields(rows[row++]);
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[0], pass);
        const double expected[] = {s.simTime, s.cmX, s.cmY, s.cmVx, s.cmVy, s.heading, s.omega};
        for (int i = 0; i < 7; ++i)
            ASSERT_EQ(f[i + 1], expected[i]) << "pass " << pass;
    }
}

TEST(Batch, OptionsChangeTheRun) {
    const auto last = [](const Result& r) { return fields(lines(r.out).back()); };
    const Result base = batch({"--passes", "50"});
    ASSERT_EQ(base.status, 0);

    // Typed boxes: straight ahead from (3, 4), going 90 degrees right.
    const Result typed = batch(
        {"--passes", "1", "--box", "8=Center", "--box", "16=3", "--box=17=4", "--box", "7=90"});
    ASSERT_EQ(typed.status, 0) << typed.err;
    const auto f = last(typed);
    EXPECT_GT(f[2], 3); // moving along +x
    EXPECT_NEAR(f[3], 4, 1e-9);
    EXPECT_EQ(f[7], 0); // no yaw going straight

    // Another vehicle or typed inertia gives another trajectory.
    const Result imagine = batch({"--passes", "50", "--vehicle", "Imaginery Car"});
    ASSERT_EQ(imagine.status, 0) << imagine.err;
    EXPECT_NE(last(imagine), last(base));
    const Result custom = batch({"--passes", "50", "--vehicle", "Custom"});
    EXPECT_EQ(last(custom), last(base));
    const Result typedInertia = batch({"--passes", "50", "--no-auto-inertia", "--box", "5=900"});
    EXPECT_NE(last(typedInertia), last(base));
    // The default inertia as a radius of gyration gives the same skid (through the box text).
    const Result gyration = batch({"--passes", "50", "--gyration"});
    ASSERT_EQ(gyration.status, 0) << gyration.err;
    EXPECT_NEAR(last(gyration)[2], last(base)[2], 1e-9);
    // Without normal driving the typed yaw is used.
    const Result noSpin =
        batch({"--passes", "1", "--no-auto-normal", "--box", "12=0", "--box", "8=Center"});
    EXPECT_EQ(last(noSpin)[7], 0);

    // --seconds runs until simTime reaches it.
    const Result seconds = batch({"--seconds", "0.5"});
    ASSERT_EQ(seconds.status, 0);
    EXPECT_EQ(lines(seconds.out).size(), 1u + 50);
    EXPECT_GE(last(seconds)[1], 0.5);

    // A negative step runs one pass, as the window's loop does.
    const Result backwards = batch({"--passes", "10", "--box", "13=-10"});
    ASSERT_EQ(backwards.status, 0);
    EXPECT_EQ(lines(backwards.out).size(), 2u);

    EXPECT_EQ(batch({"--help"}).status, 0);
    EXPECT_NE(batch({"--help"}).out.find("--passes N"), std::string::npos);
}

TEST(Batch, BadInputExitsTwoNamingTheBox) {
    const struct {
        std::vector<std::string> args;
        const char* fragment;
    } cases[] = {
        {{"--box", "2=abc"}, "\"Vehicle Mass (kg)\" is not a number"},
        {{"--box", "2=0"}, "\"Vehicle Mass (kg)\" must not be 0."},
        {{"--box", "9=1"}, "\"Mass Center Turning Radius (m)\""},
        {{"--box", "5=0", "--no-auto-inertia", "--gyration"}, "\"Radius of Gyration (m)\""},
        {{"--box", "13=0", "--seconds", "1"}, "\"Calculation Interval (ms)\""},
        {{"--box", "13=1e305"}, "\"Calculation Interval (ms)\" is too large"},
        {{"--box", "4=-0.9", "--box", "13=1e155"}, "stopped at pass 245"}, // overflows mid-run
        {{"--box", "19=1"}, "box number"},
        {{"--box", "x"}, "I=TEXT"},
        {{"--vehicle", "Ferrari"}, "unknown vehicle"},
        {{"--passes", "-3"}, "--passes"},
        {{"--passes", "1e3"}, "--passes"},
        {{"--passes"}, "--passes"},
        {{"--every", "0"}, "--every"},
        {{"--seconds", "nan"}, "--seconds"},
        {{"--passes", "1", "--seconds", "1"}, "not both"},
        {{"--frobnicate"}, "unknown option"},
        {{"--gyration=1"}, "unknown option"},
    };
    for (const auto& c : cases) {
        const Result r = batch(c.args);
        EXPECT_EQ(r.status, 2) << c.args[0];
        const auto errLines = lines(r.err);
        ASSERT_EQ(errLines.size(), 1u) << r.err;
        EXPECT_NE(errLines[0].find(c.fragment), std::string::npos) << errLines[0];
        EXPECT_EQ(errLines[0].rfind("yawmark-batch: ", 0), 0u);
    }
}

} // namespace
} // namespace yawmark
