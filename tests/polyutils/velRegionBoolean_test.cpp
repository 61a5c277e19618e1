// Union, intersection, difference and exclusive or of two regions with arcs.

#include "sorterTestKit.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/platform/velProgressBreak.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velRegionBoolean.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

namespace velRegionBoolean_test {

using namespace sortertest;
constexpr double pi = std::numbers::pi;

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

// Hand cases as data: tests/data/polyutils/regions, NAME_a.txt, NAME_b.txt and a row of `cases`.
struct Case {
    std::string name;
    double uni, inter, diff; // exact areas of A or B, A and B, A without B (NaN: by the identities only)
    bool clean_checks;       // 0: touching loops or slivers of the rounding's width, areas only
    double relative;
    std::vector<std::string> loops; // of the union, intersection, difference: "LOOPS/HOLES" or "-"
    Polylines a() const { return load_lines("polyutils/regions", name + "_a"); }
    Polylines b() const { return load_lines("polyutils/regions", name + "_b"); }
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.name;
}

std::vector<Case> region_cases() {
    std::vector<Case> out;
    for (const auto& r : table_rows("polyutils/regions", "cases"))
        out.push_back({r.at(0),
                       std::stod(r.at(1)),
                       std::stod(r.at(2)),
                       std::stod(r.at(3)),
                       r.at(4) == "1",
                       std::stod(r.at(5)),
                       {r.at(6), r.at(7), r.at(8)}});
    return out;
}
const std::vector<Case> cases = region_cases();

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
        const Outcome* uid[] = {&u, &i, &d};
        for (int k = 0; k < 3; ++k) {
            int loops = 0, holes = 0;
            if (std::sscanf(c.loops[std::size_t(k)].c_str(), "%d/%d", &loops, &holes) != 2) continue;
            EXPECT_EQ(uid[k]->loops, loops) << "result " << k;
            EXPECT_EQ(uid[k]->holes, holes) << "result " << k;
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

INSTANTIATE_TEST_SUITE_P(Hard, RegionCases, ::testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

// The two visibility paths (counts at a point of each loop, traversal from outside) agree on every case.
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

// Two near-full circles on one circle, their arcs coinciding over most of their length.
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
