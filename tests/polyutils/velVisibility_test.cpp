// Visibility of boundaries through the BSP traversal.

#include "sorterTestKit.h"

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/polyutils/velBoundaryNesting.h"
#include "arcline/polyutils/velBoundarySorterFragments.h"
#include "arcline/polyutils/velVisibilityCalculator.h"
#include "arcline/polyutils/velVisibilityResult.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velVisibility_test {

using namespace sortertest;

// The visibility of every polyline of the list and, when asked, its nesting tree.
struct Visibility {
    velVisibilityResult result;
    intNaryTree tree;
};

Visibility visibility(List& list, int mode, const std::vector<double>* areas = nullptr) {
    Visibility v;
    velCrossData data;
    data.set_visibility_test(1);
    data.set_intersections(0);
    velIntersectorBSPNode root(list.iter, &data);
    v.result.initialize(list.iter.size(), nullptr);
    std::unique_ptr<velBoundaryNesting> nesting;
    if (areas) nesting = std::make_unique<velBoundaryNesting>(v.tree, *areas);
    const giPoint2 lo = root.limits().min();
    root.determine_visibility({lo.x, lo.y, 0.0}, 0, nullptr, velVisibilityCalculator(mode), 0, 1, 0, v.result,
                              nesting.get());
    return v;
}

TEST(velVisibilityResult, ConfidenceDecidesWhichResultStays) {
    const int blocked[3] = {0, 0, 1};
    velVisibilityResult r;
    r.initialize(3, blocked);
    EXPECT_EQ(r.known(), 1);
    EXPECT_FALSE(r.visibility_defined(0));
    r.set_visibility(0, 1, 0.5, 0.005); // unsure
    EXPECT_TRUE(r.visibility_defined(0));
    EXPECT_FALSE(r.visibility_certain(0));
    r.set_visibility(0, 0, 0.25, 0.004); // less sure: ignored
    EXPECT_EQ(r.visible(0), 1);
    r.set_visibility(0, 0, 0.25, 0.02); // more sure and certain: replaces
    EXPECT_EQ(r.visible(0), 0);
    EXPECT_DOUBLE_EQ(r.t(0), 0.25);
    r.set_visibility(0, 1, 0.75, 5.0); // a certain result is final
    EXPECT_EQ(r.visible(0), 0);
    r.set_visibility(2, 1); // blocked: never a result
    EXPECT_FALSE(r.visibility_defined(2));
    EXPECT_FALSE(r.results_complete());
    r.set_visibility(1, 1);
    EXPECT_TRUE(r.results_complete());
}

// One fragment across the unit box, entering on the right at y = 0.25 and leaving on the left.
TEST(velBoundarySorterFragments, CountsRoundTheNode) {
    velBoundarySorterFragments frags(giBox2({0, 0}, {1, 1}), 1);
    frags.add_fragment(7, {1, 0.25, 0}, 0.1, {0, 0.25, 0}, 0.9);
    velVisibilityResult r;
    r.initialize(8, nullptr);
    int complete = 0;
    frags.sort_frags(1, {0, 0, 0}, velVisibilityCalculator(1), 0, r, complete);
    EXPECT_EQ(complete, 1);
    EXPECT_EQ(r.visible(7), 1);
    EXPECT_DOUBLE_EQ(r.confidence(7), 1000.0 + 1e-10); // the other end is 1 away in x
    EXPECT_EQ(frags.visible({1, 0.1, 0}), 1);
    EXPECT_EQ(frags.visible({1, 0.5, 0}), 0);
    EXPECT_EQ(frags.visible({0.5, 1, 0}), 0);
    EXPECT_EQ(frags.visible({0, 0.1, 0}), 1);
    EXPECT_DOUBLE_EQ(frags.average_visibility(), 1.5 / 4.0);
    EXPECT_TRUE(frags.close_to_point({0.001, 0.25, 0}, 0.01));
    EXPECT_FALSE(frags.close_to_point({0.5, 0.5, 0}, 0.01));
}

// Fragment ends on a coarse grid of the perimeter of a 2 x 1 box (so that many share a place, corners
// included), sorted from a random perimeter point P: each sorted point must come before the next in the
// order after P as the perimeter order (velPolylineBSPUtils::less_than) and the tie rule define it, and
// sign must call two points equal exactly when they share a place.
TEST(velBoundarySorterFragments, SortedOrderIsThePerimeterOrderAfterP) {
    const giBox2 box({0, 0}, {2, 1});
    auto on_perimeter = [](std::mt19937& rng) {
        std::uniform_int_distribution<int> side(0, 3), step(0, 8);
        const double s = step(rng) / 8.0;
        switch (side(rng)) {
        case 0:
            return giPoint3(2 * s, 1, 0);
        case 1:
            return giPoint3(0, s, 0);
        case 2:
            return giPoint3(2 * s, 0, 0);
        default:
            return giPoint3(2, s, 0);
        }
    };
    for (int seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        const int n = 1 + seed % 23;
        velBoundarySorterFragments frags(box, n);
        std::uniform_int_distribution<int> segment(0, 5);
        for (int i = 0; i < n; ++i) {
            const int s = segment(rng);
            const giPoint3 from = on_perimeter(rng), to = on_perimeter(rng);
            frags.add_fragment(s, from, 0.1 * i, to, 0.1 * i + 0.05);
        }
        const giPoint3 P = on_perimeter(rng);
        velVisibilityResult r;
        r.initialize(6, nullptr);
        int complete = 0;
        frags.sort_frags(0, P, velVisibilityCalculator(1), 0, r, complete);
        auto side = [&](const giPoint3& q) { return velPolylineBSPUtils::node_side(q, box); };
        auto less = [&](const giPoint3& a, const giPoint3& b) {
            return velPolylineBSPUtils::less_than(a.xy(), side(a), b.xy(), side(b));
        };
        auto same_place = [&](int a, int b) {
            return !less(frags.point(a), frags.point(b)) && !less(frags.point(b), frags.point(a));
        };
        // a strictly before b after P, by the rules spelled out independently of the class.
        auto first = [&](int a, int b) {
            const giPoint3 &pa = frags.point(a), &pb = frags.point(b);
            if (!same_place(a, b)) {
                const bool a_after = less(P, pa), b_after = less(P, pb);
                if (a_after != b_after) return a_after;
                return less(pa, pb);
            }
            const bool a_end = a % 2 == 1, b_end = b % 2 == 1;
            if (a_end != b_end) return a_end;
            if (frags.segment(a) != frags.segment(b))
                return a_end ? frags.segment(a) < frags.segment(b) : frags.segment(a) > frags.segment(b);
            return a < b;
        };
        for (int k = 0; k + 1 < 2 * n; ++k) {
            const int a = frags.sorted(k), b = frags.sorted(k + 1);
            EXPECT_TRUE(first(a, b)) << "seed " << seed << " places " << k << " and " << k + 1;
            EXPECT_EQ(frags.sign(a, b) == 0, same_place(a, b)) << "seed " << seed;
        }
    }
}

// Random circles that neither cross nor touch, in both orientations.
TEST(velBoundaryNesting, RandomCirclesAgainstTheirOwnCounts) {
    for (int seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        std::uniform_real_distribution<double> pos(0, 100), rad(1, 30);
        std::bernoulli_distribution ccw(0.7);
        struct C {
            double x, y, r;
            bool ccw;
        };
        std::vector<C> cs;
        for (int tries = 0; tries < 400 && cs.size() < 25; ++tries) {
            const C c{pos(rng), pos(rng), rad(rng), ccw(rng)};
            bool ok = true;
            for (const C& o : cs) {
                const double d = std::hypot(c.x - o.x, c.y - o.y);
                ok = ok && (d > c.r + o.r + 0.01 || d + std::min(c.r, o.r) < std::max(c.r, o.r) - 0.01);
            }
            if (ok) cs.push_back(c);
        }
        List list;
        std::vector<double> areas;
        for (const C& c : cs) {
            list.add(circle(c.x, c.y, c.r, c.ccw));
            areas.push_back((c.ccw ? 1 : -1) * M_PI * c.r * c.r);
        }
        auto holds = [&](const C& o, const C& c) {
            return &o != &c && std::hypot(c.x - o.x, c.y - o.y) + c.r < o.r;
        };
        const Visibility v = visibility(list, 1, &areas);
        ASSERT_TRUE(v.result.results_complete()) << "seed " << seed;
        intNaryTree tree = v.tree;
        const std::vector<int> parent = parents(tree, static_cast<int>(cs.size()));
        for (std::size_t i = 0; i < cs.size(); ++i) {
            int inside = cs[i].ccw ? 1 : -1;
            const C* parent_circle = nullptr;
            for (const C& o : cs)
                if (holds(o, cs[i])) {
                    inside += o.ccw ? 1 : -1;
                    if (!parent_circle || o.r < parent_circle->r) parent_circle = &o;
                }
            const int outside = inside - (cs[i].ccw ? 1 : -1);
            const int expected = (inside == 1 && outside == 0) || (inside == 0 && outside == 1);
            EXPECT_EQ(v.result.visible(static_cast<int>(i)), expected) << "seed " << seed << " circle " << i;
            EXPECT_EQ(parent[i], parent_circle ? static_cast<int>(parent_circle - cs.data()) : -1)
                << "seed " << seed << " circle " << i;
        }
    }
}

} // namespace velVisibility_test
