// SPDX-License-Identifier: MIT
// Marks edited point by point: where a point goes, which one a click takes,
// and what a move or a removal leaves.
#include "model/MarkEdit.h"

#include <gtest/gtest.h>

using namespace yawmark;
using namespace yawmark::model;

namespace {

std::vector<Mark> twoMarks() {
    return {Mark{.wheel = sim::RL, .points = {{0, 0}, {1, 0}}},
            Mark{.wheel = sim::RR, .points = {{0, 2}}}};
}

} // namespace

TEST(MarkEdit, AddsToTheWheelsLastMarkOrBeginsOne) {
    struct Row {
        sim::Wheel wheel;
        MarkPoint expected;
        std::size_t marks;
    };
    for (const Row& row : {Row{sim::RL, {0, 2}, 2}, Row{sim::RR, {1, 1}, 2}, Row{sim::FL, {2, 0}, 3}}) {
        std::vector<Mark> marks = twoMarks();
        const auto added = addMarkPoint(marks, row.wheel, {5, 5});
        ASSERT_TRUE(added) << wheelCode(row.wheel);
        EXPECT_EQ(*added, row.expected) << wheelCode(row.wheel);
        ASSERT_EQ(marks.size(), row.marks);
        EXPECT_EQ(marks[added->mark].wheel, row.wheel);
        EXPECT_EQ(marks[added->mark].points.back(), (sim::Vec2{5, 5}));
        // As an imported CSV gives a mark.
        EXPECT_EQ(marks[added->mark].sigma, kDefaultMarkSigma);
    }
    std::vector<Mark> marks = twoMarks();
    EXPECT_FALSE(addMarkPoint(marks, sim::RL, {2 * kMarkReach, 0}));
    EXPECT_FALSE(addMarkPoint(marks, sim::RL, {std::nan(""), 0}));
    marks[0].points.resize(kMaxMarkPoints - 1); // with RR's point, as many as a case holds
    EXPECT_FALSE(addMarkPoint(marks, sim::RL, {0, 0}));
    EXPECT_EQ(marks[0].points.size(), kMaxMarkPoints - 1);
}

TEST(MarkEdit, FindsTheNearestPointWithinReach) {
    const std::vector<Mark> marks = twoMarks();
    EXPECT_EQ(nearestMarkPoint(marks, {0.9, 0.1}, 0.5), (MarkPoint{0, 1}));
    EXPECT_EQ(nearestMarkPoint(marks, {0, 1.9}, 0.5), (MarkPoint{1, 0}));
    EXPECT_FALSE(nearestMarkPoint(marks, {0.5, 1}, 0.5));
}

TEST(MarkEdit, MovesAndRemovesPoints) {
    std::vector<Mark> marks = twoMarks();
    EXPECT_TRUE(moveMarkPoint(marks, {0, 1}, {1, 1}));
    EXPECT_EQ(marks[0].points[1], (sim::Vec2{1, 1}));
    EXPECT_FALSE(moveMarkPoint(marks, {0, 2}, {1, 1}));
    EXPECT_FALSE(moveMarkPoint(marks, {0, 0}, {0, -2 * kMarkReach}));
    EXPECT_TRUE(removeMarkPoint(marks, {0, 0}));
    EXPECT_EQ(marks[0].points, (std::vector<sim::Vec2>{{1, 1}}));
    EXPECT_TRUE(removeMarkPoint(marks, {1, 0})); // its last point: the mark goes
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_FALSE(removeMarkPoint(marks, {1, 0}));
}
