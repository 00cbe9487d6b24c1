// SPDX-License-Identifier: MIT
// The fit to tyre marks, on marks the program itself leaves: surveyed every
// 0.5 m with 5 cm of scatter.
#include "model/Fit.h"
#include "model/FitDetail.h"
#include "model/FitUncertainty.h"
#include "sim/NumberText.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>

namespace yawmark::model {
namespace {

// The default car at `speed` in normal driving, integrated at 1 ms.
Case skid(double speed) {
    Case c = startupCase();
    c.launch.velocity = {0, speed};
    c.launch.yawRate = sim::normalYawRate(c.car.steering, c.car.turnRadius, c.launch.velocity);
    c.run.timeStep = 0.001;
    return c;
}

// The two rear wheels' marks, the first `reach` metres of each (all of them by default).
std::vector<Mark> survey(const Case& c, double reach = 1e9) {
    std::mt19937 dice(7);
    std::normal_distribution<double> scatter(0, 0.05);
    std::vector<Mark> marks = runMarks(c);
    for (Mark& m : marks) {
        if (markLength(m) > reach) {
            m.points.resize(static_cast<std::size_t>(reach / 0.5));
            m.endsAtRest = false;
        }
        for (sim::Vec2& p : m.points)
            p = p + sim::Vec2{scatter(dice), scatter(dice)};
    }
    return marks;
}

void expectCovers(const Estimate& e, double truth, double within) {
    ASSERT_TRUE(e.value) << e.refusal;
    EXPECT_NEAR(*e.value, truth, within);
    EXPECT_LE(*e.low, truth);
    EXPECT_GE(*e.high, truth);
}

TEST(Fit, CompleteMarksGiveTheSpeed) {
    for (const Unknowns u : {Unknowns::Speed, Unknowns::SpeedYaw, Unknowns::All}) {
        for (const double truth : {20.0, 33.0}) {
            const Case c = skid(truth);
            Case asked = c;
            asked.launch.velocity = {0, 15}; // the case's own speed is not the answer
            if (u == Unknowns::All) asked.launch.start = {0.5, -0.8};
            const FitResult r = fitMarks(asked, survey(c), {u, 0.05, true});
            SCOPED_TRACE(std::string(unknownsText(u)) + " at " + std::to_string(truth));
            ASSERT_TRUE(r.accepted()) << r.refusal;
            ASSERT_EQ(r.estimates.size(), fittedQuantities(u).size());
            expectCovers(r.estimates[0], truth, 0.1);
            EXPECT_LT(r.rms, 1.3 * r.sigma);
            EXPECT_GT(r.simulations, 0);
            // Apply: Draw must not replace a fitted yaw rate with normal driving's.
            BoxTexts t;
            AutoCalculate autos;
            applyFit(r, t, autos);
            EXPECT_EQ(autos.normal, u == Unknowns::Speed);
            EXPECT_NEAR(*parseNumber(t.text[kSpeedBox]), truth, 0.1);
        }
    }
}

// A long skid's misfit is a narrow valley among ridges: far from it every
// point is far off, and a descent through Huber's loss (flat there) stalls.
TEST(Fit, AFastSkidIsFoundFromFarAway) {
    const Case c = skid(80);
    Case asked = c;
    asked.launch.velocity = {0, 15};
    const FitResult r = fitMarks(asked, survey(c), {Unknowns::Speed, 0.05, true});
    ASSERT_TRUE(r.accepted()) << r.refusal;
    EXPECT_NEAR(*r.estimates[0].value, 80, 0.1);
}

TEST(Fit, PartialMarkGivesTheSpeedAloneButNotEverything) {
    const Case c = skid(24);
    const auto marks = survey(c, 15);
    ASSERT_FALSE(marks[0].endsAtRest);
    const FitResult speed = fitMarks(c, marks, {Unknowns::Speed, 0.05, true});
    ASSERT_TRUE(speed.accepted()) << speed.refusal;
    expectCovers(speed.estimates[0], 24, 1);
    // μ ± 0.1 moves the speed by about 0.1/(2μ) of itself either way.
    const FitResult unsure = fitMarks(c, marks, {Unknowns::Speed, 0.1, true});
    const double widening = *unsure.estimates[0].high - *unsure.estimates[0].low -
                            (*speed.estimates[0].high - *speed.estimates[0].low);
    EXPECT_NEAR(widening, 0.05 / c.car.friction * 24, 0.3);
    const FitResult all = fitMarks(c, marks, {Unknowns::All, 0.05, true});
    EXPECT_FALSE(all.accepted());
    EXPECT_NE(all.refusal.find("rest"), std::string::npos) << all.refusal;
    EXPECT_TRUE(all.estimates.empty());
}

TEST(Fit, AQuantityTheMarksDoNotDependOnGetsNoNumber) {
    Case c = skid(22);
    c.car.steering = sim::Steering::Center; // the turning radius steers nothing
    c.launch.yawRate = 1;
    const FitResult r = fitMarks(c, survey(c), {Unknowns::All, 0.05, false});
    ASSERT_TRUE(r.refusal.empty()) << r.refusal;
    EXPECT_FALSE(r.accepted());
    for (const Estimate& e : r.estimates)
        EXPECT_EQ(e.value.has_value(), e.quantity != Quantity::TurnRadius) << e.refusal;
}

// What cannot be fitted is refused before any simulation, saying what to change.
TEST(Fit, InputsOutOfRangeAreRefusedBeforeSimulating) {
    struct Row {
        const char* message;
        double sigma = kDefaultMarkSigma, reach = 0, friction = 0.9, muUncertainty = 0.05;
        double maxSeconds = 60;
    };
    const Row table[] = {
        {"σ must be from 0.001 to 10 m, not 1E-300", 1e-300},
        {"σ must be from 0.001 to 10 m, not 1E+300", 1e300},
        {"every mark needs points within 1000000 m of the origin", kDefaultMarkSigma, 2e6},
        {"the friction μ, \"Tire Coefficient of Kinetic Friction\", must be greater than 0 for a "
         "fit",
         kDefaultMarkSigma, 0, 0},
        {"the uncertainty of μ must be 0 or more and less than μ (0.9), not 0.9", kDefaultMarkSigma,
         0, 0.9, 0.9},
        {"the uncertainty of μ must be 0 or more and less than μ (0.9), not -0.01",
         kDefaultMarkSigma, 0, 0.9, -0.01},
        {"the fit's budget must be more than 0 seconds, not 0", kDefaultMarkSigma, 0, 0.9, 0.05, 0},
    };
    for (const Row& row : table) {
        Case c = skid(20);
        c.car.friction = row.friction;
        std::vector<Mark> marks{{sim::RL, {{0, 0}, {0, 5}, {row.reach, 10}}, row.sigma}};
        const FitResult r =
            fitMarks(c, marks, {Unknowns::Speed, row.muUncertainty, true, row.maxSeconds});
        EXPECT_EQ(r.refusal, row.message);
        EXPECT_EQ(r.simulations, 0) << row.message;
    }
    EXPECT_EQ(fitMarks(skid(20), {}, {}).refusal, "there are no marks to fit");
}

TEST(Fit, TwoMetresOfMarkLeaveTheSpeedOpen) {
    const Case c = skid(24);
    const FitResult r = fitMarks(c, survey(c, 2), {Unknowns::SpeedYaw, 0.05, true});
    ASSERT_TRUE(r.refusal.empty()) << r.refusal;
    EXPECT_FALSE(r.estimates[0].value);
    EXPECT_EQ(r.estimates[0].refusal.rfind("the marks leave it open: ", 0), 0u);
}

// A point moved 2 m, as a mis-keyed survey point would be, moves the speed by
// less than 0.1 m/s and is named; the fit is judged as if it were not there.
// The last point, which the rest position pulls too, needs the robust loss.
TEST(Fit, AFarPointIsNamedAndDoesNotDragTheFit) {
    const Case c = skid(25);
    const FitResult clean = fitMarks(c, survey(c), {});
    EXPECT_TRUE(clean.outliers.empty());
    const std::pair<std::size_t, sim::Vec2> table[] = {{41, {2, 0}}, {108, {0, 2}}};
    for (const auto& [point, moved] : table) {
        std::vector<Mark> marks = survey(c);
        ASSERT_EQ(marks[1].points.size(), 108u);
        marks[1].points[point - 1] = marks[1].points[point - 1] + moved;
        const FitResult r = fitMarks(c, marks, {});
        ASSERT_TRUE(r.accepted()) << r.refusal;
        EXPECT_NEAR(*r.estimates[0].value, *clean.estimates[0].value, 0.1);
        EXPECT_LT(r.rms, 1.1 * clean.rms);
        ASSERT_EQ(r.outliers.size(), 1u);
        EXPECT_EQ(r.outliers[0].wheel, marks[1].wheel);
        EXPECT_EQ(r.outliers[0].point, point);
        EXPECT_NEAR(r.outliers[0].distance, 2, 0.3);
        EXPECT_EQ(terminationText(r.termination), "converged");
    }
}

// Stopped by Cancel, or by its budget: cancelled, or refused naming the budget.
TEST(Fit, AStoppedFitSaysWhy) {
    const Case c = skid(20);
    const FitResult cancelled = fitMarks(c, survey(c), {}, [](double) { return false; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(terminationText(cancelled.termination), "cancelled");
    const FitResult late = fitMarks(c, survey(c), {Unknowns::Speed, 0.05, true, 1e-6});
    EXPECT_FALSE(late.cancelled);
    EXPECT_EQ(late.refusal, "the fit took longer than its budget of 1e-06 s");
}

TEST(Fit, AnotherCarsMarksAreNotAccepted) {
    Case other = skid(22);
    other.car.length = 2.6;
    other.car.inertia = sim::homogeneousInertia(other.car);
    const FitResult r = fitMarks(skid(22), survey(other), {Unknowns::SpeedYaw, 0.05, true});
    EXPECT_FALSE(r.accepted());
    EXPECT_GT(r.rms, 3 * r.sigma);
    EXPECT_FALSE(r.refusal.empty());
}

TEST(Fit, LaunchValuesAreWhatTheBoxesWouldSay) {
    Case c = startupCase();
    c.launch.heading = -0.3 - 0.2; // direction 0.3 rad, relative 0.2 rad, both clockwise
    c.launch.velocity = {20 * std::sin(0.3), 20 * std::cos(0.3)};
    const LaunchValues v = launchValues(c);
    EXPECT_NEAR(v[static_cast<int>(Quantity::RelativeDirection)], 0.2 * 180 / std::numbers::pi,
                1e-9);
    const Case back = withLaunch(c, v, false);
    EXPECT_NEAR(back.launch.heading, c.launch.heading, 1e-12);
    EXPECT_NEAR(back.launch.velocity.x, c.launch.velocity.x, 1e-12);
    EXPECT_EQ(back.launch.yawRate, c.launch.yawRate);
}

TEST(Fit, CriticalSpeedReadsTheRadiusOfAnArc) {
    Mark arc;
    for (int i = 0; i <= 40; ++i) {
        const double a = i * 0.025;
        arc.points.push_back({30 * std::cos(a) - 30, 30 * std::sin(a)});
    }
    const auto s = criticalSpeed(arc, 0.8, 9.8);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->radius, 30, 0.1);
    EXPECT_NEAR(s->speed, std::sqrt(0.8 * 9.8 * 30), 0.03);
    EXPECT_NEAR(s->chord, 15, 0.8);
    EXPECT_TRUE(s->low < s->speed && s->speed < s->high) << s->low; // M ± 2σ, σ 5 cm
    arc.sigma = 0.6;
    EXPECT_FALSE(criticalSpeed(arc, 0.8, 9.8)->high); // M (1 m) is within 2σ of 0
    arc.points = {{0, 0}, {0, 5}, {0, 10}};
    EXPECT_FALSE(criticalSpeed(arc, 0.8, 9.8)); // straight
}

TEST(Fit, RestErrorShrinksWithTheInterval) {
    Case c = startupCase();
    const auto coarse = restError(c);
    c.run.timeStep /= 4;
    const auto fine = restError(c);
    ASSERT_TRUE(coarse && fine);
    EXPECT_NEAR(*coarse, 0.12, 0.03);
    EXPECT_LT(*fine, *coarse / 2);
}

// A point's distance to a trail is that to its nearest segment, negative on
// the right but not beyond either end: an L of 3 m and 4 m then a zigzag and a
// straight, and random walks of 1 to 3000 steps (some of none) with points
// near and far, against a look at every segment.
TEST(FitDetail, DistanceToATrailIsToItsNearestSegment) {
    std::vector<sim::Vec2> p{{0, 0}, {3, 0}, {3, 4}};
    for (int i = 1; i <= 140; ++i)
        p.push_back(i <= 100 ? sim::Vec2{3 + i * 0.5, 4.0 + i % 2} : sim::Vec2{i - 47.0, 4});
    const std::pair<sim::Vec2, double> table[] = {
        {{-3, -4}, 5}, {{1.5, -0.5}, -0.5}, {{1.5, 0.5}, 0.5}, {{3.5, 2}, -0.5},
        {{18, 3}, -1}, {{100, 4}, 7},       {{96, 0}, 5}};
    for (const auto& [q, distance] : table)
        EXPECT_EQ(detail::Polyline(p).signedDistance(q), distance) << q.x << "," << q.y;
    std::mt19937 dice(3);
    std::normal_distribution<double> step(0, 1);
    for (const int size : {2, 9, 200, 3001}) {
        std::vector<sim::Vec2> walk{{0, 0}};
        while (static_cast<int>(walk.size()) < size)
            walk.push_back(walk.back() + (walk.size() % 7 == 3
                                              ? sim::Vec2{}
                                              : sim::Vec2{step(dice), step(dice)}));
        for (const auto* line : {&p, &walk}) {
            const detail::Polyline polyline(*line);
            for (int k = 0; k < 300; ++k) {
                const sim::Vec2 q =
                    (*line)[k % line->size()] + (k % 10 + 1) * sim::Vec2{step(dice), step(dice)};
                double nearest = detail::kInf;
                for (std::size_t i = 0; i + 1 < line->size(); ++i) {
                    const sim::Vec2 d = (*line)[i + 1] - (*line)[i];
                    const double dd = sim::dot(d, d);
                    const double t =
                        dd > 0 ? std::clamp(sim::dot(q - (*line)[i], d) / dd, 0.0, 1.0) : 0;
                    nearest = std::min(nearest, sim::length(q - ((*line)[i] + t * d)));
                }
                ASSERT_EQ(std::fabs(polyline.signedDistance(q)), nearest) << size << ": " << k;
            }
        }
    }
}

// From the marks a run leaves, with both rear marks or the left alone: the
// first guess puts the car where it was, going where it went, and the scan's
// best speed is the one nearest the truth.
TEST(FitDetail, TheSolverStartsNearTheLaunch) {
    for (const double truth : {12.0, 30.0}) {
        const Case asked = skid(truth);
        const Case c = withLaunch(asked, {truth, 0, asked.car.turnRadius, 0, 30, 2, -3}, true);
        for (std::vector<Mark> marks = runMarks(c); !marks.empty(); marks.pop_back()) {
            const LaunchValues guess = detail::firstGuess(asked, marks, Unknowns::All);
            const double within = marks.size() == 2 ? 1e-9 : 0.3; // the axle, or the first 2 m
            EXPECT_NEAR(guess[detail::index(Quantity::Direction)], 30, 30 * within);
            EXPECT_NEAR(guess[detail::index(Quantity::StartX)], 2, within) << truth;
            EXPECT_NEAR(guess[detail::index(Quantity::StartY)], -3, within) << truth;
            detail::Problem problem(asked, marks, {Unknowns::All, 0.05, false}, {});
            EXPECT_NEAR(detail::startSpeeds(problem, guess, asked).front(), truth, truth / 8);
        }
    }
}

// A run of kilometres leaves more points than a marks file holds: every
// other one goes, the ends stay.
// The draws around a fit: the survey made again on the fitted trails, the
// boxes drawn from their spreads, and the speed's sensitivity to each.
TEST(FitDraws, ResurveyedPointsLieOnTheTrailsScatteredBySigma) {
    const Case c = skid(22);
    std::vector<Mark> marks = survey(c);
    for (Mark& m : marks)
        m.sigma = 0.001;
    // The second mark found from 5 m on: where along the trail it begins is read from it.
    marks[1].startsAtPull = false;
    marks[1].points.erase(marks[1].points.begin(), marks[1].points.begin() + 10);
    const Trails t = simulateTrails(c, fitStep(c));
    DrawStream a(5, 0), b(5, 0);
    const auto again = resurveyed(marks, t, a);
    EXPECT_EQ(again, resurveyed(marks, t, b));
    for (const Mark& m : again) {
        SCOPED_TRACE(wheelCode(m.wheel));
        ASSERT_EQ(m.points.size(), marks[&m - again.data()].points.size());
        const detail::Polyline line(t.wheel[m.wheel]);
        // Each laid where its surveyed point lies along the trail.
        for (std::size_t i = 0; i < m.points.size(); ++i) {
            EXPECT_LT(std::fabs(line.signedDistance(m.points[i])), 0.005);
            EXPECT_LT(sim::length(m.points[i] - marks[&m - again.data()].points[i]), 0.25);
        }
        EXPECT_LT(sim::length(m.points.back() - t.wheel[m.wheel].back()), 0.01);
    }
    EXPECT_LT(sim::length(again[0].points[0] - t.wheel[again[0].wheel][0]), 0.005);
}

TEST(FitDraws, TheIntervalSpansTheSpreadsAndDoesNotDependOnThreads) {
    BoxTexts texts;
    writeBoxes(startupCase(), texts, true);
    texts.text[kIntervalBox] = "1";
    texts.text[kSpeedBox] = "23";
    const Case c = std::get<Prepared>(prepareDraw(texts, {}, InertiaForm::Moment)).c;
    const auto marks = survey(c, 20);
    const FitSettings settings{Unknowns::Speed, 0.05, true};
    const FitResult best = fitMarks(c, marks, settings);
    ASSERT_TRUE(best.accepted());
    Spreads spreads{};
    spreads[kFrictionBox] = Spread{Shape::Normal, c.car.friction, 0.05};
    spreads[kMassBox] = Spread{Shape::Uniform, 1000, 1300};
    FitDrawSettings draws{12, 3, 1};
    const FitDraws one = fitDraws(texts, {}, InertiaForm::Moment, spreads, marks, settings, best, draws);
    draws.threads = 2;
    const FitDraws two = fitDraws(texts, {}, InertiaForm::Moment, spreads, marks, settings, best, draws);
    ASSERT_EQ(one.ranges.size(), 1u);
    EXPECT_EQ(one.done, 12u);
    EXPECT_EQ(one.refused, 0u);
    EXPECT_EQ(one.ranges[0].low, two.ranges[0].low);
    EXPECT_EQ(one.ranges[0].high, two.ranges[0].high);
    // μ's 6% spread moves the speed by about 3%: the range is wider than the survey alone makes it.
    EXPECT_LT(one.ranges[0].low, *best.estimates[0].value - 0.2);
    EXPECT_GT(one.ranges[0].high, *best.estimates[0].value + 0.2);
    // More grip, more speed for the same marks; the mass moves nothing, so it comes last.
    ASSERT_EQ(one.sensitivity.size(), 2u);
    EXPECT_EQ(one.sensitivity[0].box, kFrictionBox);
    EXPECT_LT(one.sensitivity[0].speed[0], one.sensitivity[0].speed[1]);
    EXPECT_NEAR(one.sensitivity[1].speed[0], one.sensitivity[1].speed[1], 1e-6);
    EXPECT_NEAR(one.sensitivity[0].input[1], c.car.friction + 1.96 * 0.05, 0.005);
    // Friction without a spread still varies by the fit's ± μ.
    spreads[kFrictionBox].reset();
    const FitDraws mu = fitDraws(texts, {}, InertiaForm::Moment, spreads, marks, settings, best, draws);
    EXPECT_GT(mu.ranges[0].high - mu.ranges[0].low, 0.4);
    spreads[kFrictionBox] = Spread{Shape::Normal, c.car.friction, 0.05};

    // Refused: no fit to draw around, no draws, a spread on a calculated box.
    FitResult refused = best;
    refused.refusal = "no";
    EXPECT_TRUE(fitDrawsProblem(texts, {}, InertiaForm::Moment, spreads, refused, draws));
    EXPECT_FALSE(fitDrawsProblem(texts, {}, InertiaForm::Moment, spreads, best, draws));
    EXPECT_FALSE(fitDrawsProblem(texts, {}, InertiaForm::Moment, {}, best, draws));
    EXPECT_TRUE(fitDrawsProblem(texts, {}, InertiaForm::Moment, spreads, best, {0, 1, 1}));
    spreads[kYawRateBox] = Spread{Shape::Normal, 0, 0.01};
    EXPECT_TRUE(fitDrawsProblem(texts, {}, InertiaForm::Moment, spreads, best, draws));
}

TEST(Marks, ARunsMarksFitInAMarksFile) {
    for (const double speed : {2000, 3000}) {
        const Case c = skid(speed);
        const std::vector<Mark> marks = runMarks(c), ends = runMarks(c, 1e9);
        const std::size_t total = marks[0].points.size() + marks[1].points.size();
        EXPECT_LE(total, kMaxMarkPoints) << speed;
        EXPECT_GT(total, kMaxMarkPoints / 2) << speed;
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(marks[i].points.front(), ends[i].points.front());
            EXPECT_EQ(marks[i].points.back(), ends[i].points.back()) << speed;
        }
    }
}

TEST(Marks, BadFilesAreRefusedByLine) {
    const std::pair<const char*, const char*> table[] = {
        {"wheel,x,y\nRL,1,2\nXX,1,2\n", "line 3: the wheel must be FL, FR, RR or RL, not \"XX\"."},
        {"RL,1,2\nRL,1\n", "line 2: expected three fields wheel,x,y, found 2."},
        {"RL,1,2,3\n", "line 1: expected three fields wheel,x,y, found 4."},
        {"RL,1,2\n\nRR,a,2\n", "line 3: \"x\" is not a number: \"a\"."},
        {"RL,1,nan\n", "line 1: \"y\" is not a number: \"nan\"."},
        {"RL,1,2\nRL,-2e6,3\n", "line 2: \"x\" must lie within 1000000 m of the origin, not -2e6."},
        {"wheel,x,y\n", "no points: a row \"wheel,x,y\" is needed for each."},
        {"wheel,x_cm,y_cm\nRL,1,2\n",
         "line 1: the header must be wheel,x,y (metres) or wheel,x_ft,y_ft (feet), not "
         "\"wheel,x_cm,y_cm\"."},
    };
    for (const auto& [csv, message] : table) {
        const auto read = parseMarks(csv);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << csv;
        EXPECT_EQ(std::get<std::string>(read), message);
    }
}

TEST(Marks, CsvRoundTripKeepsMarksApart) {
    const auto read =
        parseMarks("\xEF\xBB\xBFwheel,x,y\nrl,1,2\n RL ,1.5,2.5\n\nRL,3,4\nFR,-1,0\n");
    ASSERT_TRUE(std::holds_alternative<std::vector<Mark>>(read));
    const auto& marks = std::get<std::vector<Mark>>(read);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].points.size(), 2u);
    EXPECT_EQ(marks[2].wheel, sim::FR);
    const auto again = parseMarks(marksCsv(marks));
    ASSERT_EQ(std::get<std::vector<Mark>>(again).size(), 3u);
    EXPECT_EQ(std::get<std::vector<Mark>>(again)[1].points[0], (sim::Vec2{3, 4}));
    // A header in feet: the points are read into metres.
    const auto feet = parseMarks("Wheel,X_ft,Y_ft\nRL,10,-1\n");
    EXPECT_EQ(std::get<std::vector<Mark>>(feet)[0].points[0], (sim::Vec2{3.048, -0.3048}));
}

} // namespace
} // namespace yawmark::model
