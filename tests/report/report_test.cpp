// SPDX-License-Identifier: MIT
// The report's numbers behind its drawings: a mark's residuals against its
// trail and the histogram's bins.
#include "report/ReportFigures.h"

#include <gtest/gtest.h>

namespace yawmark::report {
namespace {

TEST(Residuals, AreTheSignedDistanceToTheTrailAgainstTheDistanceAlongTheMark) {
    // A trail up the y axis, then turning right along y = 10.
    const std::vector<sim::Vec2> trail{{0, 0}, {0, 10}, {10, 10}};
    model::Mark mark;
    mark.points = {{-0.1, 0}, {0.2, 4}, {3, 10.3}, {6, 9.6}};
    const auto r = markResiduals(mark, trail);
    ASSERT_EQ(r.size(), 4u);
    // Distances along the mark add up its polyline.
    double along = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (i > 0) along += sim::length(mark.points[i] - mark.points[i - 1]);
        EXPECT_NEAR(r[i].x(), along, 1e-12) << i;
    }
    // Left of the way is positive: going up, -x is left; going along +x, +y is left.
    EXPECT_NEAR(r[0].y(), 0.1, 1e-12);
    EXPECT_NEAR(r[1].y(), -0.2, 1e-12);
    EXPECT_NEAR(r[2].y(), 0.3, 1e-12);
    EXPECT_NEAR(r[3].y(), -0.4, 1e-12);
    EXPECT_TRUE(markResiduals(mark, {{0, 0}}).empty());
}

TEST(Histogram, SpreadsTheValuesOverEqualBinsTheGreatestInTheLast) {
    const struct {
        std::vector<double> values;
        int count;
        std::vector<int> bins;
    } cases[] = {
        {{0, 1, 2, 3, 4}, 4, {1, 1, 1, 2}},
        {{0, 0.5, 1}, 2, {1, 2}},
        {{5, 5, 5}, 3, {3, 0, 0}},
        {{}, 3, {}},
        {{-2, 2}, 1, {2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(histogramBins(c.values, c.count), c.bins) << c.values.size() << " values";
}

} // namespace
} // namespace yawmark::report
