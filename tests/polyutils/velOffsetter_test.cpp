// The contour offsetter: single contours (closed and open) and whole regions, checked by exact areas and
// lengths, by the properties every valid offset has on random regions with arcs, holes and islands (each
// point of a result lies at the offset distance from the input, on the right side of it; loops neither
// cross nor touch; outer boundaries anticlockwise and holes clockwise; convex input grows by Steiner's
// formula), by metamorphic runs, and on the pocketing workload.

#include "offsetterTestKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineSorter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace velOffsetter_test {

using namespace offsettertest;
using offsettest::square;
using support::Props;

std::unique_ptr<velPolylineListCursor> contour_offset(velAbsPolyArcLine& line, double d) {
    velPolyArcLineAdapter contour(&line);
    velOffsetter offsetter;
    return std::unique_ptr<velPolylineListCursor>(offsetter.offset(contour, d));
}

// Every span of the current polyline straight.
bool all_straight(const velPolylineListIter& it) {
    for (int k = 0; k + 1 < it.num_pos(); ++k)
        if (!it.span_linear(k)) return false;
    return true;
}

// --- Single contours

TEST(OffsetContour, ZeroIsACopy) {
    auto line = offsettest::corners({{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {3, 7, 0}, {0, 0, 0}});
    const auto out = contour_offset(*line, 0.0);
    ASSERT_EQ(out->size(), 1);
    out->reset();
    ++*out;
    ASSERT_EQ(out->num_pos(), line->num_pos());
    for (int i = 0; i < out->num_pos(); ++i) {
        giPoint3 p;
        line->get_pos(i + 1, p);
        EXPECT_TRUE(out->get_pos(i) == p) << "position " << i;
    }
}

// offset(contour, d): the right side for d >= 0, the left side at -d for d < 0. An anticlockwise square of
// side 10 has its left side inside (a square of side 6 at distance 2) and its right side outside (the
// square grown by 2 with quarter circles at the corners).
TEST(OffsetContour, SignChoosesTheSide) {
    auto line = square(10, false);
    const auto left = contour_offset(*line, -2.0);
    const Props l = support::list_props_of(left->iterator());
    EXPECT_EQ(l.polylines, 1);
    EXPECT_EQ(l.closed, 1);
    EXPECT_NEAR(l.area, 36.0, 1e-9);
    EXPECT_NEAR(l.length, 24.0, 1e-9);
    EXPECT_NEAR(l.box.min().x, 2.0, 1e-12);
    EXPECT_NEAR(l.box.max().y, 8.0, 1e-12);

    const auto right = contour_offset(*line, 2.0);
    const Props r = support::list_props_of(right->iterator());
    EXPECT_EQ(r.polylines, 1);
    EXPECT_EQ(r.arcs, 4);
    EXPECT_NEAR(r.area, 100.0 + 40.0 * 2 + pi * 4, 1e-9);
    EXPECT_NEAR(r.length, 40.0 + 2 * pi * 2, 1e-9);
    EXPECT_NEAR(r.box.min().x, -2.0, 1e-12);
    EXPECT_NEAR(r.box.max().y, 12.0, 1e-12);
}

// An open straight polyline of length 10 offset by 1: one straight polyline on each side, parallel at
// distance 1, running the input's way, without the end caps.
TEST(OffsetContour, OpenLineGivesTwoParallelSides) {
    auto line = offsettest::corners({{0, 0, 0}, {4, 0, 0}, {10, 0, 0}});
    velPolyArcLineAdapter contour(line.get());
    velOffsetter offsetter;
    std::unique_ptr<velPolylineListCursor> left(contour.create_empty_cursor()),
        right(contour.create_empty_cursor());
    offsetter.offset(contour, 1.0, left.get(), right.get());
    struct Side {
        velPolylineListCursor* out;
        double y;
    };
    for (const Side& s : {Side{left.get(), 1.0}, Side{right.get(), -1.0}}) {
        SCOPED_TRACE(s.y > 0 ? "left" : "right");
        ASSERT_EQ(s.out->size(), 1);
        s.out->reset();
        ++*s.out;
        const velPolylineListIter& it = s.out->iterator();
        EXPECT_TRUE(all_straight(it));
        const Props p = support::props_of(it);
        EXPECT_EQ(p.closed, 0);
        EXPECT_NEAR(p.length, 10.0, 1e-9);
        for (int i = 0; i < it.num_pos(); ++i)
            EXPECT_NEAR(it.get_pos(i).y, s.y, 1e-12) << "position " << i;
        EXPECT_NEAR(it.get_pos(0).x, 0.0, 1e-9);
        EXPECT_NEAR(it.get_pos(it.num_pos() - 1).x, 10.0, 1e-9);
    }
    // The labels set on the way are cleared again.
    EXPECT_EQ(line->num_pos(), 3);
}

// An open polyline with a quarter circle between two lines: each side keeps the input's direction and lies at
// the distance from it, and the two sides together are as long as the band's boundary without its caps.
TEST(OffsetContour, OpenPolylineSidesFollowTheInput) {
    std::vector<V> vs{{{0, 0, 0}, {}},
                      {{6, 0, 0}, {}},
                      {{10, 4, 0}, giPoint3{6 + 4 * std::sqrt(0.5), 4 - 4 * std::sqrt(0.5), 0}},
                      {{10, 9, 0}, {}}};
    auto line = utiltest::make_line(vs);
    velPolyArcLineAdapter contour(line.get());
    velOffsetter offsetter;
    std::unique_ptr<velPolylineListCursor> left(contour.create_empty_cursor()),
        right(contour.create_empty_cursor());
    const double d = 0.5;
    offsetter.offset(contour, d, left.get(), right.get());
    Polylines input;
    input.push_back(std::move(line));
    for (velPolylineListCursor* out : {left.get(), right.get()}) {
        ASSERT_EQ(out->size(), 1);
        const Polylines side = copies(out->iterator());
        const Props p = support::props_of(*side[0]);
        EXPECT_EQ(p.closed, 0);
        for (const giPoint3& P : samples(*side[0], 8))
            EXPECT_NEAR(boundary_distance(P, input), d, 1e-9);
        // Same direction as the input: starts near its start, ends near its end.
        giPoint3 start, end;
        side[0]->get_pos(1, start);
        EXPECT_NEAR(start.distance({0, 0, 0}), d, 1e-9);
        side[0]->get_pos(side[0]->num_pos(), end);
        EXPECT_NEAR(end.distance({10, 9, 0}), d, 1e-9);
    }
    // Left of the quarter circle (radius 4, turning left) is the inner side: 6 + 2 pi (4 - d) / 4 + 5
    // along the left, 6 + 2 pi (4 + d) / 4 + 5 along the right.
    const double left_length = support::list_props_of(left->iterator()).length;
    const double right_length = support::list_props_of(right->iterator()).length;
    EXPECT_NEAR(left_length, 11 + pi / 2 * (4 - d), 1e-9);
    EXPECT_NEAR(right_length, 11 + pi / 2 * (4 + d), 1e-9);
}

// A closed anticlockwise square: left inside, right outside, both starting at the span made from the
// first input span (whose record, with span_info on, carries input position 0).
TEST(OffsetContour, ClosedSquareSidesStartAtTheFirstSpan) {
    auto line = square(10, false);
    velPolyArcLineAdapter contour(line.get());
    velOffsetter offsetter;
    offsetter.set_span_info(1);
    std::unique_ptr<velPolylineListCursor> left(contour.create_empty_cursor()),
        right(contour.create_empty_cursor());
    offsetter.offset(contour, 1.0, left.get(), right.get());
    ASSERT_EQ(left->size(), 1);
    ASSERT_EQ(right->size(), 1);
    EXPECT_NEAR(support::list_props_of(left->iterator()).area, 64.0, 1e-9);
    EXPECT_NEAR(support::list_props_of(right->iterator()).area, 100.0 + 40.0 + pi, 1e-9);
    struct Side {
        velPolylineListCursor* out;
        double y, x0, x1;
    };
    for (const Side& s : {Side{left.get(), 1.0, 1.0, 9.0}, Side{right.get(), -1.0, 0.0, 10.0}}) {
        SCOPED_TRACE(s.y > 0 ? "left" : "right");
        s.out->reset();
        ++*s.out;
        const velPolylineListIter& it = s.out->iterator();
        // The first span is the offset of the bottom side, running the input's way.
        EXPECT_TRUE(it.span_linear(0));
        EXPECT_NEAR(it.get_pos(0).y, s.y, 1e-12);
        EXPECT_NEAR(it.get_pos(1).y, s.y, 1e-12);
        EXPECT_NEAR(it.get_pos(0).x, s.x0, 1e-9);
        EXPECT_NEAR(it.get_pos(1).x, s.x1, 1e-9);
        const auto* flags = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&it);
        ASSERT_NE(flags, nullptr) << "the contour's cursor keeps span records";
        velOffsetInfo info;
        flags->get_offset_info(0, info);
        EXPECT_EQ(info.span_position, 0);
        EXPECT_EQ(info.span_side, s.y > 0 ? velSpanSideLeft : velSpanSideRight);
    }
}

// A contour offset inwards past its size leaves nothing; outwards it leaves one loop.
TEST(OffsetContour, VanishingOffsetLeavesNothing) {
    auto line = square(4, false);
    EXPECT_EQ(contour_offset(*line, -2.5)->size(), 0);
    EXPECT_EQ(contour_offset(*line, 2.5)->size(), 1);
}

// --- Regions

// A square [0, 20]^2 with a clockwise hole, a circle of radius 3 about (10, 10).
Polylines square_with_hole() {
    Polylines r;
    r.push_back(square(20, false));
    r.push_back(line_of(circle(10, 10, 3), true));
    return r;
}

TEST(OffsetRegion, BoundaryAndHoleMoveOppositeWays) {
    const Polylines in = square_with_hole();
    // -1: the boundary shrinks to [1, 19]^2, the hole grows to radius 4.
    const Polylines shrunk = region_offset(in, -1.0);
    ASSERT_EQ(shrunk.size(), 2u);
    EXPECT_NEAR(area_of(shrunk), 18.0 * 18.0 - pi * 16, 1e-9);
    // +1: the boundary grows (rounded corners), the hole shrinks to radius 2.
    const Polylines grown = region_offset(in, 1.0);
    ASSERT_EQ(grown.size(), 2u);
    EXPECT_NEAR(area_of(grown), 400.0 + 80.0 + pi - pi * 4, 1e-9);
    for (const Polylines* out : {&shrunk, &grown}) {
        int outer = 0, hole = 0;
        for (const auto& l : *out)
            (support::props_of(*l).area > 0 ? outer : hole)++;
        EXPECT_EQ(outer, 1);
        EXPECT_EQ(hole, 1);
    }
}

// A hole near the boundary grows into it: one loop with a round notch. The square [0, 20]^2 shrunk by 1.5
// is [1.5, 18.5]^2; the hole, radius 2 about (10, 4), grows to radius 3.5 and reaches y = 0.5. The notch
// is the disc above y = 1.5: the disc less the circular segment of height 1 below that line.
TEST(OffsetRegion, HoleGrowingIntoTheBoundaryMerges) {
    Polylines in;
    in.push_back(square(20, false));
    in.push_back(line_of(circle(10, 4, 2), true));
    const Polylines out = region_offset(in, -1.5);
    ASSERT_EQ(out.size(), 1u);
    const double r = 3.5, a = 2.5; // radius, centre to the cutting line
    const double segment = r * r * std::acos(a / r) - a * std::sqrt(r * r - a * a);
    EXPECT_NEAR(area_of(out), 17.0 * 17.0 - (pi * r * r - segment), 1e-9);
    EXPECT_GT(support::props_of(*out[0]).area, 0.0);
}

// An island in a hole: shrinking the material makes the island vanish before the hole reaches it.
TEST(OffsetRegion, IslandInAHole) {
    Polylines in = square_with_hole();
    in.push_back(line_of(circle(10, 10, 1), false));
    const Polylines out = region_offset(in, -0.5);
    ASSERT_EQ(out.size(), 3u);
    // Square 19^2, hole radius 3.5, island radius 0.5.
    EXPECT_NEAR(area_of(out), 19.0 * 19.0 - pi * 3.5 * 3.5 + pi * 0.25, 1e-9);
    EXPECT_EQ(region_offset(in, -1.0).size(), 2u); // the island is a point: nothing of it is left
    const Polylines grown = region_offset(in, 0.5);
    ASSERT_EQ(grown.size(), 3u);
    EXPECT_NEAR(area_of(grown), 400.0 + 40.0 + pi / 4 - pi * 2.5 * 2.5 + pi * 1.5 * 1.5, 1e-9);
}

TEST(OffsetRegion, ZeroOffsetCopiesAndEmptyStaysEmpty) {
    const Polylines in = square_with_hole();
    const Polylines out = region_offset(in, 0.0);
    EXPECT_TRUE(support::same_props(support::list_props_of(out), support::list_props_of(in)));
    EXPECT_TRUE(region_offset(Polylines{}, 1.0).empty());
    EXPECT_TRUE(region_offset(in, -20.0).empty());
}

// --- The replaceable sorter

struct SorterCalls {
    int calls = 0;
    int wrong_mode = 0;
    std::vector<int> sizes;
};

int counting_sorter(int mode, void* data, velPolylineListIter& in, velPolylineListCursor& out) {
    auto& seen = *static_cast<SorterCalls*>(data);
    ++seen.calls;
    if (mode != 1) ++seen.wrong_mode;
    seen.sizes.push_back(in.size());
    velPolylineSorter sorter;
    return sorter.sort(in, out);
}

TEST(OffsetterSorter, InstalledFunctionReceivesModeOneAndTheRawOffsets) {
    const Polylines in = square_with_hole();
    const double plain = area_of(region_offset(in, -1.0));
    SorterCalls seen;
    velOffsetter::set_sorter(&counting_sorter, &seen);
    const Polylines out = region_offset(in, -1.0);
    // A single contour is sorted by the offsetter's own closed sorter, not the list sorter.
    auto line = square(10, false);
    const auto contour_out = contour_offset(*line, -1.0);
    velOffsetter::set_sorter(nullptr, nullptr);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.wrong_mode, 0);
    ASSERT_EQ(seen.sizes.size(), 1u);
    EXPECT_EQ(seen.sizes[0], 2); // the raw offsets of the boundary and its hole
    EXPECT_NEAR(area_of(out), plain, 1e-12);
    EXPECT_EQ(contour_out->size(), 1);
    // Restored: the offsetter's own sorter again.
    const Polylines again = region_offset(in, -1.0);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_NEAR(area_of(again), plain, 1e-12);
}

// --- Properties on random regions

struct Check {
    int points = 0, at_distance = 0, wrong_side = 0;
    double worst = 0.0; // largest |distance - |d|| / |d|
};

// Samples every result loop: each point lies at |d| from the input boundary (relative 1e-9) and on the
// side of it the offset moves to (inside the region for d < 0, outside for d > 0).
Check check_points(const Polylines& in, const Polylines& out, double d) {
    Check c;
    for (const auto& loop : out)
        for (const giPoint3& P : samples(*loop, 6)) {
            ++c.points;
            const double dist = boundary_distance(P, in);
            const double rel = std::fabs(dist - std::fabs(d)) / std::fabs(d);
            c.worst = std::max(c.worst, rel);
            if (rel <= 1e-9) ++c.at_distance;
            if ((winding_of(P.x, P.y, in) != 0) != (d < 0)) ++c.wrong_side;
        }
    return c;
}

// The depth of every loop in the nesting tree of the result against its orientation: children of the root
// anticlockwise, their children clockwise, and so on. Returns the loops whose orientation is wrong.
int misoriented(const Polylines& out) {
    ListOf list(out);
    velPolylineSorter sorter;
    intNaryTree tree;
    sorter.nesting_tree(list.it, 0, tree);
    int wrong = 0;
    tree.Root();
    // Walk the tree depth first, by paths.
    std::vector<std::pair<std::vector<int>, int>> todo{{tree.Path(), 0}};
    while (!todo.empty()) {
        auto [path, depth] = todo.back();
        todo.pop_back();
        tree.Root();
        tree.FollowPath(path);
        const int index = tree.Read();
        if (index >= 0) {
            const double a = support::props_of(*out[static_cast<std::size_t>(index)]).area;
            if ((depth % 2 == 1) != (a > 0)) ++wrong;
        }
        for (int i = 0; i < tree.NumOffspring(); ++i) {
            std::vector<int> p = path;
            p.push_back(i);
            todo.push_back({p, depth + 1});
        }
    }
    return wrong;
}

class RandomRegions : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomRegions, ResultsAreValidOffsets) {
    Rng rng(GetParam());
    const Polylines in = random_region(rng);
    const double ds[] = {-2.2, -1.3, -0.6, 0.4, 1.1, 2.5};
    const double d = ds[rng.pick(0, 5)];
    SCOPED_TRACE("offset " + std::to_string(d));
    const Polylines out = region_offset(in, d);
    ASSERT_FALSE(out.empty());
    for (const auto& loop : out)
        EXPECT_EQ(support::props_of(*loop).closed, 1);
    const Check c = check_points(in, out, d);
    EXPECT_LE(c.worst, 1e-7) << "a point of the offset lies off the offset distance";
    EXPECT_GE(c.at_distance, c.points * 99 / 100) << c.at_distance << " of " << c.points << " within 1e-9";
    EXPECT_EQ(c.wrong_side, 0);
    ListOf list(out);
    velPolylineSorter sorter;
    EXPECT_EQ(sorter.any_intersections(list.it), 0) << "result loops cross";
    EXPECT_EQ(misoriented(out), 0);
    // The material grows with d, and by no more than the band of width |d| along the input boundary.
    const Props pin = support::list_props_of(in);
    const double a = area_of(out);
    if (d > 0) {
        EXPECT_GT(a, pin.area);
        EXPECT_LE(a, pin.area + pin.length * d + pi * d * d * in.size() + 1e-9);
    } else {
        EXPECT_LT(a, pin.area);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeded, RandomRegions, ::testing::Range(1u, 31u));

// Steiner: a convex region grown by d has area A + P d + pi d^2 and boundary length P + 2 pi d.
class ConvexGrowth : public ::testing::TestWithParam<unsigned> {};

TEST_P(ConvexGrowth, FollowsSteiner) {
    Rng rng(GetParam());
    Polylines in;
    in.push_back(offsettest::random_convex(rng, rng.pick(3, 12)));
    const Props p = support::list_props_of(in);
    ASSERT_GT(p.area, 0.0);
    for (const double d : {0.3, 2.0, 7.5}) {
        const Polylines out = region_offset(in, d);
        ASSERT_EQ(out.size(), 1u);
        const Props q = support::list_props_of(out);
        const double want = p.area + p.length * d + pi * d * d;
        EXPECT_NEAR(q.area, want, 1e-9 * want) << "d " << d;
        EXPECT_NEAR(q.length, p.length + 2 * pi * d, 1e-9 * q.length) << "d " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeded, ConvexGrowth, ::testing::Range(1u, 11u));

// Metamorphic runs: reversed and mirrored input turn the region inside out, so its offset by d is the
// original's offset by -d turned inside out; cycled starts and far moves change nothing; scaling by 1000
// with the distance scales the area by 1e6.
class MorphedRegions : public ::testing::TestWithParam<unsigned> {};

TEST_P(MorphedRegions, AreaChangesOnlyAsItShould) {
    Rng rng(GetParam());
    const Polylines in = random_region(rng);
    const double d = GetParam() % 2 ? -0.9 : 1.3;
    const Props plus = support::list_props_of(region_offset(in, d));
    const Props minus = support::list_props_of(region_offset(in, -d));
    support::for_each_morph(in, [&](const support::Morph& m, const Polylines& morphed) {
        const Props got = support::list_props_of(region_offset(morphed, d * m.length_factor()));
        Props want = m.props(m.flips_orientation() ? minus : plus);
        want.positions = got.positions;
        want.arcs = got.arcs;
        EXPECT_TRUE(support::same_props(got, want, m.tol({1e-9, 1e-9})));
    });
}

INSTANTIATE_TEST_SUITE_P(Seeded, MorphedRegions, ::testing::Range(1u, 9u));

// --- The pocketing workload

// pocket.txt offset inwards by k = 1, 2, ...: the non-empty levels and the areas of three of them.
//
// The areas are those of an independent computation: the input polygonized with its vertices on the arcs
// (every arc cut into m * ceil(sweep * max(1 / 0.02, r / 0.2)) equal-angle chords), offset as polygons by
// Clipper 6.4.2 (round joins stepped at the chord angle, so that every joint between chords of an arc is
// one chord of the offset; coordinates scaled by 1e9), for m = 1, 2, ..., 64; the error of such areas goes
// as 1/m^2 (its steps shrank by 4.00 with every doubling of m), and the Richardson extrapolation
// (4 A(2m) - A(m)) / 3 of m = 16, 32 and of m = 32, 64 agreed within 1e-8 at levels 1 and 5 and within
// 4e-7 at level 10 (where chords cut by trimming leave an irregular error of order 1/m^3).
constexpr double pocket_area_1 = 25031.1996209;
constexpr double pocket_area_5 = 18425.0146330;
constexpr double pocket_area_10 = 9370.3423173;

TEST(PocketWorkload, LevelsAndAreas) {
    const std::string path = bench_file("pocket.txt");
    if (path.empty()) GTEST_SKIP() << "pocket.txt is not beside the repository";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(path.c_str(), list));
    velAbsPolyArcLineListIter in(list);
    const Polylines input = copies(in);
    ASSERT_EQ(input.size(), 13u);
    int levels = 0;
    for (int k = 1; k <= 30; ++k) {
        const Polylines out = region_offset(input, -k);
        if (out.empty()) break;
        ++levels;
        for (const auto& loop : out)
            EXPECT_EQ(support::props_of(*loop).closed, 1) << "level " << k;
        const double a = area_of(out);
        if (k == 1) {
            EXPECT_NEAR(a, pocket_area_1, 1e-6);
        }
        if (k == 5) {
            EXPECT_NEAR(a, pocket_area_5, 1e-6);
        }
        if (k == 10) {
            EXPECT_NEAR(a, pocket_area_10, 1e-6);
        }
    }
    EXPECT_EQ(levels, 21);
}

} // namespace velOffsetter_test
