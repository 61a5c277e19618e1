// Zone trees against brute force (no span missed, straight spans exact) and the division rule.

#include "zoneTestKit.h"

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <set>

namespace velPolylineZoneNode_test {

namespace {

using namespace zonetest;

// Rounding slack of the straight-span references.
constexpr double slack = 1e-9;

bool contains(const std::vector<int>& v, int j) {
    return std::find(v.begin(), v.end(), j) != v.end();
}
bool contains(const intcoDynArr* a, int j) {
    return a && std::find(a->begin(), a->end(), j) != a->end();
}

// A random box inside [-60, 60]^2 with sides up to `size`.
giBox2 random_box(Rng& rng, double size) {
    const giPoint2 lo{rng.uniform(-60, 60), rng.uniform(-60, 60)};
    return giBox2(lo, {lo.x + rng.uniform(0, size), lo.y + rng.uniform(0, size)});
}

// --- The edge cases

TEST(velPolylineListZoneNode, OnePositionPolylineHasABoxAndNoSpans) {
    Polylines in;
    in.push_back(std::make_unique<velPolyArcLineDouble>());
    in.back()->add_pos({3, -4, 5});
    ZoneList list(std::move(in));
    velPolylineListZoneNode<3> zones(list.iter, 0.5);
    zones.complete_subdivision();
    ASSERT_EQ(zones.box_cache().num_segs(), 1);
    EXPECT_EQ(zones.box_cache().num_spans(0), 0);
    EXPECT_EQ(zones.box_cache().get_seg_box(0), giBox3({3, -4, 5}, {3, -4, 5}));
    EXPECT_EQ(zones.limits(), giBox3({3, -4, 5}, {3, -4, 5}));
    EXPECT_EQ(zones.num_nodes(), 1);

    std::vector<const intcoDynArr*> near;
    EXPECT_EQ(zones.spans_near_point({3, -4, 5}, near), 0);
    ASSERT_EQ(near.size(), 1u);
    EXPECT_EQ(near[0], nullptr);
    // The point is still the nearest point of the list.
    double d;
    const velPolylinePosition at = velZonedPolylineListUtils::closest_point({0, 0, 5}, list.iter, zones, d);
    EXPECT_EQ(at.polyline_index(), 0);
    EXPECT_EQ(at.parameter(), 0.0);
    EXPECT_DOUBLE_EQ(d, 5.0);
}

// An empty list has no zones; points outside the limits (a corner is inside: closed boxes) and boxes
// outside them find nothing, with a null per polyline.
TEST(velPolylineListZoneNode, EmptyListAndPointsOutsideTheLimits) {
    ZoneList none;
    velPolylineListZoneNode<2> empty(none.iter, 1.0);
    EXPECT_EQ(empty.complete_subdivision(), 0);
    EXPECT_TRUE(empty.size() == 0 && empty.limits().empty());
    std::vector<const intcoDynArr*> near;
    EXPECT_EQ(empty.spans_near_point({0, 0}, near), 0);
    EXPECT_TRUE(near.empty());
    velFlattenedPolylineListIter flat(none.iter, 0.0);
    EXPECT_FALSE(velZonedPolylineListUtils::closest_point_2d({0, 0}, flat, empty).valid());

    Rng rng(5);
    ZoneList list(listtest::random_list(rng, 6));
    velPolylineListZoneNode<2> zones(list.iter, 2.0);
    zones.complete_subdivision();
    const giBox2 lim = zones.limits();
    for (const giPoint2 p : {giPoint2(lim.min().x - 1e-6, lim.centre().y),
                             giPoint2(lim.centre().x, lim.max().y + 1e-6), giPoint2(-1e9, 3)}) {
        EXPECT_EQ(zones.spans_near_point(p, near), 0);
        ASSERT_EQ(static_cast<int>(near.size()), zones.size());
        for (const intcoDynArr* a : near)
            EXPECT_EQ(a, nullptr);
    }
    zones.spans_near_point(lim.max(), near);
    EXPECT_EQ(static_cast<int>(near.size()), zones.size());
    std::vector<std::vector<int>> boxed;
    EXPECT_EQ(
        zones.spans_near_box(giBox2({lim.max().x + 1, lim.min().y}, {lim.max().x + 5, lim.max().y}), boxed),
        0);
}

// --- Random lists with arcs against brute force

struct Seeded : ::testing::TestWithParam<unsigned> {};

// Leaves list every span that meets them; boxes and points near never miss a span that meets them.
TEST_P(Seeded, PlanarZonesNeverMissASpan) {
    Rng rng(GetParam());
    ZoneList list(listtest::random_list(rng, 8));
    velPolylineListZoneNode<2> zones(list.iter, rng.uniform(0.5, 6));
    zones.complete_subdivision();
    for (int i = 0; i < zones.size(); ++i) {
        list.iter.set_index(i);
        const velPolylineZoneNode<2>& tree = zones.individual_polyline_zones(i);
        EXPECT_EQ(tree.polyline_index(), i);
        std::vector<std::pair<const velPolylineZoneNode<2>*, int>> all;
        leaves(tree, all);
        for (const auto& [leaf, depth] : all) {
            for (int j = 0; j + 1 < list.iter.num_pos(); ++j) {
                if (span_meets_box(list.iter, j, leaf->limits(), 0.0)) {
                    EXPECT_TRUE(listed(*leaf, j))
                        << "polyline " << i << " span " << j << " " << leaf->limits();
                }
                // Straight spans are listed only where they enter; arcs by their boxes.
                if (list.iter.span_linear(j) && !span_meets_box(list.iter, j, leaf->limits(), slack)) {
                    EXPECT_FALSE(listed(*leaf, j)) << "polyline " << i << " span " << j;
                }
                if (!list.iter.span_linear(j) && !list.iter.span_box(j, vel_2d_box).crosses(leaf->limits())) {
                    EXPECT_FALSE(listed(*leaf, j));
                }
            }
        }
        // Every span reaching into the limits is somewhere.
        std::vector<int> every;
        tree.all_spans(every);
        EXPECT_EQ(static_cast<int>(every.size()), std::max(list.iter.num_pos() - 1, 0));
    }

    for (int trial = 0; trial < 40; ++trial) {
        const giBox2 box = random_box(rng, trial % 2 ? 3.0 : 20.0);
        std::vector<std::vector<int>> near;
        const int count = zones.spans_near_box(box, near);
        ASSERT_EQ(static_cast<int>(near.size()), zones.size());
        int sum = 0;
        for (int i = 0; i < zones.size(); ++i) {
            sum += static_cast<int>(near[static_cast<std::size_t>(i)].size());
            EXPECT_TRUE(std::is_sorted(near[static_cast<std::size_t>(i)].begin(),
                                       near[static_cast<std::size_t>(i)].end()));
            list.iter.set_index(i);
            for (int j = 0; j + 1 < list.iter.num_pos(); ++j) {
                if (!span_meets_box(list.iter, j, box, 0.0)) continue;
                EXPECT_TRUE(contains(near[static_cast<std::size_t>(i)], j))
                    << "polyline " << i << " span " << j;
            }
        }
        EXPECT_EQ(count, sum);
    }

    for (int trial = 0; trial < 60; ++trial) {
        // Half the points on a span (which must be listed), half anywhere in the limits.
        int on_poly = -1, on_span = -1;
        giPoint2 p{rng.uniform(zones.limits().min().x, zones.limits().max().x),
                   rng.uniform(zones.limits().min().y, zones.limits().max().y)};
        if (trial % 2 == 0) {
            on_poly = rng.pick(0, zones.size() - 1);
            list.iter.set_index(on_poly);
            if (list.iter.num_pos() < 2) continue;
            on_span = rng.pick(0, list.iter.num_pos() - 2);
            p = list.iter.get_interpolated_pos(on_span + rng.uniform(0, 1)).xy();
        }
        std::vector<const intcoDynArr*> near;
        const int count = zones.spans_near_point(p, near);
        int sum = 0;
        for (int i = 0; i < zones.size(); ++i) {
            const intcoDynArr* a = near[static_cast<std::size_t>(i)];
            if (a) sum += a->size();
            // The zone holding p: every span meeting it is in the answer.
            const giBox2 zone = zones.individual_polyline_zones(i).leaf_containing(p.xyz(0))->limits();
            EXPECT_TRUE(zone.contains(p));
            list.iter.set_index(i);
            for (int j = 0; j + 1 < list.iter.num_pos(); ++j)
                if (span_meets_box(list.iter, j, zone, 0.0)) {
                    EXPECT_TRUE(contains(a, j)) << i << " " << j;
                }
        }
        EXPECT_EQ(count, sum);
        if (on_poly >= 0) {
            EXPECT_TRUE(contains(near[static_cast<std::size_t>(on_poly)], on_span));
        }
    }
}

// In space, with arcs tilted out of XY: points on spans are always found, straight spans listed exactly.
TEST_P(Seeded, ZonesInSpaceFindEveryPointOfASpan) {
    Rng rng(GetParam() + 300);
    ZoneList list(listtest::random_list(rng, 8, true));
    velPolylineListZoneNode<3> zones(list.iter, rng.uniform(1, 8));
    zones.complete_subdivision();
    for (int i = 0; i < zones.size(); ++i) {
        list.iter.set_index(i);
        const int n = list.iter.num_pos();
        std::vector<std::pair<const velPolylineZoneNode<3>*, int>> all;
        leaves(zones.individual_polyline_zones(i), all);
        for (const auto& [leaf, depth] : all)
            for (int j = 0; j + 1 < n; ++j) {
                if (!list.iter.span_linear(j)) continue;
                const bool meets =
                    segment_meets_box(list.iter.get_pos(j), list.iter.get_pos(j + 1), leaf->limits(), 0.0);
                const bool near =
                    segment_meets_box(list.iter.get_pos(j), list.iter.get_pos(j + 1), leaf->limits(), slack);
                if (meets) {
                    EXPECT_TRUE(listed(*leaf, j));
                }
                if (!near) {
                    EXPECT_FALSE(listed(*leaf, j));
                }
            }
        for (int trial = 0; trial < 10 && n > 1; ++trial) {
            const int j = rng.pick(0, n - 2);
            const giPoint3 p = list.iter.get_interpolated_pos(j + rng.uniform(0, 1));
            std::vector<const intcoDynArr*> near;
            zones.spans_near_point(p, near);
            EXPECT_TRUE(contains(near[static_cast<std::size_t>(i)], j)) << i << " " << j << " " << p;
            std::vector<int> around;
            zones.individual_polyline_zones(i).spans_in_zones_within_distance_of_point(p, 0.01, around);
            EXPECT_TRUE(contains(around, j));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RandomLists, Seeded, ::testing::Range(1u, 13u));

// --- Division

// The deepest leaf and the number of leaves of a tree.
template <int D>
std::pair<int, int> depth_and_leaves(const velPolylineZoneNode<D>& tree) {
    std::vector<std::pair<const velPolylineZoneNode<D>*, int>> all;
    leaves(tree, all);
    int deepest = 0;
    for (const auto& [leaf, depth] : all)
        deepest = std::max(deepest, depth);
    return {deepest, static_cast<int>(all.size())};
}

// Long spans crossing the whole box with a tiny zone length.
TEST(velPolylineZoneNode, NinetyPercentRuleStopsDepthOnLongSpans) {
    bsptest::List list;
    list.add(bsptest::polyline({{-50, -48}, {50, 41}, {-47, 50}, {45, -50}, {3, 50}, {-50, 2}, {50, 11}},
                               {0, 0.3, 0, 0, -0.2, 0}));
    std::vector<V> zigzag;
    for (int k = 0; k <= 1000; ++k)
        zigzag.push_back({-50 + 0.1 * k, (k % 2) ? -0.5 : 0.5});
    list.add(bsptest::polyline(zigzag));
    velPolylineListZoneNode<2> zones(list.iter, 1e-6);
    zones.complete_subdivision();

    const auto [long_depth, long_leaves] = depth_and_leaves(zones.individual_polyline_zones(0));
    EXPECT_LE(long_depth, 10);
    EXPECT_LT(long_leaves, 400);
    const auto [zig_depth, zig_leaves] = depth_and_leaves(zones.individual_polyline_zones(1));
    EXPECT_GT(zig_depth, long_depth);
    std::vector<std::pair<const velPolylineZoneNode<2>*, int>> all;
    leaves(zones.individual_polyline_zones(1), all);
    int listed_items = 0, with_items = 0;
    for (const auto& [leaf, depth] : all)
        if (leaf->items()) {
            listed_items += leaf->items()->size();
            ++with_items;
        }
    EXPECT_LE(listed_items, 4 * with_items) << "zones of the zigzag hold a few spans each";

    // Every zone with spans that stopped above the zone length kept 90 % of its parent's spans, and holds
    // at most four spans or fewer than a tenth of them are shorter than half the zone.
    auto check = [](const velPolylineZoneNode<2>& tree) {
        std::vector<std::pair<const velPolylineZoneNode<2>*, int>> ls;
        leaves(tree, ls);
        for (const auto& [leaf, depth] : ls) {
            if (!leaf->items() || leaf->degenerate()) continue;
            ASSERT_TRUE(leaf->parent());
            EXPECT_GE(leaf->num_items(), 0.9 * leaf->parent()->num_items());
            const double half = 0.5 * std::max(leaf->limits().xlength(), leaf->limits().ylength());
            int short_spans = 0;
            for (int j : *leaf->items()) {
                const giBox2 b = leaf->span_box(j);
                short_spans += std::max(b.xlength(), b.ylength()) < half;
            }
            EXPECT_TRUE(leaf->num_items() <= 4 || short_spans < 0.1 * leaf->num_items());
        }
    };
    check(zones.individual_polyline_zones(0));
    check(zones.individual_polyline_zones(1));
}

// A dense curve (a circle of 2000 spans) with zones of about three spans' length.
TEST(velPolylineZoneNode, DenseCurveZonesHoldFewSpans) {
    std::vector<V> pts;
    std::vector<double> b;
    for (int k = 0; k <= 2000; ++k) {
        const double a = 2 * std::numbers::pi * k / 2000;
        pts.push_back({50 * std::cos(a) + 3, 50 * std::sin(a) - 7});
        b.push_back(k % 2 ? std::tan(2 * std::numbers::pi / 2000 / 4) : 0.0);
    }
    pts.back() = pts.front();
    bsptest::List list;
    list.add(bsptest::polyline(pts, b));
    velPolylineListZoneNode<2> zones(list.iter, 0.5);
    zones.complete_subdivision();
    std::vector<std::pair<const velPolylineZoneNode<2>*, int>> all;
    leaves(zones.individual_polyline_zones(0), all);
    int most = 0, listed_items = 0, with_items = 0;
    for (const auto& [leaf, depth] : all)
        if (leaf->items()) {
            most = std::max(most, leaf->num_items());
            listed_items += leaf->num_items();
            ++with_items;
        }
    EXPECT_LE(most, 12);
    EXPECT_LE(listed_items, 3.3 * with_items);
}

// Zones as large as the list: the root is final.
TEST(velPolylineZoneNode, ZoneLengthAsLargeAsTheListKeepsOneZone) {
    Rng rng(9);
    ZoneList list(listtest::random_list(rng, 3));
    velPolylineListZoneNode<2> zones(list.iter, 1000.0);
    EXPECT_EQ(zones.complete_subdivision(), 0);
    EXPECT_EQ(zones.num_nodes(), zones.size());
}

// A flat list in space: its box has no height, which the root widens so that the octree divides like a
// quadtree in XY.
TEST(velPolylineZoneNode, FlatListInSpaceStillDivides) {
    Rng rng(12);
    Polylines in;
    in.push_back(listtest::random_polyline(rng, 200, 0.0));
    ZoneList list(std::move(in));
    const double z = polytest::pos(*list.polylines[0], 1).z;
    velPolylineListZoneNode<3> zones(list.iter, 2.0);
    EXPECT_EQ(zones.limits().zlength(), 0.0);
    zones.complete_subdivision();
    const velPolylineZoneNode<3>& tree = zones.individual_polyline_zones(0);
    EXPECT_GT(tree.limits().zlength(), 0.0);
    EXPECT_TRUE(tree.limits().contains(zones.limits().centre()) && tree.limits().max().z > z);
    const auto [depth, count] = depth_and_leaves(tree);
    EXPECT_GE(depth, 3);
    for (int trial = 0; trial < 50; ++trial) {
        list.iter.set_index(0);
        const int j = rng.pick(0, list.iter.num_pos() - 2);
        const giPoint3 p = list.iter.get_interpolated_pos(j + rng.uniform(0, 1));
        EXPECT_TRUE(contains(tree.spans(p), j));
    }
}

} // namespace

} // namespace velPolylineZoneNode_test
