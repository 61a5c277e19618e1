// Union, intersection, difference and exclusive or of two regions with arcs: the hard cases (shared edges
// and arcs, touching, equal and reversed, moved by 1e-9, tangent arcs, near-full circles, slivers, holes)
// with exact areas where a formula gives them, and on every morph the area identities and clean results.
// Then the sorter's own operations, hostile input, the list difference and a stopped operation.

#include "sorterTestKit.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/platform/velProgressBreak.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velRegionBoolean.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace velRegionBoolean_test {

using namespace sortertest;
constexpr double pi = std::numbers::pi;
constexpr double unknown = NAN;

// The circle of radius r round the origin from angle gap to 2 pi - gap, closed by its chord.
std::unique_ptr<velAbsPolyArcLine> near_full_circle(double r, double gap, double turn, double cx = 0.0,
                                                    double cy = 0.0) {
    const double a0 = gap + turn, a1 = 2 * pi - gap + turn;
    auto at = [&](double a) { return V{cx + r * std::cos(a), cy + r * std::sin(a)}; };
    const V s = at(a0), e = at(a1), m = at((a0 + a1) / 2);
    const double b = std::tan((a1 - a0) / 8); // each half arc sweeps (a1 - a0) / 2
    return polyline({s, m, e, s}, {b, b, 0.0});
}

using Operation =
    std::function<int(const velPolylineListIter&, const velPolylineListIter&, velPolylineListCursor&)>;

Outcome run(const Operation& op, const Polylines& a, const Polylines& b) {
    List la, lb;
    fill(la, a);
    fill(lb, b);
    velAbsPolyArcLineListCursor out;
    const int code = op(la.iter, lb.iter, out);
    return describe(out.iterator(), code);
}

double area_of(const Polylines& region) {
    // The region's area whatever its boundaries' orientation: the union with nothing.
    return run(region_union, region, {}).area;
}

struct Case {
    const char* name;
    std::function<Polylines()> a, b;
    double uni, inter, diff; // exact areas of A or B, A and B, A without B (NaN: by the identities only)
    // Results whose loops touch (tangent arcs) or that are slivers of the rounding's width are checked by
    // their areas only; the moved copy loses notches of 1e-9 to the spike tolerance, hence its wider bound.
    bool clean_checks = true;
    double relative = 1e-9;
};

Polylines square_hole() {
    return of(rect(0, 0, 4, 4), rect(1, 1, 3, 3, false));
}

// A square whose right side is an arc, and the region on the other side of that arc.
Polylines arc_left() {
    return of(polyline({{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}}, {0, 0.5, 0, 0}));
}
Polylines arc_right() {
    return of(polyline({{1, -1}, {3, -1}, {3, 1}, {1, 1}, {1, -1}}, {0, 0, 0, -0.5}));
}

const double lens = 2 * pi / 3 - std::sqrt(3.0) / 2; // two unit disks one unit apart

const Case cases[] = {
    {"overlapping_squares", [] { return of(rect(0, 0, 2, 2)); }, [] { return of(rect(1, 1, 3, 3)); }, 7, 1,
     3},
    {"disjoint_squares", [] { return of(rect(0, 0, 1, 1)); }, [] { return of(rect(2, 2, 3, 3)); }, 2, 0, 1},
    {"edge_to_edge", [] { return of(rect(0, 0, 1, 1)); }, [] { return of(rect(1, 0, 2, 1)); }, 2, 0, 1},
    {"shared_edges_overlap", [] { return of(rect(0, 0, 2, 1)); }, [] { return of(rect(1, 0, 3, 1)); }, 3, 1,
     1},
    {"shared_arc", arc_left, arc_right, unknown, 0, unknown},
    {"corner_touch", [] { return of(rect(0, 0, 2, 2)); }, [] { return of(rect(2, 2, 3, 3)); }, 5, 0, 4},
    {"inside_touching", [] { return of(rect(0, 0, 4, 4)); }, [] { return of(rect(0, 1, 2, 2)); }, 16, 2, 14},
    {"inside_covering", [] { return of(rect(1, 1, 2, 2)); }, [] { return of(rect(0, 0, 3, 3)); }, 9, 1, 0},
    {"equal", [] { return of(rect(0, 0, 2, 2)); }, [] { return of(rect(0, 0, 2, 2)); }, 4, 4, 0},
    {"equal_reversed", [] { return of(rect(0, 0, 2, 2)); }, [] { return of(rect(0, 0, 2, 2, false)); }, 4, 4,
     0},
    {"moved_1e-9", [] { return of(rect(0, 0, 2, 2)); },
     [] { return of(rect(1e-9, 1e-9, 2 + 1e-9, 2 + 1e-9)); }, unknown, unknown, unknown, false, 2e-9},
    {"arc_tangent_to_line", [] { return of(rect(0, 0, 2, 1)); }, [] { return of(circle(1, 2, 1)); }, 2 + pi,
     0, 2, false},
    {"circle_tangent_inside", [] { return of(circle(0, 0, 2)); }, [] { return of(circle(1, 0, 1)); }, 4 * pi,
     pi, 3 * pi},
    {"lens", [] { return of(circle(0, 0, 1)); }, [] { return of(circle(1, 0, 1)); }, 2 * pi - lens, lens,
     pi - lens},
    {"near_full_circles", [] { return of(near_full_circle(1, 0.01, 0)); },
     [] { return of(near_full_circle(1, 0.01, 0.5)); }, pi, unknown, 0.5 * (0.02 - std::sin(0.02))},
    {"corner_sliver_1e-8", [] { return of(rect(0, 0, 1, 1)); },
     [] { return of(rect(1 - 1e-4, 1 - 1e-4, 2, 2)); }, 1 + (1 + 1e-4) * (1 + 1e-4) - 1e-8, 1e-8, 1 - 1e-8},
    {"holes", square_hole, [] { return of(rect(2, 0, 6, 4)); }, 22, 6, 6},
    {"island_in_hole", [] { return of(rect(0, 0, 6, 6), rect(1, 1, 5, 5, false), rect(2, 2, 4, 4)); },
     [] { return of(rect(3, -1, 7, 7)); }, 44, 12, 12},
    {"several_loops", [] { return of(circle(0, 0, 1), circle(5, 0, 1), circle(10, 0, 1)); },
     [] { return of(rect(-2, -0.5, 12, 0.5)); }, unknown, unknown, unknown},
};

class RegionCases : public ::testing::TestWithParam<Case> {};

TEST_P(RegionCases, IdentitiesAndCleanResultsOnEveryMorph) {
    const Case& c = GetParam();
    const Polylines a0 = c.a(), b0 = c.b();
    support::for_each_morph(a0, [&](const support::Morph& m, const Polylines& a) {
        const Polylines b = m.polylines(b0);
        const double s = m.length_factor() * m.length_factor();
        const double area_a = area_of(a), area_b = area_of(b);
        const Outcome u = run(region_union, a, b), i = run(region_intersection, a, b),
                      d = run(region_difference, a, b), x = run(region_xor, a, b);
        const double tol = c.relative * (area_a + area_b);
        EXPECT_NEAR(u.area + i.area, area_a + area_b, tol);
        EXPECT_NEAR(d.area, area_a - i.area, tol);
        EXPECT_NEAR(x.area, u.area - i.area, tol);
        if (!std::isnan(c.uni)) {
            EXPECT_NEAR(u.area, c.uni * s, tol);
        }
        if (!std::isnan(c.inter)) {
            EXPECT_NEAR(i.area, c.inter * s, tol);
        }
        if (!std::isnan(c.diff)) {
            EXPECT_NEAR(d.area, c.diff * s, tol);
        }
        for (const Outcome* o : {&u, &i, &d, &x}) {
            EXPECT_EQ(o->code, 0);
            if (!c.clean_checks) continue;
            EXPECT_EQ(o->crossings, 0);
            EXPECT_EQ(o->misoriented, 0);
            if (o->loops > 0) {
                EXPECT_GE(o->smallest, 1e-10 * s);
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Hard, RegionCases, ::testing::ValuesIn(cases), [](const auto& info) {
    std::string n = info.param.name;
    std::replace(n.begin(), n.end(), '-', '_');
    return n;
});

// The two visibility paths (the counts at a point of each loop; the traversal of the loops from outside
// everything) agree on every case: with the "visibility" channel on, a disagreement writes its lists.
std::vector<std::string> disagreements;
void remember(void*, const velPolylineListIter*, utString label) {
    disagreements.emplace_back(label.c_str());
}

TEST(RegionVisibilityPaths, AgreeOnEveryCase) {
    const auto previous = velDebugGeometry::get_output_function();
    velDebugGeometry::set_output_function(&remember, nullptr);
    velDebugGeometry& channel = velDebugGeometry::get_from_manager("visibility");
    const int level = channel.level();
    channel.set_level(1);
    for (const Case& c : cases) {
        disagreements.clear();
        for (const Operation& op :
             {Operation(region_union), Operation(region_intersection), Operation(region_difference)})
            run(op, c.a(), c.b());
        EXPECT_TRUE(disagreements.empty()) << c.name << ": " << disagreements.size() << " lists written";
    }
    channel.set_level(level);
    velDebugGeometry::set_output_function(previous, nullptr);
}

// Two near-full circles on one circle, their arcs coinciding over most of their length: the crossings
// along the coinciding arcs are doubles of one overlap and go, so the union is the disc wherever the pair
// lies (anticlockwise arcs used to be measured from their ends, which kept hundreds of crossings and lost
// a tenth of the area at (10, -10)).
TEST(CoincidentArcs, UnionOfNearFullCirclesIsTheDisc) {
    for (const double far : {0.0, 10.0, 1000.0, 1e5}) {
        SCOPED_TRACE(far);
        const Polylines a = of(near_full_circle(1, 0.01, 0, far, -far)),
                        b = of(near_full_circle(1, 0.01, 0.5, far, -far));
        List both;
        both.add(std::unique_ptr<velAbsPolyArcLine>(a[0]->create_new()));
        both.add(std::unique_ptr<velAbsPolyArcLine>(b[0]->create_new()));
        velAbsPolyArcLineListCursor out;
        velPolylineSorter sorter;
        EXPECT_EQ(sorter.sort(both.iter, out), 0);
        EXPECT_EQ(out.size(), 1);
        EXPECT_NEAR(velPolylineListUtils::area(out.iterator()), pi, 1e-9);
        const Outcome u = run(region_union, a, b);
        EXPECT_EQ(u.loops, 1);
        EXPECT_NEAR(u.area, pi, 1e-9);
    }
}

// Loop counts where the topology is plain: merging, splitting and holes.
TEST(RegionTopology, LoopsOfTheResults) {
    EXPECT_EQ(run(region_union, of(rect(0, 0, 2, 2)), of(rect(1, 1, 3, 3))).loops, 1);
    EXPECT_EQ(run(region_union, of(rect(0, 0, 1, 1)), of(rect(2, 2, 3, 3))).loops, 2);
    EXPECT_EQ(run(region_union, of(rect(0, 0, 1, 1)), of(rect(1, 0, 2, 1))).loops, 1);
    // A bar across a ring cuts it into two pieces; the union of ring and bar has two holes.
    const Polylines ring = of(circle(0, 0, 3), circle(0, 0, 2, false));
    const Outcome cut = run(region_difference, ring, of(rect(-4, -0.5, 4, 0.5)));
    EXPECT_EQ(cut.loops, 2);
    EXPECT_EQ(cut.holes, 0);
    const Outcome joined = run(region_union, ring, of(rect(-4, -0.5, 4, 0.5)));
    EXPECT_EQ(joined.loops, 3);
    EXPECT_EQ(joined.holes, 2);
    // A square punched out of the middle of a bigger one: one outer boundary, one hole.
    const Outcome punched = run(region_difference, of(rect(0, 0, 4, 4)), of(rect(1, 1, 3, 3)));
    EXPECT_EQ(punched.loops, 2);
    EXPECT_EQ(punched.holes, 1);
    EXPECT_NEAR(punched.area, 12.0, 1e-12);
    EXPECT_EQ(run(region_intersection, of(rect(0, 0, 1, 1)), of(rect(2, 2, 3, 3))).loops, 0);
}

// The sorter's operations keep their orientation contracts: addition and intersection of anticlockwise
// regions come out anticlockwise, the difference of a clockwise plus is bounded clockwise as plus is.
TEST(SorterOperations, OrientationContracts) {
    auto sorter_op = [](int which) {
        return
            [which](const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out) {
                velPolylineSorter s;
                if (which == 0) s.addition(a, b, out);
                if (which == 1) s.subtraction(a, b, out);
                if (which == 2) s.intersection(a, b, out);
                return s.boolean_code();
            };
    };
    EXPECT_NEAR(run(sorter_op(0), of(rect(0, 0, 2, 2)), of(rect(1, 1, 3, 3))).area, 7.0, 1e-12);
    EXPECT_NEAR(run(sorter_op(2), of(rect(0, 0, 2, 2)), of(rect(1, 1, 3, 3))).area, 1.0, 1e-12);
    const Outcome d = run(sorter_op(1), of(rect(0, 0, 2, 2, false)), of(rect(1, 1, 3, 3)));
    EXPECT_NEAR(d.area, -3.0, 1e-12);
    // Minus disjoint from plus: plus unchanged; minus covering plus: nothing.
    EXPECT_NEAR(run(sorter_op(1), of(rect(0, 0, 2, 2, false)), of(rect(5, 5, 6, 6))).area, -4.0, 1e-12);
    EXPECT_EQ(run(sorter_op(1), of(rect(1, 1, 2, 2, false)), of(rect(0, 0, 3, 3))).loops, 0);
}

// NaN and infinite coordinates are refused with their own code, nothing written, the input untouched.
TEST(HostileInput, NonFiniteCoordinatesAreRefused) {
    for (const double bad : {NAN, INFINITY, -INFINITY}) {
        List good, poisoned;
        good.add(rect(0, 0, 2, 2));
        poisoned.add(rect(1, 1, 3, 3));
        poisoned.add(polyline({{0, 0}, {bad, 1}, {2, 2}, {0, 0}}));
        const int positions = poisoned.polylines[1]->num_pos();
        for (const Operation& op : {Operation(region_union), Operation(region_intersection),
                                    Operation(region_difference), Operation(region_xor)}) {
            velAbsPolyArcLineListCursor out;
            out.create_last_polyline(); // cleared by the refusal
            EXPECT_EQ(op(good.iter, poisoned.iter, out), velPolylineSorter::non_finite_input);
            EXPECT_EQ(op(poisoned.iter, good.iter, out), velPolylineSorter::non_finite_input);
            EXPECT_EQ(out.size(), 0);
        }
        velPolylineSorter sorter;
        velAbsPolyArcLineListCursor out;
        EXPECT_EQ(sorter.sort(poisoned.iter, out), velPolylineSorter::non_finite_input);
        sorter.addition(good.iter, poisoned.iter, out);
        EXPECT_EQ(sorter.boolean_code(), velPolylineSorter::non_finite_input);
        EXPECT_EQ(out.size(), 0);
        EXPECT_EQ(velPolylineListUtils::difference(good.iter, poisoned.iter, 1e-5, out),
                  velPolylineSorter::non_finite_input);
        velAbsPolyArcLineListCursor split;
        EXPECT_EQ(sorter.split(poisoned.iter, split), velPolylineSorter::non_finite_input);
        EXPECT_EQ(sorter.orient(poisoned.iter, &split), velPolylineSorter::non_finite_input);
        EXPECT_EQ(split.size(), 0);
        EXPECT_EQ(sorter.any_intersections(poisoned.iter), 0);
        intNaryTree tree;
        sorter.nesting_tree(poisoned.iter, 0, tree);
        tree.Root();
        EXPECT_EQ(tree.NumOffspring(), 0);
        EXPECT_EQ(poisoned.polylines[1]->num_pos(), positions);
    }
}

TEST(ListDifference, RegionsInAnyOrientationAndAStopLeavesNothing) {
    List a, b;
    a.add(rect(0, 0, 4, 4, false));
    b.add(circle(2, 2, 1, false));
    velAbsPolyArcLineListCursor out;
    EXPECT_EQ(velPolylineListUtils::difference(a.iter, b.iter, 1e-5, out), 0);
    EXPECT_NEAR(velPolylineListUtils::area(out.iterator()), 16.0 - pi, 1e-12);
    EXPECT_EQ(out.size(), 2);
    velProgressBreak stop;
    stop.request_stop();
    velAbsPolyArcLineListCursor stopped;
    EXPECT_EQ(velPolylineListUtils::difference(a.iter, b.iter, 1e-5, stopped, &stop), 1);
    EXPECT_EQ(stopped.size(), 0);
}

} // namespace velRegionBoolean_test
