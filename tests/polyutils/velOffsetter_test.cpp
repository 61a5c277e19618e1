// The contour offsetter on single contours and regions.

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
#include <map>
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

// offset(contour, d): the right side for d >= 0, the left side at -d for d < 0.
TEST(OffsetContour, SignChoosesTheSide) {
    struct Row {
        double d;
        int polylines, arcs;
        double area, length, min_x, max_y;
    };
    auto line = square(10, false);
    for (const Row& r : {Row{-2, 1, 0, 36, 24, 2, 8}, Row{2, 1, 4, 180 + 4 * pi, 40 + 4 * pi, -2, 12},
                         Row{-5.5, 0, 0, 0, 0, 0, 0}}) {
        SCOPED_TRACE(r.d);
        const Props p = support::list_props_of(contour_offset(*line, r.d)->iterator());
        EXPECT_EQ(p.polylines, r.polylines);
        EXPECT_EQ(p.closed, r.polylines);
        EXPECT_EQ(p.arcs, r.arcs);
        EXPECT_NEAR(p.area, r.area, 1e-9);
        EXPECT_NEAR(p.length, r.length, 1e-9);
        if (r.polylines == 0) continue;
        EXPECT_NEAR(p.box.min().x, r.min_x, 1e-12);
        EXPECT_NEAR(p.box.max().y, r.max_y, 1e-12);
    }
}

// An open polyline with a quarter circle between two lines.
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
        EXPECT_EQ(support::props_of(*side[0]).closed, 0);
        EXPECT_TRUE(support::props_of(*side[0]).arcs == 1);
        for (const giPoint3& P : samples(*side[0], 8))
            EXPECT_NEAR(boundary_distance(P, input), d, 1e-9);
        // Same direction as the input: starts near its start, ends near its end.
        giPoint3 start, end;
        side[0]->get_pos(1, start);
        EXPECT_NEAR(start.distance({0, 0, 0}), d, 1e-9);
        side[0]->get_pos(side[0]->num_pos(), end);
        EXPECT_NEAR(end.distance({10, 9, 0}), d, 1e-9);
    }
    // Left of the quarter circle (radius 4, turning left) is its inner side.
    EXPECT_NEAR(support::list_props_of(left->iterator()).length, 11 + pi / 2 * (4 - d), 1e-9);
    EXPECT_NEAR(support::list_props_of(right->iterator()).length, 11 + pi / 2 * (4 + d), 1e-9);
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

// --- Regions

// A square [0, 20]^2 with a clockwise hole, a circle of radius 3 about (10, 10).
Polylines square_with_hole() {
    Polylines r;
    r.push_back(square(20, false));
    r.push_back(line_of(circle(10, 10, 3), true));
    return r;
}

// Exact areas: the square [0, 20]^2 less a circle of radius 3 about (10, 10), with an island of radius 1
// in it, or less a circle of radius 2 about (10, 4) that grows into the boundary at -1.5 (a round notch:
// the disc of radius 3.5 less its segment below y = 1.5).
TEST(OffsetRegion, ExactAreasOfHolesAndIslands) {
    const double notch =
        pi * 3.5 * 3.5 - (3.5 * 3.5 * std::acos(2.5 / 3.5) - 2.5 * std::sqrt(3.5 * 3.5 - 2.5 * 2.5));
    struct Row {
        const char* name;
        bool island;
        double cy, r, d;
        int loops, holes;
        double area;
    };
    const Row rows[] = {
        {"shrunk", false, 10, 3, -1, 2, 1, 18.0 * 18.0 - pi * 16},
        {"grown", false, 10, 3, 1, 2, 1, 400.0 + 80.0 + pi - pi * 4},
        {"hole merges", false, 4, 2, -1.5, 1, 0, 17.0 * 17.0 - notch},
        {"island shrunk", true, 10, 3, -0.5, 3, 1, 19.0 * 19.0 - pi * 3.5 * 3.5 + pi * 0.25},
        {"island gone", true, 10, 3, -1, 2, 1, 18.0 * 18.0 - pi * 16},
        {"island grown", true, 10, 3, 0.5, 3, 1, 400.0 + 40.0 + pi / 4 - pi * 2.5 * 2.5 + pi * 1.5 * 1.5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Polylines in;
        in.push_back(square(20, false));
        in.push_back(line_of(circle(10, row.cy, row.r), true));
        if (row.island) in.push_back(line_of(circle(10, 10, 1), false));
        const Polylines out = region_offset(in, row.d);
        ASSERT_EQ(out.size(), std::size_t(row.loops));
        int holes = 0;
        for (const auto& l : out)
            holes += support::props_of(*l).area < 0;
        EXPECT_EQ(holes, row.holes);
        EXPECT_NEAR(area_of(out), row.area, 1e-9);
    }
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

// Loops whose orientation disagrees with their depth in the result (outer anticlockwise, holes clockwise).
int misoriented(const Polylines& out) {
    ListOf list(out);
    std::vector<int> flips;
    velPolylineSorter().orient(list.it, nullptr, &flips);
    return static_cast<int>(std::count(flips.begin(), flips.end(), 1));
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
TEST(PocketWorkload, LevelsAndAreas) {
    const std::string path = bench_file("pocket.txt");
    if (path.empty()) GTEST_SKIP() << "pocket.txt is not beside the repository";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(path.c_str(), list));
    velAbsPolyArcLineListIter in(list);
    const Polylines input = copies(in);
    ASSERT_EQ(input.size(), 13u);
    const std::map<int, double> areas = {{1, 25031.1996209}, {5, 18425.0146330}, {10, 9370.3423173}};
    int levels = 0;
    for (int k = 1; k <= 30; ++k) {
        const Polylines out = region_offset(input, -k);
        if (out.empty()) break;
        ++levels;
        for (const auto& loop : out)
            EXPECT_EQ(support::props_of(*loop).closed, 1) << "level " << k;
        if (areas.count(k)) {
            EXPECT_NEAR(area_of(out), areas.at(k), 1e-6) << "level " << k;
        }
    }
    EXPECT_EQ(levels, 21);
}

} // namespace velOffsetter_test
