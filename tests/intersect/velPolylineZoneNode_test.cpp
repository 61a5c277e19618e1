// Zone trees against brute force (no span missed, straight spans exact) and the division rule.

#include "zoneTestKit.h"

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_EQ(zones.box_cache().num_spans(0), 0);
    EXPECT_EQ(zones.limits(), giBox3({3, -4, 5}, {3, -4, 5}));
    EXPECT_EQ(zones.num_nodes(), 1);

    std::vector<const intcoDynArr*> near;
    EXPECT_EQ(zones.spans_near_point({3, -4, 5}, near), 0);
    ASSERT_EQ(near.size(), 1u);
    EXPECT_EQ(near[0], nullptr);
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

// Zones as large as the list: the root is final.
TEST(velPolylineZoneNode, ZoneLengthAsLargeAsTheListKeepsOneZone) {
    Rng rng(9);
    ZoneList list(listtest::random_list(rng, 3));
    velPolylineListZoneNode<2> zones(list.iter, 1000.0);
    EXPECT_EQ(zones.complete_subdivision(), 0);
    EXPECT_EQ(zones.num_nodes(), zones.size());
}

} // namespace

} // namespace velPolylineZoneNode_test
