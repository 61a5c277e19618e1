// The span box caches against the iterator they were filled from, and 3D from points against lists.

#include "../lists/listTestKit.h"

#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/intersect/velPolyarcline3dBoxCache.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"

#include <gtest/gtest.h>

namespace velSpanBoxCache_test {

namespace {

using namespace listtest;

// A random list with a one-position polyline and an empty one among the others.
Polylines mixed_list(Rng& rng, bool tilt) {
    Polylines in = random_list(rng, 6, tilt);
    auto dot = std::make_unique<velPolyArcLineDouble>();
    dot->add_pos({3, -4, 5});
    in.insert(in.begin() + 2, std::move(dot));
    in.push_back(std::make_unique<velPolyArcLineDouble>());
    return in;
}

bool near(const giBox3& a, const giBox3& b, double tol) {
    return a.min().coincident(b.min(), tol) && a.max().coincident(b.max(), tol);
}

// Planar polylines (each at one height): the bulge-form boxes of cached points are the three-point boxes
// of the list.
TEST(velSpanBoxCache, BoxesFromCachedPointsAreTheListsBoxes) {
    Rng rng(43);
    for (int trial = 0; trial < 10; ++trial) {
        Polylines in = mixed_list(rng, false);
        velAbsPolyArcLineVecListIter it(&in);
        velPolyarclinePointCache points;
        points.cache_points(it);
        ASSERT_EQ(points.num_segs(), static_cast<int>(in.size()));
        it.reset();
        while (++it) {
            ASSERT_EQ(points.num_points(it.index()), it.num_pos());
            for (int j = 0; j < it.num_pos(); ++j) {
                EXPECT_EQ(points.get_point(it.index(), j), it.get_pos(j));
                if (j + 1 < it.num_pos()) {
                    EXPECT_EQ(points.get_bulge(it.index(), j), it.span_linear(j) ? 0.0 : it.get_bulge(j));
                }
            }
        }
        velPolyarcline3dBoxCache from_points, from_list;
        from_points.cache_boxes(points);
        from_list.cache_boxes(it);
        ASSERT_EQ(from_points.num_segs(), from_list.num_segs());
        for (int i = 0; i < from_list.num_segs(); ++i) {
            ASSERT_EQ(from_points.num_spans(i), from_list.num_spans(i));
            for (int j = 0; j < from_list.num_spans(i); ++j) {
                EXPECT_TRUE(near(from_points.get_span_box(i, j), from_list.get_span_box(i, j), 1e-9))
                    << i << " " << j;
            }
            EXPECT_TRUE(near(from_points.get_seg_box(i), from_list.get_seg_box(i), 1e-9));
        }

        // A moved point moves the boxes of its two spans.
        int i = 0;
        while (points.num_points(i) < 3)
            ++i;
        const giPoint3 far{500, 500, points.get_point(i, 1).z};
        points.override_point(i, 1, far);
        EXPECT_EQ(points.get_point(i, 1), far);
        from_points.cache_boxes(points);
        EXPECT_TRUE(from_points.get_span_box(i, 0).contains(far) &&
                    from_points.get_span_box(i, 1).contains(far));
        EXPECT_TRUE(from_points.get_total_box().contains(far));
    }
}

} // namespace

} // namespace velSpanBoxCache_test
