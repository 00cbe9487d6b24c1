// Pan and zoom steps from the start-up ranges, and the scale interval sequence.
#include "plot/PanZoom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

using Change = bool (*)(Params&, int, int);

Params startup() {
    Params p;
    p.xMin = -20, p.xMax = 7.5, p.yMin = -15, p.yMax = 35;
    p.xInterval = 4, p.yInterval = 4;
    return p;
}

TEST(PanZoom, PanAndZoomStepsFromStartUp) {
    const struct {
        const char* what;
        Change change;
        int k;
        double xMin, xMax, yMin, yMax;
    } cases[] = {
        {"x right", scrX_Change, +1, -21.1, 6.4, -15, 35},
        {"x left", scrX_Change, -1, -18.9, 8.6, -15, 35},
        {"y up", scrY_Change, +1, -20, 7.5, -13, 37},
        {"y: only the sign counts", scrY_Change, -32767, -20, 7.5, -17, 33},
        {"zoom in", scrZoom_Change, +1, -17.25, 4.75, -10, 30},
    };
    for (const auto& c : cases) {
        Params p = startup();
        EXPECT_TRUE(c.change(p, 0, c.k)) << c.what;
        EXPECT_DOUBLE_EQ(p.xMin, c.xMin) << c.what;
        EXPECT_DOUBLE_EQ(p.xMax, c.xMax) << c.what;
        EXPECT_DOUBLE_EQ(p.yMin, c.yMin) << c.what;
        EXPECT_DOUBLE_EQ(p.yMax, c.yMax) << c.what;
        EXPECT_EQ(p.xInterval, 4) << c.what;
    }
    // Zoomed in and out again is not where it began: 0.8 * 1.2 is not 1.
    Params p = startup();
    scrZoom_Change(p, 0, +1);
    scrZoom_Change(p, 0, -1);
    EXPECT_DOUBLE_EQ(p.xMin, -19.45);
    EXPECT_DOUBLE_EQ(p.xMax, 6.95);
    // A bar put back to 0 changes nothing and asks for no redraw.
    for (const Change change : {scrX_Change, scrY_Change, scrZoom_Change})
        for (const int index : {0, 1})
            EXPECT_FALSE(change(p, index, 0));
    EXPECT_DOUBLE_EQ(p.xMin, -19.45);
    EXPECT_EQ(p.xInterval, 4);
}

TEST(PanZoom, ScaleIntervalStepsBothWaysAndTheFloor) {
    const struct {
        double from;
        int k;
        double to;
    } steps[] = {{4, +1, 5},      {19, +1, 20},  {20, +1, 25}, {100, +1, 125}, {1000, +1, 1100},
                 {1000, -1, 900}, {100, -1, 75}, {20, -1, 15}, {2, -1, 1}};
    for (const auto& s : steps) {
        Params p = startup();
        p.xInterval = p.yInterval = s.from;
        EXPECT_TRUE(scrZoom_Change(p, 1, s.k));
        EXPECT_EQ(p.xInterval, s.to) << s.from;
        EXPECT_EQ(p.yInterval, s.to) << s.from;
    }
    // At the floor a step down changes nothing and asks for no redraw.
    Params p = startup();
    p.xInterval = p.yInterval = 1;
    EXPECT_FALSE(scrZoom_Change(p, 1, -1));
    EXPECT_EQ(p.xInterval, 1);
    EXPECT_EQ(p.yInterval, 1);
}

TEST(PanZoom, ZoomStopsBeforeTheAxesBecomeUndrawable) {
    for (const int k : {-1, +1}) {
        Params p = startup();
        int steps = 0;
        while (scrZoom_Change(p, 0, k) && steps < 100000)
            ++steps;
        EXPECT_LT(steps, 100000) << k;
        EXPECT_TRUE(std::isfinite(p.xMin) && std::isfinite(p.xMax)) << k;
        EXPECT_LE(p.yMax - p.yMin, kMaxRange) << k;
        EXPECT_GE(p.xMax - p.xMin, kMinRange) << k;
        EXPECT_TRUE(scrZoom_Change(p, 0, -k)) << "zooming back still works";
    }
}

} // namespace
} // namespace yawmark
