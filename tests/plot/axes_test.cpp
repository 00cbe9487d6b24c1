// The axes on the recording surface: mapping, padding to the window's shape,
// ticks and labels, the failure path and the tick bound.
#include "plot/Axes.h"
#include "plot/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace yawmark {
namespace {

using Op = RecordingSurface::Op;

Params startup() {
    Params p;
    p.xMin = -20, p.xMax = 7.5, p.yMin = -15, p.yMax = 35;
    p.xInterval = 4, p.yInterval = 4;
    return p;
}

RecordingSurface::Config wideWindow() {
    RecordingSurface::Config wide;
    wide.windowWidth = 20000, wide.windowHeight = 8000;
    wide.areaWidth = 19880, wide.areaHeight = 7300;
    return wide;
}

// The two axis lines are the first two lines DrawScale draws; the final
// mapping is its second Scale.
struct Axes {
    Op x, y, mapping;
};
Axes axesOf(const RecordingSurface& s) {
    const auto lines = s.opsOf(Op::Line);
    const auto maps = s.opsOf(Op::ScaleCorners);
    EXPECT_GE(lines.size(), 2u);
    EXPECT_EQ(maps.size(), 2u);
    return {lines.at(0), lines.at(1), maps.at(1)};
}

std::set<double> xTickPositions(const RecordingSurface& s) {
    std::set<double> at;
    const auto lines = s.opsOf(Op::Line);
    for (std::size_t i = 2; i < lines.size(); ++i)
        if (lines[i].x1 == lines[i].x2) at.insert(lines[i].x1);
    return at;
}

TEST(Axes, StartUpRangesInTheDesignWindowPadTheYRange) {
    RecordingSurface s; // the design-size window: the box is relatively wider
    ASSERT_FALSE(DrawScale(s, startup()).has_value());
    EXPECT_EQ(s.ops().front().kind, Op::Cls);
    const Axes a = axesOf(s);
    // x keeps -20..7.5; y is padded to run from the bottom to the top edge.
    EXPECT_EQ(a.x.x1, -20);
    EXPECT_EQ(a.x.x2, 7.5);
    EXPECT_EQ(a.x.y1, 0);
    EXPECT_EQ(a.y.x1, 0);
    EXPECT_LT(a.y.y1, -15);
    EXPECT_GT(a.y.y2, 35);
    EXPECT_NEAR(a.y.y1, a.mapping.y2, 1e-9);
    EXPECT_NEAR(a.y.y2, a.mapping.y1, 1e-9);
    // The final mapping has the window's shape, y upward, and leaves room for the panel.
    const auto& c = s.config();
    EXPECT_NEAR((a.mapping.y1 - a.mapping.y2) / (a.mapping.x2 - a.mapping.x1),
                c.windowHeight / c.windowWidth, 1e-12);
    EXPECT_LT(a.mapping.x1, -20 - 3615.0 / (8025 - 3615) * 27.5);
    // Ticks and labels every 4 m; x labels hang from the lower end of their
    // tick, in character sizes measured in the provisional mapping.
    const auto ticks = xTickPositions(s);
    EXPECT_TRUE(ticks.count(-20) && ticks.count(4) && ticks.count(0));
    EXPECT_FALSE(ticks.count(8));
    const auto prints = s.opsOf(Op::Print);
    for (const Op& op : prints)
        EXPECT_EQ(std::fmod(op.value, 4), 0) << op.value;
    const Op provisional = s.opsOf(Op::ScaleCorners).at(0);
    const double cw = c.charWidth * (provisional.x2 - provisional.x1) / c.areaWidth;
    const double ch = c.charHeight * (provisional.y1 - provisional.y2) / c.areaHeight;
    const auto four = std::find_if(prints.begin(), prints.end(), // the x labels come first
                                   [](const Op& op) { return op.value == 4; });
    ASSERT_NE(four, prints.end());
    EXPECT_NEAR(four->x1, 4 - cw / 1.5, 1e-9);
    EXPECT_NEAR(four->y1, -ch / 2, 1e-9);
}

TEST(Axes, WideWindowPadsTheXRangeAboutItsCentre) {
    RecordingSurface s(wideWindow());
    ASSERT_FALSE(DrawScale(s, startup()).has_value());
    const Axes a = axesOf(s);
    EXPECT_EQ(a.y.y1, -15);
    EXPECT_EQ(a.y.y2, 35);
    const double e = (50 / 0.4 - 27.5) / 2;
    EXPECT_DOUBLE_EQ(a.x.x1, -20 - e);
    EXPECT_DOUBLE_EQ(a.x.x2, 7.5 + e);
    EXPECT_NEAR((a.mapping.y1 - a.mapping.y2) / (a.mapping.x2 - a.mapping.x1), 0.4, 1e-12);
}

TEST(Axes, RangesWithoutTheOriginPutTheAxisAlongTheirLowEdge) {
    RecordingSurface s;
    Params p = startup();
    p.xMin = 5, p.xMax = 20;
    p.yMin = -5, p.yMax = 5; // flat enough that x keeps its range
    ASSERT_FALSE(DrawScale(s, p).has_value());
    EXPECT_EQ(axesOf(s).y.x1, 5);
    EXPECT_EQ(axesOf(s).y.x2, 5);
    // A range reaching a multiple gets its tick.
    EXPECT_EQ(xTickPositions(s), (std::set<double>{0, 4, 8, 12, 16, 20}));

    RecordingSurface w(wideWindow()); // wide enough that y keeps its range
    p = startup();
    p.yMin = 10, p.yMax = 40;
    ASSERT_FALSE(DrawScale(w, p).has_value());
    EXPECT_EQ(axesOf(w).x.y1, 10);
    EXPECT_EQ(axesOf(w).y.y1, 10);
    EXPECT_EQ(axesOf(w).y.x1, 0);
}

TEST(Axes, FailuresAreReportedNotThrown) {
    const struct {
        const char* what;
        double windowWidth, xMax, interval;
        int number;
    } cases[] = {
        {"window as wide as the panel's right edge", 3615, 7.5, 4, 11},
        {"range beyond the numbers", 8025, INFINITY, 4, 6},
        {"empty range", 8025, -20, 4, 5},
        {"no interval", 8025, 7.5, 0, 5},
        {"interval not a number", 8025, 7.5, NAN, 5},
    };
    for (const auto& c : cases) {
        RecordingSurface s;
        s.config().windowWidth = c.windowWidth;
        Params p = startup();
        p.xMax = c.xMax;
        p.xInterval = p.yInterval = c.interval;
        const auto failure = DrawScale(s, p);
        ASSERT_TRUE(failure.has_value()) << c.what;
        EXPECT_EQ(failure->number, c.number) << c.what;
        EXPECT_EQ(s.ops().front().kind, Op::Cls) << c.what;
    }
    EXPECT_EQ(
        scaleFailureText({11, "Division by zero"}),
        "Something in SCALE went wrong, man!\nError number: 11\nDescription: Division by zero");

    // Clear clears, then draws the axes for the ranges it is given.
    RecordingSurface s;
    ASSERT_FALSE(cmdClear_Click(s, startup()).has_value());
    EXPECT_EQ(s.ops()[0].kind, Op::Cls);
    EXPECT_EQ(s.opsOf(Op::ScaleCorners).size(), 2u);
}

TEST(Axes, FarZoomedOutAxesCarryABoundedNumberOfTicks) {
    RecordingSurface s;
    Params p = startup();
    p.xMin = -3e6, p.xMax = 1e6, p.yMin = -2e6, p.yMax = 5e6;
    p.xInterval = p.yInterval = 1;
    ASSERT_FALSE(DrawScale(s, p).has_value());
    const auto prints = s.opsOf(Op::Print);
    EXPECT_LE(prints.size(), 4u * (kMaxTicksPerHalfAxis + 2));
    EXPECT_GT(prints.size(), 20u);
    // The coarsening keeps to multiples of the interval and stops as soon as the bound is met.
    EXPECT_EQ(tickInterval(4, 100), 4);
    EXPECT_EQ(tickInterval(1, 400), 2);
    EXPECT_EQ(tickInterval(1, 3e6), 20000);
}

} // namespace
} // namespace yawmark
