// SPDX-License-Identifier: MIT
// Spreads of the inputs and forward Monte Carlo: the draws, their text, their
// refusals, runs that repeat exactly, and the summaries.
#include "model/MonteCarlo.h"
#include "model/Readout.h"
#include "model/Run.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark::model {
namespace {

Spread spread(std::string_view text) {
    return std::get<Spread>(parseSpread(text));
}

TEST(Spread, DrawsHaveTheirMeanSpreadAndEnds) {
    for (const char* text : {"normal:0.76,0.06", "uniform:40,55", "triangular:40,42,55"}) {
        const Spread s = spread(text);
        const int n = 20000;
        double sum = 0, squares = 0, below = 0;
        for (int i = 0; i < n; ++i) {
            DrawStream stream(7, i);
            const double v = drawValue(s, stream);
            ASSERT_TRUE(v >= s.lowest() && v <= s.highest()) << text << " " << v;
            sum += v, squares += v * v, below += v < s.low95();
        }
        const double mean = sum / n, sd = std::sqrt(squares / n - mean * mean);
        // Within 4 standard errors of the mean, 3% of the sd, 0.5% of the 2.5% tail.
        EXPECT_NEAR(mean, s.mean(), 4 * s.sd() / std::sqrt(n)) << text;
        EXPECT_NEAR(sd, s.sd(), 0.03 * s.sd()) << text;
        EXPECT_NEAR(below / n, 0.025, 0.005) << text;
    }
}

TEST(Spread, TextReadsBackOrIsRefused) {
    const std::pair<const char*, const char*> table[] = {
        {"normal:1139,20", "normal:1139,20"},
        {" Uniform: 0.1 , 1e-05 ", "LOW must be less than HIGH"},
        {"TRIANGULAR:40,45,55", "triangular:40,45,55"},
        {"normal:1139", "a normal spread takes MEAN,SD, not \"1139\""},
        {"triangular:1,x,3", "a triangular spread takes LOW,MODE,HIGH, not \"1,x,3\""},
        {"gauss:1,2", "a spread is normal:MEAN,SD, uniform:LOW,HIGH or triangular:LOW,MODE,HIGH, "
                      "not \"gauss:1,2\""},
        {"normal:1,0", "SD must be greater than 0"},
        {"triangular:1,4,3", "MODE must lie from LOW to HIGH"},
        {"uniform:-1e308,1e308", "the spread is too wide for its draws to be numbers"},
    };
    for (const auto& [text, expected] : table) {
        const auto read = parseSpread(text);
        const auto* s = std::get_if<Spread>(&read);
        EXPECT_EQ(s ? spreadText(*s) : std::get<std::string>(read), expected) << text;
    }
    const Spread odd{Shape::Normal, 0.1 + 0.2, 1.0 / 3};
    EXPECT_EQ(spread(spreadText(odd)), odd);
}

TEST(Spread, OnlyWithinItsBoxRange) {
    EXPECT_FALSE(checkSpread(kFrictionBox, spread("normal:0.76,0.06")));
    const std::pair<int, const char*> refused[] = {
        {kMassBox, "\"Vehicle Mass (kg)\" must be greater than 0: its spread normal:1139,300 "
                   "reaches from -61 to 2339 (a normal draw goes up to 4 SD from the mean)."},
        {kSpeedBox, "\"Initial Speed (m/s)\" must not be 0: its spread normal:1139,300 reaches "
                    "from -61 to 2339 (a normal draw goes up to 4 SD from the mean)."},
        {kSteeringBox, "\"Steering Direction (L/R/CE)\" takes no spread: it holds a word, not a "
                       "number."}};
    for (const auto& [box, message] : refused) {
        const auto problem = checkSpread(box, spread("normal:1139,300"));
        EXPECT_EQ(problem ? boxMessage(*problem, InertiaForm::Moment) : "", message);
    }
}

struct MonteCarloTest : testing::Test {
    BoxTexts texts;
    Spreads spreads;
    MonteCarloSettings settings{300, 5};
    void SetUp() override {
        writeBoxes(startupCase(), texts, true);
        spreads[kFrictionBox] = spread("normal:0.76,0.06");
        spreads[kSpeedBox] = spread("uniform:18,22");
    }
    std::optional<std::string> problem() {
        return monteCarloProblem(texts, {}, InertiaForm::Moment, spreads, settings);
    }
    MonteCarloResult run() {
        return runMonteCarlo(texts, {}, InertiaForm::Moment, spreads, settings);
    }
};

TEST_F(MonteCarloTest, SameSeedSameDrawsWhateverTheThreads) {
    settings.threads = 1;
    const MonteCarloResult one = run();
    settings.threads = 2;
    const MonteCarloResult two = run();
    ASSERT_EQ(one.draws.size(), 300u);
    EXPECT_EQ(one.refused(), 0u);
    for (std::size_t i = 0; i < one.draws.size(); ++i) {
        const DrawResult &a = one.draws[i], &b = two.draws[i];
        ASSERT_EQ(a.inputs, b.inputs) << i;
        for (int k = 0; k < kOutcomeCount; ++k)
            ASSERT_EQ(outcomeValue(*a.outcome, k), outcomeValue(*b.outcome, k)) << i;
    }
    // Draw 17 again alone: its case has the friction drawn.
    const auto c = drawnCase(texts, {}, InertiaForm::Moment, spreads, 5, 17);
    EXPECT_EQ(std::get<Case>(c).car.friction, one.draws[17].inputs[0]);
    // Its outcome is what the status bar says at rest, turned clockwise.
    model::Run plain;
    plain.start(std::get<Case>(c));
    while (plain.phase() == Phase::Running)
        plain.pass(nullptr, false);
    const Readout r = *readout(plain.record());
    const Outcome& o = *one.draws[17].outcome;
    EXPECT_EQ(std::tuple(o.restX, o.restY, o.turned, o.time),
              std::tuple(r.position.x, r.position.y, -r.turned, r.time));
    EXPECT_DOUBLE_EQ(o.distance, r.distance);
    settings.seed = 6;
    EXPECT_NE(run().draws[0].inputs, one.draws[0].inputs);
}

TEST_F(MonteCarloTest, RefusedAsDrawRefusesOrWhenNothingVaries) {
    EXPECT_FALSE(problem());
    texts.text[kMassBox] = "0";
    EXPECT_EQ(problem(), "\"Vehicle Mass (kg)\" must be greater than 0.");
    texts.text[kMassBox] = "1139";
    spreads[kInertiaBox] = spread("uniform:1000,2000");
    EXPECT_EQ(problem(), "\"Moment of Inertia (kg-m^2)\" is calculated by \"Auto Calculate\", "
                         "which would replace every drawn value: untick it to vary the box.");
    spreads = {};
    EXPECT_EQ(problem(), "no box has a spread: there is nothing to vary.");
    spreads[kFrictionBox] = spread("normal:0.76,0.06");
    settings.draws = 10'000'001;
    EXPECT_EQ(problem(), "the number of draws must be from 1 to 10000000, not 10000001.");
}

TEST_F(MonteCarloTest, ADrawDrawWouldRefuseHasNoOutcome) {
    spreads[kRadiusBox] = spread("uniform:0.5,17"); // the radius must reach behind the rear axle
    const MonteCarloResult r = run();
    ASSERT_GT(r.refused(), 0u);
    ASSERT_LT(r.refused(), 300u);
    double time = 0;
    for (const DrawResult& d : r.draws) {
        EXPECT_EQ(d.outcome.has_value(), !d.problem.starts_with("\"Mass Center Turning Radius"));
        time += d.outcome ? d.outcome->time : 0;
    }
    EXPECT_DOUBLE_EQ(summarise(r)[4].mean, time / static_cast<double>(300 - r.refused()));
}

TEST(MonteCarloSummary, PercentilesInterpolateTheOrderStatistics) {
    const Percentiles p = percentiles({4, 1, 3, 2});
    for (const auto& [got, want] : {std::pair{p.p2_5, 1.075},
                                    {p.p50, 2.5},
                                    {p.p97_5, 3.925},
                                    {p.mean, 2.5},
                                    {p.sd, std::sqrt(5.0 / 3)}})
        EXPECT_NEAR(got, want, 1e-15);
}

TEST(MonteCarloSummary, RegionLeavesTheFarthestTwentiethOut) {
    std::vector<sim::Vec2> cloud;
    for (int i = 0; i < 38; ++i)
        cloud.push_back({std::cos(i * 2 * M_PI / 38), std::sin(i * 2 * M_PI / 38)});
    cloud.push_back({50, 0});
    cloud.push_back({0, -9});
    const auto hull = region95(cloud);
    EXPECT_EQ(hull.size(), 38u);
    for (sim::Vec2 p : hull)
        EXPECT_NEAR(length(p), 1, 1e-12);
    // On a line the region is a segment, still without the farthest.
    std::vector<sim::Vec2> line{{100, 100}};
    for (int i = 0; i < 19; ++i)
        line.push_back({i * 1.0, i * 1.0});
    EXPECT_EQ(region95(line), (std::vector<sim::Vec2>{{0, 0}, {18, 18}}));
}

} // namespace
} // namespace yawmark::model
