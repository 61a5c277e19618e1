// The list operations that go through the sorter.

#include "sorterTestKit.h"

#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyutils/velPolylineListUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace velPolylineListUtilsSorting_test {

using namespace sortertest;

double total_length(velPolylineListIter& it) {
    double sum = 0.0;
    it.reset();
    while (++it)
        sum += velPolylineUtils::length(it);
    return sum;
}

TEST(ListUtilsSorting, RemoveLoopsKeepsTheLargeLobeOfAnEight) {
    List l; // crosses itself at (10/11, 10/11): a lobe of length about 3.2 and one of about 32
    l.add(polyline({{0, 0}, {10, 10}, {10, 0}, {0, 1}, {0, 0}}));
    l.add(polyline({{0, 0}, {1, 1}})); // fewer than 3 positions: unchanged
    velAbsPolyArcLineListCursor out;
    velPolylineListUtils::remove_loops_by_length(l.iter, out, 100.0);
    ASSERT_EQ(out.size(), 2);
    out.set_index(0);
    EXPECT_NEAR(velPolylineUtils::length(out.iterator()),
                std::hypot(10 - 10.0 / 11, 10 - 10.0 / 11) + 10 + std::hypot(10 - 10.0 / 11, 10.0 / 11),
                1e-9);
    // A limit below the small lobe's length keeps both lobes.
    velAbsPolyArcLineListCursor both;
    velPolylineListUtils::remove_loops_by_length(l.iter, both, 2.0);
    EXPECT_EQ(both.size(), 3);
}

struct OrientCase {
    const char* name;
    std::vector<std::tuple<double, double, double, double, bool>> rects;
    int oriented, reverse_oriented;
};

class Orientation : public ::testing::TestWithParam<OrientCase> {};

TEST_P(Orientation, ByDepth) {
    List l;
    for (const auto& [x0, y0, x1, y1, ccw] : GetParam().rects)
        l.add(rect(x0, y0, x1, y1, ccw));
    EXPECT_EQ(velPolylineListUtils::oriented(l.iter), GetParam().oriented);
    EXPECT_EQ(velPolylineListUtils::reverse_oriented(l.iter), GetParam().reverse_oriented);
}

INSTANTIATE_TEST_SUITE_P(
    ListUtilsSorting, Orientation,
    ::testing::Values(
        OrientCase{"hole", {{0, 0, 4, 4, true}, {1, 1, 2, 2, false}}, 1, 0},
        OrientCase{"hole_reversed", {{0, 0, 4, 4, false}, {1, 1, 2, 2, true}}, 0, 1},
        OrientCase{"nested_same_way", {{0, 0, 4, 4, true}, {1, 1, 2, 2, true}}, 0, 0},
        OrientCase{"crossing", {{0, 0, 2, 2, true}, {1, 1, 3, 3, true}}, 0, 0},
        OrientCase{"island_in_hole", {{0, 0, 9, 9, true}, {1, 1, 8, 8, false}, {2, 2, 3, 3, true}}, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListUtilsSorting, RegionsAndInnermostBoundaries) {
    List l;
    l.add(rect(0, 0, 10, 10));      // 0: outer
    l.add(rect(1, 1, 5, 5, false)); // 1: hole of 0
    l.add(rect(2, 2, 3, 3));        // 2: island in 1
    l.add(rect(6, 6, 9, 9, false)); // 3: hole of 0
    l.add(rect(20, 0, 21, 1));      // 4: alone
    std::vector<std::vector<int>> regions;
    ASSERT_EQ(velPolylineListUtils::find_regions(l.iter, regions), 3);
    std::sort(regions.begin(), regions.end());
    EXPECT_EQ(regions[0], (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(regions[1], (std::vector<int>{2}));
    EXPECT_EQ(regions[2], (std::vector<int>{4}));
    intcoSet inner;
    velPolylineListUtils::innermost_segments(l.iter, inner);
    EXPECT_EQ(std::vector<int>(inner.begin(), inner.end()), (std::vector<int>{2, 3, 4}));
}

// The length of segment ab inside the disk (c, r), from the chord's quadratic.
double inside_length(V a, V b, V c, double r) {
    const double dx = b.x - a.x, dy = b.y - a.y, fx = a.x - c.x, fy = a.y - c.y;
    const double A = dx * dx + dy * dy, B = 2 * (fx * dx + fy * dy), C = fx * fx + fy * fy - r * r;
    const double disc = B * B - 4 * A * C;
    if (disc <= 0) return 0.0;
    const double t0 = std::clamp((-B - std::sqrt(disc)) / (2 * A), 0.0, 1.0);
    const double t1 = std::clamp((-B + std::sqrt(disc)) / (2 * A), 0.0, 1.0);
    return (t1 - t0) * std::sqrt(A);
}

TEST(ListUtilsSorting, LimitToBoundaryKeepsTheChordsOfADisk) {
    List boundary;
    boundary.add(polyline({{3, 0}, {-3, 0}, {3, 0}}, {1.0, 1.0})); // circle of radius 3 about the origin
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-5.0, 5.0);
    List lines;
    double want_in = 0.0, want_all = 0.0;
    for (int i = 0; i < 40; ++i) {
        const V a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        lines.add(polyline({a, b}));
        want_in += inside_length(a, b, {0, 0}, 3.0);
        want_all += std::hypot(b.x - a.x, b.y - a.y);
    }
    velAbsPolyArcLineListCursor in, out;
    velPolylineListUtils::limit_to_boundary(boundary.iter, lines.iter, &in, &out);
    EXPECT_NEAR(total_length(in.iterator()), want_in, 1e-9 * want_all);
    EXPECT_NEAR(total_length(out.iterator()), want_all - want_in, 1e-9 * want_all);
    // In place, keeping the outside.
    velTrimmedPolylineListIter view(lines.iter);
    velPolylineListUtils::limit_to_boundary(boundary.iter, view, 0);
    EXPECT_NEAR(total_length(view), want_all - want_in, 1e-9 * want_all);
}

TEST(ListUtilsSorting, PolylineAlongTheBoundaryGoesUnlessKept) {
    List boundary, along;
    boundary.add(rect(0, 0, 4, 4));
    along.add(polyline({{0, 0}, {4, 0}, {4, 2}}));
    velAbsPolyArcLineListCursor in, out;
    velPolylineListUtils::limit_to_boundary(boundary.iter, along.iter, &in, &out);
    EXPECT_EQ(in.size(), 0);
    velAbsPolyArcLineListCursor kept;
    velPolylineListUtils::limit_to_boundary(boundary.iter, along.iter, &kept, nullptr, nullptr, 1);
    EXPECT_NEAR(total_length(kept.iterator()), 6.0, 1e-12);
}

TEST(ListUtilsSorting, CrossingsBetweenLists) {
    List a, b;
    a.add(rect(0, 0, 2, 2));
    b.add(rect(1, 1, 3, 3));
    b.add(rect(10, 10, 11, 11));
    velCrossingcoPageArr crossings;
    EXPECT_EQ(velPolylineListUtils::intersect(a.iter, b.iter, 1e-9, crossings), 2);
    for (int i = 0; i < crossings.size(); ++i)
        EXPECT_EQ(crossings.read(i).index2(), 0);
}

TEST(ListUtilsSorting, SmallLoopsAreCutOut) {
    // An open line with a small loop (a kink that crosses back over itself near x = 5) and a large one.
    List l;
    l.add(polyline(
        {{0, 0}, {5, 0}, {5.2, 0.2}, {4.9, 0.2}, {5.1, -0.1}, {10, -0.1}, {10, 5}, {8, 5}, {9, -1}}));
    velAbsPolyArcLineListCursor out;
    const double before = velPolylineUtils::length(*[&] {
        l.iter.reset();
        ++l.iter;
        return &l.iter;
    }());
    EXPECT_EQ(velPolylineListUtils::uncross_small_intersections(l.iter, out, 1.0, 0), 1);
    ASSERT_EQ(out.size(), 1);
    out.set_index(0);
    const double after = velPolylineUtils::length(out.iterator());
    EXPECT_LT(after, before - 0.6); // the loop (about 0.84 long) is gone, the large one stays
    EXPECT_GT(after, before - 1.0);
    velCrossingcoPageArr left;
    velPolylineSorter sorter;
    sorter.self_intersect(out.iterator(), left);
    EXPECT_EQ(left.size(), 1); // the large loop's crossing
    EXPECT_EQ(velPolylineListUtils::is_small_intersection(out.iterator(), left.read(0), 1.0), 0);
}

} // namespace velPolylineListUtilsSorting_test
