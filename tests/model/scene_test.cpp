// SPDX-License-Identifier: MIT
// The scene: world files and two-point calibrations put known pixels on known
// metres; bad placements are refused; a survey's layers become marks.
#include "model/Scene.h"
#include "model/Survey.h"
#include "model/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace yawmark::model {
namespace {

struct Case {
    const char* what;
    std::variant<Placement, std::string> placement;
    sim::Vec2 pixel, world;
};

TEST(Scene, PlacementsPutKnownPixelsOnKnownMetres) {
    // 0.05 m a pixel, the top-left pixel's centre at (10, 20).
    const char* metres = "0.05\n0\n0\n-0.05\n10\n20\n";
    // 0.1 ft a pixel, rotated 90° (columns along -y), the centre at (100, 50) ft.
    const char* feet = "0\n-0.1\n-0.1\n0\n100\n50\n";
    const Case cases[] = {
        {"world file, m", parseWorldFile(metres, 1), {0.5, 0.5}, {10, 20}},
        {"world file, m, far corner", parseWorldFile(metres, 1), {200.5, 100.5}, {20, 15}},
        {"world file, ft",
         parseWorldFile(feet, kMetresPerFoot),
         {10.5, 0.5},
         {100 * kMetresPerFoot, 49 * kMetresPerFoot}},
        {"distance", calibrateByDistance({100, 100}, {100, 300}, 10, {2, 3}), {300, 300}, {12, -7}},
        // (0,0)->(0,0) and (100,0)->(0,10): turned 90° left, 0.1 m a pixel.
        {"rotated points", calibrateByPoints({0, 0}, {0, 0}, {100, 0}, {0, 10}), {0, 50}, {5, 0}},
        {"rotated points, diagonal",
         calibrateByPoints({0, 0}, {0, 0}, {100, 100}, {10, 10}),
         {100, 0},
         {0, 10}},
        {"rotated points, far",
         calibrateByPoints({10, 10}, {1, 1}, {110, 10}, {1, 11}),
         {110, 110},
         {11, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(std::holds_alternative<Placement>(c.placement))
            << std::get<std::string>(c.placement);
        const Placement& p = std::get<Placement>(c.placement);
        const sim::Vec2 w = p.toWorld(c.pixel);
        EXPECT_NEAR(w.x, c.world.x, 1e-9);
        EXPECT_NEAR(w.y, c.world.y, 1e-9);
        const auto back = p.toImage(c.world);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, c.pixel.x, 1e-6);
        EXPECT_NEAR(back->y, c.pixel.y, 1e-6);
        // Written and read again, the same placement.
        const auto again = parseWorldFile(worldFileText(p), 1);
        ASSERT_TRUE(std::holds_alternative<Placement>(again));
        EXPECT_NEAR(std::get<Placement>(again).toWorld(c.pixel).x, w.x, 1e-9);
    }
}

TEST(Scene, BadPlacementsAndImagesAreRefusedSayingWhy) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<std::variant<Placement, std::string>, const char*> refused[] = {
        {parseWorldFile("0\n0\n0\n0\n1\n1\n", 1), "scale is zero"},
        {parseWorldFile("1\n0\n0\n-1\n1e400\n1\n", 1), "line 5"},
        {parseWorldFile("1\n0\n0\n-1\n1\n", 1), "has 5"},
        {parseWorldFile("1\n0\nzero\n-1\n1\n1\n", 1), "line 3: \"zero\" is not a number"},
        {calibrateByDistance({5, 5}, {5, 5}, 10), "coincide"},
        {calibrateByDistance({5, 5}, {6, 5}, 0), "greater than 0"},
        {calibrateByDistance({5, 5}, {6, 5}, inf), "greater than 0"},
        {calibrateByPoints({1, 1}, {0, 0}, {1, 1}, {3, 4}), "points coincide"},
        {calibrateByPoints({1, 1}, {2, 2}, {9, 1}, {2, 2}), "coordinates coincide"},
    };
    for (const auto& [result, fragment] : refused) {
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << fragment;
        EXPECT_NE(std::get<std::string>(result).find(fragment), std::string::npos)
            << std::get<std::string>(result);
    }
    EXPECT_FALSE(imageSizeProblem(10000, 10000));
    EXPECT_TRUE(imageSizeProblem(10001, 10000));
    EXPECT_TRUE(imageSizeProblem(0, 10));
}

TEST(Scene, MeasuresDistancesAndAngles) {
    Measurement m{{{0, 0}, {3, 4}}};
    EXPECT_DOUBLE_EQ(*m.distance(), 5);
    EXPECT_FALSE(m.angle());
    m.points.push_back({3, 10});
    EXPECT_NEAR(*m.angle(), std::acos(-0.8) * 180 / std::numbers::pi, 1e-12);
    m.points = {{1, 0}, {0, 0}, {-1, 1e-12}};
    EXPECT_NEAR(*m.angle(), 180, 1e-9);
    m.points = {{0, 0}, {0, 0}, {1, 1}};
    EXPECT_FALSE(m.angle());
}

TEST(Survey, LayersNamedForAWheelBecomeItsMarksInDrawingOrder) {
    for (const auto& [layer, wheel] : {std::pair{"RL", std::optional(sim::RL)},
                                       {"mark_rl", sim::RL},
                                       {"A-B-fr", sim::FR},
                                       {"MARK_RL2", std::nullopt},
                                       {"kerb", std::nullopt},
                                       {"FLX", std::nullopt},
                                       {"_", std::nullopt}})
        EXPECT_EQ(wheelOfLayer(layer), wheel) << layer;
    const std::vector<SurveyEntity> entities{{"MARK_RL", {{0, 0}}, true},
                                             {"MARK_RL", {{1, 0}}, true},
                                             {"kerb", {{0, 5}, {9, 5}}},
                                             {"RR", {{2, 0}, {3, 0}}},
                                             {"RR", {}},
                                             {"RR", {{4, 0}, {5, 0}}},
                                             {"kerb", {{7, 7}}}};
    const auto s = surveyOf(entities, 0.5);
    ASSERT_TRUE(std::holds_alternative<Survey>(s)) << std::get<std::string>(s);
    const Survey& survey = std::get<Survey>(s);
    ASSERT_EQ(survey.marks.size(), 3u);
    EXPECT_EQ(survey.marks[0].points, (std::vector<sim::Vec2>{{0, 0}, {0.5, 0}}));
    EXPECT_EQ(survey.marks[2].wheel, sim::RR);
    EXPECT_EQ(survey.marks[2].points.front(), (sim::Vec2{2, 0}));
    ASSERT_EQ(survey.lines.size(), 1u);
    EXPECT_EQ(survey.lines[0].points.back(), (sim::Vec2{4.5, 2.5}));

    const auto none = surveyOf({{"kerb", {{0, 0}, {1, 1}}}, {"edge", {{0, 0}}}}, 1);
    ASSERT_TRUE(std::holds_alternative<std::string>(none));
    EXPECT_NE(std::get<std::string>(none).find("\"kerb\", \"edge\""), std::string::npos);
    EXPECT_EQ(std::get<std::string>(surveyOf({{"RL", {}}}, 1)), "its wheels' layers hold no points.");
    const auto many = surveyOf({{"RL", std::vector<sim::Vec2>(kMaxMarkPoints + 1)}}, 1);
    EXPECT_NE(std::get<std::string>(many).find("more than 100000"), std::string::npos);
}

TEST(Scene, CalibratesFromTheUsersAnswer) {
    // Pixels (0,0) and (100,0): 10 ft apart, or placed at given points.
    struct Row {
        const char* answer;
        sim::Vec2 second; // where pixel (100, 0) lands, m
    };
    const double ft = kMetresPerFoot;
    for (const Row& row : {Row{"10", {10 * ft, 0}}, Row{" 10 ", {10 * ft, 0}},
                           Row{"1,1 1,11", {ft, 11 * ft}}, Row{"0;0 -10;0", {-10 * ft, 0}}}) {
        const auto p = calibrationOf(row.answer, {0, 0}, {100, 0}, ft);
        ASSERT_TRUE(std::holds_alternative<Placement>(p)) << row.answer;
        const sim::Vec2 at = std::get<Placement>(p).toWorld({100, 0});
        EXPECT_NEAR(at.x, row.second.x, 1e-12) << row.answer;
        EXPECT_NEAR(at.y, row.second.y, 1e-12) << row.answer;
    }
    for (const char* bad : {"", "1 2", "ten", "0", "1,1 1,1"})
        EXPECT_TRUE(std::holds_alternative<std::string>(calibrationOf(bad, {0, 0}, {100, 0}, 1)))
            << bad;
    const Placement first = provisionalPlacement(200, 100, 1);
    EXPECT_EQ(first.toWorld({100, 50}), (sim::Vec2{0, 0}));
    EXPECT_EQ(first.toWorld({200, 0}), (sim::Vec2{100, 50}));
}

} // namespace
} // namespace yawmark::model
