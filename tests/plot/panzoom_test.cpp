// Pan and zoom steps from the start-up ranges, and the scale interval sequence.
#include "plot/PanZoom.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace yawmark {
namespace {

Params startup() {
    Params p;
    p.xMin = -20, p.xMax = 7.5, p.yMin = -15, p.yMax = 35;
    p.xInterval = 4, p.yInterval = 4;
    return p;
}

TEST(PanZoom, PanAndZoomStepsFromStartUp) {
    Params p = startup();
    EXPECT_TRUE(scrX_Change(p, 0, +1));
    EXPECT_DOUBLE_EQ(p.xMin, -21.1);
    EXPECT_DOUBLE_EQ(p.xMax, 6.4);
    EXPECT_EQ(p.yMin, -15);

    p = startup();
    EXPECT_TRUE(scrX_Change(p, 0, -1));
    EXPECT_DOUBLE_EQ(p.xMin, -18.9);
    EXPECT_DOUBLE_EQ(p.xMax, 8.6);

    p = startup();
    EXPECT_TRUE(scrY_Change(p, 0, +1));
    EXPECT_DOUBLE_EQ(p.yMin, -13);
    EXPECT_DOUBLE_EQ(p.yMax, 37);
    EXPECT_EQ(p.xMin, -20);

    p = startup();
    EXPECT_TRUE(scrZoom_Change(p, 0, +1));
    EXPECT_DOUBLE_EQ(p.xMin, -17.25);
    EXPECT_DOUBLE_EQ(p.xMax, 4.75);
    EXPECT_DOUBLE_EQ(p.yMin, -10);
    EXPECT_DOUBLE_EQ(p.yMax, 30);
    EXPECT_TRUE(scrZoom_Change(p, 0, -1));
    EXPECT_DOUBLE_EQ(p.xMin, -19.45); // 0.8 * 1.2 is not 1: not back where it began
    EXPECT_DOUBLE_EQ(p.xMax, 6.95);
    EXPECT_EQ(p.xInterval, 4);

    // The bar's value counts only for its sign; a bar put back to 0 changes nothing.
    p = startup();
    EXPECT_TRUE(scrY_Change(p, 0, barSign(-32767)));
    EXPECT_DOUBLE_EQ(p.yMin, -17);
    const Params before = p;
    EXPECT_FALSE(scrX_Change(p, 0, 0));
    EXPECT_FALSE(scrY_Change(p, 0, 0));
    EXPECT_FALSE(scrZoom_Change(p, 0, 0));
    EXPECT_FALSE(scrZoom_Change(p, 1, 0));
    EXPECT_EQ(p.xMin, before.xMin);
    EXPECT_EQ(p.yMin, before.yMin);
    EXPECT_EQ(p.xInterval, before.xInterval);
    EXPECT_EQ(barSign(10), 1);
    EXPECT_EQ(barSign(0), 0);
}

TEST(PanZoom, ScaleIntervalSequencesBothWaysAndTheFloor) {
    Params p = startup();
    std::vector<double> up;
    while (p.xInterval < 1300) {
        ASSERT_TRUE(scrZoom_Change(p, 1, +1));
        up.push_back(p.xInterval);
        EXPECT_EQ(p.yInterval, p.xInterval);
    }
    // 4 -> 5 ... 20, 25 ... 100, 125 ... 1000, 1100, 1200, 1300.
    ASSERT_EQ(up.size(), 16u + 16u + 36u + 3u);
    EXPECT_EQ(up[0], 5);
    EXPECT_EQ(up[15], 20);
    EXPECT_EQ(up[16], 25);
    EXPECT_EQ(up[31], 100);
    EXPECT_EQ(up[32], 125);
    EXPECT_EQ(up[67], 1000);
    EXPECT_EQ(up[68], 1100);

    const struct {
        double from;
        int k;
        double to;
    } steps[] = {{1000, -1, 900}, {100, -1, 75}, {20, -1, 15},
                 {19, +1, 20},    {20, +1, 25},  {2, -1, 1}};
    for (const auto& s : steps) {
        p.xInterval = p.yInterval = s.from;
        EXPECT_TRUE(scrZoom_Change(p, 1, s.k));
        EXPECT_EQ(p.xInterval, s.to) << s.from;
        EXPECT_EQ(p.yInterval, s.to) << s.from;
    }
    // At the floor a step down changes nothing and asks for no redraw.
    p.xInterval = p.yInterval = 1;
    EXPECT_FALSE(scrZoom_Change(p, 1, -1));
    EXPECT_EQ(p.xInterval, 1);
    EXPECT_EQ(p.yInterval, 1);
}

TEST(PanZoom, ZoomStopsBeforeTheAxesBecomeUndrawable) {
    Params p = startup();
    int steps = 0;
    while (scrZoom_Change(p, 0, -1) && steps < 100000)
        ++steps;
    EXPECT_LT(steps, 100000);
    EXPECT_TRUE(std::isfinite(p.xMin) && std::isfinite(p.xMax));
    EXPECT_LE(p.yMax - p.yMin, kMaxRange);
    EXPECT_TRUE(scrZoom_Change(p, 0, +1)) << "zooming back in still works";

    p = startup();
    steps = 0;
    while (scrZoom_Change(p, 0, +1) && steps < 100000)
        ++steps;
    EXPECT_LT(steps, 100000);
    EXPECT_GT(p.xMax - p.xMin, 0);
    EXPECT_GE(p.xMax - p.xMin, kMinRange);
}

} // namespace
} // namespace yawmark
