// SPDX-License-Identifier: MIT
// The view's steps, and the axes, trails and outlines the renderer draws on a recording surface.
#include "plot/RecordingSurface.h"
#include "plot/Renderer.h"
#include "sim/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace yawmark::plot {
namespace {

using Op = RecordingSurface::Op;
// Drawing areas, pixels: tall, wide, and too narrow for a legend.
constexpr Frame kTall{300, 900}, kWide{1000, 400}, kNarrow{350, 546};

TEST(View, ImageSizesWithinTheLimits) {
    using Size = std::optional<std::pair<int, int>>;
    const std::pair<const char*, Size> table[] = {
        {"300x200", std::pair{300, 200}},
        {" 300 X 200 ", std::pair{300, 200}},
        {"1x1", std::pair{1, 1}},
        {"8192x4096", std::pair{8192, 4096}},
        {"8192x4097", {}}, // more pixels than an image may have
        {"8193x1", {}},
        {"0x5", {}},
        {"-3x4", {}},
        {"5x+5", {}},
        {"3.5x4", {}},
        {"300", {}},
        {"300x", {}},
        {"x200", {}},
        {"", {}},
        {"abc", {}},
        {"1x2x3", {}},
        {"99999999999x2", {}},
    };
    for (const auto& [text, size] : table)
        EXPECT_EQ(parseImageSize(text), size) << text;
}

TEST(View, PanAndZoomStepsFromStartUp) {
    // what, the step, k, then xMin, xMax, yMin, yMax
    const std::tuple<const char*, bool (View::*)(int), int, std::array<double, 4>> cases[] = {
        {"x right", &View::panX, +1, {-21.1, 6.4, -15, 35}},
        {"x left", &View::panX, -1, {-18.9, 8.6, -15, 35}},
        {"y up", &View::panY, +1, {-20, 7.5, -13, 37}},
        {"y: only the sign counts", &View::panY, -32767, {-20, 7.5, -17, 33}},
        {"zoom in", &View::zoom, +1, {-17.25, 4.75, -10, 30}},
        {"zoom out", &View::zoom, -1, {-22.75, 10.25, -20, 40}},
    };
    for (const auto& [what, change, k, ranges] : cases) {
        SCOPED_TRACE(what);
        View v;
        EXPECT_TRUE((v.*change)(k));
        const double got[] = {v.xMin, v.xMax, v.yMin, v.yMax};
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(got[i], ranges[i]) << i;
        EXPECT_FALSE((v.*change)(0)) << "a bar back at 0 asks for no redraw";
        EXPECT_EQ(v.xMin, got[0]);
    }
}

TEST(View, IntervalStepsNeverBelow1AndZoomIsRefusedBeyondTheRangeLimits) {
    const std::tuple<double, int, double> intervals[] = {
        {4, +1, 5},       {19, +1, 20},    {20, +1, 25},  {100, +1, 125},
        {1000, +1, 1100}, {1000, -1, 900}, {100, -1, 75}, {20, -1, 15},
        {2, -1, 1},       {1.5, -1, 1},    {1, -1, 1},    {1, 0, 1}};
    for (const auto& [from, k, to] : intervals) {
        View v;
        v.xInterval = v.yInterval = from;
        EXPECT_EQ(v.stepInterval(k), from != to) << from << " " << k;
        EXPECT_EQ((std::array{v.xInterval, v.yInterval}), (std::array{to, to})) << from << " " << k;
    }
    // Zooming in, the narrower x range meets 1 µm; zooming out, the wider y range 1e12 m.
    const std::tuple<int, double View::*, double View::*, double, double> cases[] = {
        {+1, &View::xMin, &View::xMax, 1e-6, 1e-6 / 0.8},
        {-1, &View::yMin, &View::yMax, 1e12 / 1.2, 1e12}};
    for (const auto& [k, lo, hi, least, most] : cases) {
        View v;
        for (int steps = 0; steps < 100000 && v.zoom(k); ++steps) {
        }
        EXPECT_GE(v.*hi - v.*lo, least) << k;
        EXPECT_LE(v.*hi - v.*lo, most) << k;
        EXPECT_TRUE(v.zoom(-k)) << "zooming back still works";
    }
    View far{-1.7e308, 1.7e308, -1, 1}; // a pan that would leave the numbers
    EXPECT_FALSE(far.panX(1));
    EXPECT_EQ(far.xMin, -1.7e308);
}

TEST(View, GesturesZoomAboutAPointPanAndFitAndLeaveTheIntervalToTheDrawing) {
    View v;
    EXPECT_TRUE(v.zoomAbout({0, 5}, 0.5)); // (0, 5) stays put
    EXPECT_EQ((std::array{v.xMin, v.xMax, v.yMin, v.yMax}), (std::array{-10.0, 3.75, -5.0, 20.0}));
    EXPECT_TRUE(v.autoIntervals);
    EXPECT_TRUE(v.panBy(1.25, -10));
    EXPECT_EQ((std::array{v.xMin, v.xMax, v.yMin, v.yMax}), (std::array{-8.75, 5.0, -15.0, 10.0}));
    EXPECT_TRUE(v.stepInterval(1)); // the bar takes the interval back by hand
    EXPECT_FALSE(v.autoIntervals);
    EXPECT_TRUE(v.fit({-1, 0}, {1, 30}, 0.1)); // 20 % wider than the box; a thin one at least 1 m
    EXPECT_EQ((std::array{v.xMin, v.xMax, v.yMin, v.yMax}), (std::array{-1.2, 1.2, -3.0, 33.0}));
    EXPECT_TRUE(v.autoIntervals);
    for (const double factor : {0.0, -1.0, double(NAN), double(INFINITY), 1e-9, 1e12})
        EXPECT_FALSE(v.zoomAbout({0, 0}, factor)) << factor;
    EXPECT_FALSE(v.zoomAbout({NAN, 0}, 2));
    EXPECT_FALSE(v.panBy(0, 0) || v.panBy(NAN, 1) || v.panBy(1e308, 0) || v.panBy(0, 1.7e308));
    EXPECT_EQ((std::array{v.xMin, v.xMax, v.yMin, v.yMax}), (std::array{-1.2, 1.2, -3.0, 33.0}));
}

struct Axes {
    RecordingSurface s;
    Op x, y, provisional, mapping; // the axis lines, the two world rectangles
    std::set<double> xTicks;
    Axes(const View& v, const Frame& f) {
        EXPECT_FALSE(Renderer(s, v).drawAxes(f).has_value());
        const auto lines = s.opsOf(Op::Line), maps = s.opsOf(Op::WorldRect);
        EXPECT_EQ(s.ops.at(0).kind, Op::Clear);
        x = lines.at(0), y = lines.at(1), provisional = maps.at(0), mapping = maps.at(1);
        for (std::size_t i = 2; i < lines.size(); ++i)
            if (lines[i].x1 == lines[i].x2) xTicks.insert(lines[i].x1);
    }
    double shape() const { return (mapping.y1 - mapping.y2) / (mapping.x2 - mapping.x1); }
};

TEST(Axes, FillTheWindowsShapeByWideningOneRangeAboutItsCentreOrAlongALowEdge) {
    const Axes a(View{}, kTall); // y is widened to the edges
    EXPECT_EQ((std::array{a.x.x1, a.x.x2, a.x.y1, a.y.x1}), (std::array{-20.0, 7.5, 0.0, 0.0}));
    EXPECT_NEAR(std::hypot(a.y.y1 - a.mapping.y2, a.y.y2 - a.mapping.y1), 0, 1e-9); // edge to edge
    EXPECT_NEAR(a.y.y1 + a.y.y2, -15 + 35, 1e-9);
    EXPECT_NEAR(a.shape(), 3, 1e-12);
    EXPECT_EQ(a.provisional.x1, -20);
    const Axes b(View{}, kWide);
    const double e = (50 / 0.4 - 27.5) / 2;
    EXPECT_EQ((std::array{b.y.y1, b.y.y2}), (std::array{-15.0, 35.0}));
    EXPECT_NEAR(std::hypot(b.x.x1 - (-20 - e), b.x.x2 - (7.5 + e)), 0, 1e-12);
    EXPECT_NEAR(b.shape(), 0.4, 1e-12);
    // Ranges without the origin put the axis along their low edge.
    const Axes c(View{5, 20, -5, 5}, kTall); // flat: x keeps its range
    EXPECT_EQ((std::array{c.y.x1, c.y.x2}), (std::array{5.0, 5.0}));
    EXPECT_EQ(c.xTicks, (std::set<double>{0, 4, 8, 12, 16, 20})); // 20 reached gets its tick
    const Axes d(View{-20, 7.5, 10, 40}, kWide);                  // wide: y keeps its range
    EXPECT_EQ((std::array{d.x.y1, d.y.y1, d.y.x1}), (std::array{10.0, 10.0, 0.0}));
}

TEST(Axes, TicksEveryIntervalLabelledInCharacterSizes) {
    const Axes a(View{}, kTall);
    EXPECT_EQ(a.xTicks, (std::set<double>{-20, -16, -12, -8, -4, 0, 4}));
    // Characters of 7 × 14 pixels measured in the provisional mapping.
    const double cw = 7 * (a.provisional.x2 - a.provisional.x1) / 527;
    const double ch = 14 * (a.provisional.y1 - a.provisional.y2) / 546;
    const double yw = 2 * 7 * (a.mapping.x2 - a.mapping.x1) / 527; // " 4" in the final mapping
    std::vector<Op> fours; // below the x axis, then ending a character left of the y axis
    for (const Op& op : a.s.opsOf(Op::Label)) {
        EXPECT_EQ(std::fmod(op.value, 4), 0) << op.value;
        EXPECT_TRUE(op.value != 0 || std::hypot(op.x1 + cw / 1.5, op.y1 + ch / 2) < 1e-9);
        if (op.value == 4) fours.push_back(op);
    }
    ASSERT_EQ(fours.size(), 2u);
    EXPECT_NEAR(std::hypot(fours[0].x1 - (4 - cw / 1.5), fours[0].y1 + ch / 2), 0, 1e-9);
    EXPECT_NEAR(std::hypot(fours[1].x1 + cw + yw, fours[1].y1 - (4 + ch / 2)), 0, 1e-9);
}

TEST(Axes, FailuresAreReportedAndTheDrawingStopsWhereItWas) {
    // What is wrong; window width, xMax, the x and y intervals; error number; lines drawn before.
    const std::tuple<const char*, double, double, double, double, int, std::size_t> cases[] = {
        {"area of no width", 0, 7.5, 4, 4, 11, 0},
        {"range beyond the numbers", 527, INFINITY, 4, 4, 6, 0},
        {"empty range", 527, -20, 4, 4, 5, 0},
        {"no x interval", 527, 7.5, 0, 4, 5, 2},
        {"y interval not a number", 527, 7.5, 4, NAN, 5, 2},
    };
    for (const auto& [what, width, xMax, xInterval, yInterval, number, lines] : cases) {
        SCOPED_TRACE(what);
        RecordingSurface s;
        const View v{-20, xMax, -15, 35, xInterval, yInterval};
        const auto failure = Renderer(s, v).drawAxes({width, 546});
        EXPECT_EQ(failure.value_or(ScaleFailure{0, ""}).number, number);
        EXPECT_EQ(s.opsOf(Op::Line).size(), lines);
        EXPECT_TRUE(s.opsOf(Op::Label).empty());
    }
    EXPECT_EQ(scaleFailureText({11, "Division by zero"}),
              "Something in SCALE went wrong, man!\nError number: 11\n"
              "Description: Division by zero");
}

TEST(Axes, AtMost200TicksPerHalfAxisCoarsened125) {
    const Axes a(View{-3.9e6, 1e6, -2e6, 5e6, 1, 1}, kTall);
    const std::vector<double> t(a.xTicks.begin(), a.xTicks.end());
    const auto origin = std::find(t.begin(), t.end(), 0.0) - t.begin(); // ticks left of it
    EXPECT_LE(origin, 200);
    EXPECT_LE(static_cast<long>(t.size()) - origin - 1, 200);
    EXPECT_LT(t.front() - (t[1] - t[0]), a.x.x1) << "the ticks reach both ends";
    EXPECT_GT(t.back() + (t[1] - t[0]), a.x.x2);
    const double steps[][3] = {{4, 100, 4},
                               {1, 200, 1},
                               {1, 201, 2},
                               {1, 401, 5},
                               {1, 1001, 10},
                               {3, 3e6, 15000},
                               {1, 4.1e6, 5e4},          // interval, extent,
                               {1, INFINITY, INFINITY}}; // step
    for (const auto& s : steps)
        EXPECT_EQ(tickInterval(s[0], s[1]), s[2]) << s[0] << " " << s[1];
}

TEST(Axes, GesturesPick125IntervalsThatKeepLabelsApartAndTheLegendNamesTheColours) {
    for (const double width : {0.003, 2.0, 27.5, 900.0}) {
        View v{-width, width, -width / 2, width / 2};
        v.autoIntervals = true;
        v.legend = width > 1;
        const Axes a(v, width < 100 ? kWide : kNarrow);
        const double charWidth = 7 * (a.mapping.x2 - a.mapping.x1) / 527;
        const auto labels = a.s.opsOf(Op::Label);
        std::vector<Op> below; // the x axis's labels (the first is the origin's), left to right
        std::copy_if(labels.begin(), labels.end(), std::back_inserter(below),
                     [&](const Op& op) { return op.y1 == labels.at(0).y1; });
        std::sort(below.begin(), below.end(), [](auto& l, auto& r) { return l.x1 < r.x1; });
        below.erase(std::unique(below.begin(), below.end(),
                                [](auto& l, auto& r) { return l.value == r.value; }),
                    below.end()); // the origin is labelled twice
        ASSERT_GE(below.size(), 3u) << width;
        const double step = below[1].value - below[0].value;
        const double m = step / std::pow(10, std::floor(std::log10(step) + 1e-9)); // 1, 2 or 5
        EXPECT_NEAR(std::min({std::abs(m - 1), std::abs(m - 2), std::abs(m - 5)}), 0, 1e-6) << step;
        for (std::size_t i = 1; i < below.size(); ++i) // a character between two labels
            EXPECT_GT(below[i].x1 - below[i - 1].x1,
                      std::abs(a.s.textWidth(" " + formatNumber(below[i - 1].value) + " ")) +
                          charWidth)
                << width;
        const auto legend = a.s.opsOf(Op::Legend);
        EXPECT_EQ(legend.size(), v.legend && width < 100 ? 1u : 0u);
        if (!legend.empty()) {
            EXPECT_EQ(legend[0].value, kTrailCount);
        }
    }
}

// The mass centre at (cx, cy), the wheels a metre to each side and ahead or behind.
void drawCarAt(Renderer& r, double cx, double cy, bool lasting) {
    sim::WheelPlacement w;
    w.offset = {{{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}};
    r.drawCar({{cx, cy}, {}, 0, 0, 0}, w, lasting);
}

TEST(Trails, DotsSegmentsAndRestartsOfOneTrail) {
    const std::tuple<bool, bool, bool, const char*> passes[] = {
        // joined, lasting, line?, why
        {false, true, false, "unjoined: a dot"},
        {false, false, false, "still unjoined: another dot"},
        {true, false, false, "switched to lines during the run: starts with a dot"},
        {true, false, true, "then joined to the previous point"},
        {true, true, false, "snapshot: a new stretch starts with a dot"},
        {true, false, true, "joined again"},
        {false, false, false, "switched off: a dot"},
        {true, false, false, "switched on again: a dot, not a segment from long ago"},
    };
    RecordingSurface s;
    View v;
    Renderer r(s, v);
    double n = 0; // the mass centre's trail at (n, 2n) on pass n
    for (const auto& [joined, lasting, line, why] : passes) {
        SCOPED_TRACE(why);
        v.joined[0] = joined;
        s.ops.clear();
        drawCarAt(r, n, 2 * n, lasting);
        const Op& op = s.ops.at(0);
        EXPECT_EQ((std::tuple{op.kind, op.color, op.x1, op.y1}),
                  (std::tuple{line ? Op::Line : Op::Dot, kTrailColors[0], n, 2 * n}));
        EXPECT_TRUE(!line || (op.x2 == n - 1 && op.y2 == 2 * n - 2)) << "from the previous point";
        ++n;
    }
}

// What a line or dot drew where: its points and its colour.
std::array<double, 5> drawn(const Op& op) {
    return {op.x1, op.y1, op.x2, op.y2, double(op.color)};
}

TEST(Outline, ScreenOnlyUnlessLastingInTheRoundedPixelSize) {
    // The trails black, red, magenta, blue, green; the outline's front, right and left
    // edges, and its locked rear axle in cyan.
    const double ex[] = {10, 9, 11, 11, 9}, ey[] = {20, 21, 21, 19, 19};
    const Color colors[] = {0x000000, 0x0000FF, 0xFF00FF, 0xFF0000, 0x00FF00};
    const std::array<double, 5> edges[] = {
        {9, 21, 11, 21, 0}, {11, 21, 11, 19, 0}, {9, 21, 9, 19, 0}, {11, 19, 9, 19, 0xFFFF00}};
    const std::tuple<bool, double, int> cases[] = {
        {false, 2.5, 2}, {true, 3.5, 4}, {false, 0.4, 1}, {true, NAN, 1}, {false, 1e9, 50}};
    for (const auto& [lasting, pixelSize, width] : cases) {
        SCOPED_TRACE(pixelSize);
        RecordingSurface s;
        View v;
        v.pixelSize = pixelSize;
        Renderer r(s, v);
        r.beginPasses({0.1, -0.2}); // the start dot, in single precision
        EXPECT_EQ((std::array{s.ops.at(1).x1, s.ops.at(1).y1}),
                  (std::array<double, 2>{0.1f, -0.2f}));
        s.ops.clear();
        drawCarAt(r, 10, 20, lasting);
        const auto dotOps = s.opsOf(Op::Dot), lineOps = s.opsOf(Op::Line);
        ASSERT_EQ(dotOps.size(), 10u); // the five trails, then the outline's dots
        for (std::size_t i = 0; i < dotOps.size(); ++i)
            EXPECT_EQ(drawn(dotOps[i]),
                      (std::array{ex[i % 5], ey[i % 5], 0.0, 0.0, double(colors[i % 5])}))
                << i;
        ASSERT_EQ(lineOps.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(drawn(lineOps[i]), edges[i]) << i;
        for (std::size_t i = 0; i < s.ops.size(); ++i) // what is drawn, not the settings
            EXPECT_TRUE(s.ops[i].kind > Op::Dot ||
                        (s.ops[i].persistent == (lasting || i < 5) && s.ops[i].pen == width))
                << i;
        EXPECT_TRUE(s.persistent()) << "the next trails go into the picture";
        r.endPasses();
        const std::size_t n = s.ops.size();
        EXPECT_EQ((std::array{s.ops[n - 3].kind, s.ops[n - 2].kind, s.ops[n - 1].kind}),
                  (std::array{Op::Persistent, Op::PenWidth, Op::Flush}));
        EXPECT_EQ(s.penWidth(), 1);
    }
}

TEST(Follow, GrowsIn125StepsAroundTheSkidAtLeastDoublingTheArea) {
    // From a view 50 m wide and high: its unit, the skid's box in y; the width it grows to.
    const struct {
        double unit, lo, hi, width;
    } rows[] = {
        {1, 0, 30, 100},               // 33 m high with margins fits: √2 wider, to 100 m
        {1, -50, 70, 200},             // 132 m high: 2.64 times, 200 m
        {0.3048, 0, 30, 500 * 0.3048}, // 164 ft √2 times is 232 ft: 500 ft
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.hi);
        View v{-25, 25, -15, 35};
        v.unit = r.unit;
        ASSERT_TRUE(v.grow({r.lo, r.lo}, {r.lo + 1, r.hi}));
        const double w = v.xMax - v.xMin, h = v.yMax - v.yMin;
        EXPECT_NEAR(w, r.width, 1e-9);
        EXPECT_NEAR(h, w, 1e-9); // the shape kept
        EXPECT_LE(v.yMin, r.lo) << "holds the box";
        EXPECT_GE(v.yMax, r.hi);
        EXPECT_NEAR(v.yMin + v.yMax, r.lo + r.hi, 1e-9); // centred on it
        EXPECT_TRUE(v.autoIntervals);
    }
    View v;
    EXPECT_FALSE(v.grow({NAN, 0}, {1, 1}));
    EXPECT_FALSE(v.grow({0, 0}, {1e300, 1}));
}

TEST(Axes, FeetLabelTheTicksInFeet) {
    View v{-20, 7.5, -15, 35};
    v.unit = 0.3048;
    v.autoIntervals = true;
    const Axes a(v, kWide);
    std::set<double> labels; // of the x axis, which come first
    for (const Op& op : a.s.opsOf(Op::Label))
        if (op.y1 == a.s.opsOf(Op::Label).at(0).y1) labels.insert(op.value);
    // Labelled every 50 ft (a 1-2-5 step in feet), so the tick of 50 ft lies at 15.24 m.
    EXPECT_EQ(labels, (std::set<double>{-200, -150, -100, -50, 0, 50, 100, 150}));
    EXPECT_EQ(a.xTicks.count(50 * 0.3048), 1u);
}

TEST(Marks, TintedByWheelLabelledAndInTheLegend) {
    std::set<Color> colors(kTrailColors.begin(), kTrailColors.end());
    for (int wheel = 0; wheel < 4; ++wheel)
        colors.insert(markColor(wheel));
    EXPECT_EQ(colors.size(), 9u); // told apart, and never a trail's colour
    RecordingSurface s;
    View v;
    Renderer r(s, v);
    const LegendEntry mark{kMarkNames[sim::RR], markColor(sim::RR)};
    ASSERT_FALSE(r.drawAxes({1000, 400}, {&mark, 1}).has_value());
    EXPECT_EQ(s.opsOf(Op::Legend).at(0).value, kTrailCount + 1);
    const sim::Vec2 points[] = {{3, 4}, {5, 6}};
    s.ops.clear();
    r.drawMark(points, sim::RR);
    const auto text = s.opsOf(Op::Text), dots = s.opsOf(Op::Dot);
    // By the first point, on the right for a right wheel, on the left for a left one.
    EXPECT_TRUE(text.size() == 1 && text[0].y1 == 4 && text[0].x1 > 3);
    EXPECT_TRUE(dots.size() == 2 && dots[0].color == markColor(sim::RR));
    s.ops.clear();
    r.drawMark(points, sim::RL);
    EXPECT_LT(s.opsOf(Op::Text).at(0).x1, 3);
}


TEST(Scene, ThePhotoLiesBeneathTheAxesTheLinesDimensionAndScaleBarOverThem) {
    RecordingSurface s;
    View v;
    Renderer r(s, v);
    SceneLayer scene;
    scene.image = QImage(4, 4, QImage::Format_RGB32);
    scene.opacity = 0.3;
    scene.lines = {{{0, 0}, {1, 1}, {2, 1}}};
    scene.dimensions = {{{{0, 0}, {3, 4}}, "5.00 m"}};
    scene.scaleBar = true;
    r.setScene(&scene);
    ASSERT_FALSE(r.drawAxes({527, 546}).has_value());
    const auto first = [&](auto match) {
        return std::find_if(s.ops.begin(), s.ops.end(), match) - s.ops.begin();
    };
    const auto picture = first([](const Op& o) { return o.kind == Op::Picture; });
    const auto axis = first([](const Op& o) { return o.kind == Op::Line; });
    const auto grey = first([](const Op& o) { return o.color == kSceneLineColor; });
    ASSERT_LT(picture, axis);
    EXPECT_EQ(s.ops[picture].value, 0.3);
    const auto lastLabel = std::find_if(s.ops.rbegin(), s.ops.rend(), [](const Op& o) {
        return o.kind == Op::Label;
    });
    EXPECT_LT(s.ops.rend() - lastLabel - 1, grey); // the lines over the axes and their labels
    std::size_t greys = 0, dimension = 0;
    for (const Op& o : s.opsOf(Op::Line))
        greys += o.color == kSceneLineColor, dimension += o.color == kDimensionColor;
    EXPECT_EQ(greys, 2u);
    EXPECT_EQ(dimension, 3u); // the line and a tick at each end
    // The scale bar: the widest 1-2-5 length within a fifth of the plot's width.
    const auto bar = std::find_if(s.ops.begin(), s.ops.end(),
                                  [](const Op& o) { return o.kind == Op::Line && o.pen == 3; });
    ASSERT_NE(bar, s.ops.end());
    const double width = s.opsOf(Op::WorldRect).back().x2 - s.opsOf(Op::WorldRect).back().x1;
    EXPECT_LE(bar->x2 - bar->x1, width / 5);
    EXPECT_GT(bar->x2 - bar->x1, width / 5 / 2.6);
    EXPECT_EQ(s.opsOf(Op::Text).size(), 2u); // the dimension's label and the bar's
}

} // namespace
} // namespace yawmark::plot
