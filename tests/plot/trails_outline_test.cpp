// Trails and outlines as the run loop draws them, checked on the recording surface.
#include "plot/Outline.h"
#include "plot/RecordingSurface.h"
#include "plot/Trails.h"

#include <gtest/gtest.h>

#include <cmath>

namespace yawmark {
namespace {

using Op = RecordingSurface::Op;

Params trailParams() {
    Params p;
    p.pointColor = kPointColor;
    p.pixelSize = 1;
    return p;
}

// A line or a dot (not a setting).
bool drawn(const Op& op) {
    return op.kind == Op::Line || op.kind == Op::PSet;
}

// A car at (cx, cy) with its wheels one metre to each side and ahead/behind.
RunState carAt(double cx, double cy, bool snapDone) {
    RunState r;
    r.cmX = cx;
    r.cmY = cy;
    r.corner[FL] = {-1, 1};
    r.corner[FR] = {1, 1};
    r.corner[RR] = {1, -1};
    r.corner[RL] = {-1, -1};
    r.snapDone = snapDone;
    return r;
}

TEST(Trails, DotsSegmentsAndRestartsOfOneTrail) {
    // The mass centre's trail at (n, 2n) on pass n.
    const struct {
        bool connect, snapDone;
        Op::Kind expected;
        const char* why;
    } passes[] = {
        {false, false, Op::PSet, "unconnected: a dot"},
        {false, true, Op::PSet, "still unconnected: another dot"},
        {true, true, Op::PSet, "switched to lines during the run: starts with a dot"},
        {true, true, Op::Line, "then joined to the previous point"},
        {true, false, Op::PSet, "snapshot: a new stretch starts with a dot"},
        {true, true, Op::Line, "joined again"},
        {false, true, Op::PSet, "switched off: a dot"},
        {true, true, Op::PSet, "switched on again: a dot, not a segment from long ago"},
    };
    RecordingSurface s;
    Params p = trailParams();
    TrailMemory memory;
    double n = 0;
    for (const auto& step : passes) {
        p.connectPixels[CE] = step.connect;
        s.clear();
        MyPset(s, p, step.snapDone, memory, n, 2 * n, CE);
        ASSERT_EQ(s.ops().size(), 1u) << step.why;
        const Op& op = s.ops()[0];
        EXPECT_EQ(op.kind, step.expected) << step.why;
        EXPECT_EQ(op.color, kPointColor[CE]) << step.why;
        EXPECT_EQ(op.x1, n) << step.why;
        EXPECT_EQ(op.y1, 2 * n) << step.why;
        if (op.kind == Op::Line) {
            EXPECT_EQ(op.x2, n - 1) << step.why << ": from the previous point";
            EXPECT_EQ(op.y2, 2 * (n - 1)) << step.why;
        }
        ++n;
    }
}

TEST(Trails, DrawLocusPlotsMassCentreThenWheelsInOrder) {
    RecordingSurface s;
    Params p = trailParams();
    TrailMemory memory;
    DrawLocus(s, p, carAt(10, 20, true), memory);
    const auto dots = s.opsOf(Op::PSet);
    ASSERT_EQ(dots.size(), 5u);
    const double ex[] = {10, 9, 11, 11, 9}, ey[] = {20, 21, 21, 19, 19};
    for (int i = 0; i < kPointCount; ++i) {
        EXPECT_EQ(dots[i].x1, ex[i]) << kPointLabel[i];
        EXPECT_EQ(dots[i].y1, ey[i]) << kPointLabel[i];
        EXPECT_EQ(dots[i].color, kPointColor[i]) << kPointLabel[i];
    }
    // An index outside the five points draws nothing.
    s.clear();
    MyPset(s, p, true, memory, 0, 0, 5);
    MyPset(s, p, true, memory, 0, 0, -1);
    EXPECT_TRUE(s.ops().empty());
}

TEST(Outline, SnapshotIsPersistentOrdinaryPassIsScreenOnly) {
    for (const bool snapDone : {false, true}) {
        RecordingSurface s;
        DrawBox(s, trailParams(), carAt(0, 0, snapDone));
        const auto lines = s.opsOf(Op::Line);
        ASSERT_EQ(lines.size(), 4u);
        ASSERT_EQ(s.opsOf(Op::PSet).size(), 5u);
        for (const Op& op : s.ops())
            EXPECT_TRUE(!drawn(op) || op.autoRedraw == !snapDone) << "snapDone " << snapDone;
        EXPECT_TRUE(s.autoRedraw()) << "the next trails go into the image";
        // Front, right, left in the foreground colour; the rear edge RR-RL in cyan.
        EXPECT_FALSE(lines[0].color.has_value());
        EXPECT_EQ(lines[3].color, kRearEdgeColor);
        EXPECT_EQ(lines[3].x1, 1);  // RR
        EXPECT_EQ(lines[3].x2, -1); // RL
        EXPECT_EQ(lines[3].y2, -1);
    }
}

TEST(Outline, EdgesAndDotsTakeTheRoundedPixelSize) {
    // Halves round to even; anything below 1 or not a number draws 1 wide.
    const struct {
        double pixelSize;
        int width;
    } cases[] = {{2.5, 2}, {3.5, 4}, {0.4, 1}, {-2, 1}, {NAN, 1}, {1e9, kMaxDrawWidth}};
    for (const auto& c : cases) {
        RecordingSurface s;
        Params p = trailParams();
        p.pixelSize = c.pixelSize;
        s.setDrawWidth(roundedPixelSize(p.pixelSize)); // as the loop does before its passes
        DrawBox(s, p, carAt(0, 0, false));
        for (const Op& op : s.ops())
            EXPECT_TRUE(!drawn(op) || op.width == c.width) << c.pixelSize;
    }
}

} // namespace
} // namespace yawmark
