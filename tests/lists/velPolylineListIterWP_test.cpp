#include "arcline/lists/velPolylineListIterWP.h"

#include "adapterTestKit.h"

#include <gtest/gtest.h>

#include <memory>

namespace velPolylineListIterWP_test {

using polytest::Rng;

namespace {
// Four polylines of lines and arcs at random heights, seen through a turned-over and random workplanes.
struct Fixture {
    explicit Fixture(unsigned seed) : rng(seed) {
        for (int k = 0; k < 4; ++k)
            adaptertest::add_random_polyline(list, rng, 6);
        planes.push_back(adaptertest::flipped_workplane());
        for (int k = 0; k < 12; ++k)
            planes.push_back(adaptertest::random_workplane(rng));
    }
    Rng rng;
    velAbsPolyArcLineListCursor list;
    std::vector<giWorkplane3> planes;
};
} // namespace

TEST(velPolylineListIterWP, MapsPointsAndMidPointsToWorldAndKeepsSpanKindsAndBulges) {
    Fixture f(11);
    velPolylineListIter& local = f.list.iterator();
    for (const giWorkplane3& wp : f.planes) {
        velPolylineListIterWP world(wp, local);
        EXPECT_EQ(world.size(), 4);
        local.reset();
        world.reset();
        while (++world) {
            ASSERT_EQ(++local, 1);
            ASSERT_EQ(world.num_pos(), local.num_pos());
            for (int i = 0; i < world.num_pos(); ++i) {
                EXPECT_EQ(world.get_pos(i), wp.to_world(local.get_pos(i)));
                if (i + 1 == world.num_pos()) break;
                EXPECT_EQ(world.span_linear(i), local.span_linear(i));
                EXPECT_EQ(world.get_bulge(i), local.get_bulge(i));
                const giPoint3 m = local.get_mid_pos(i);
                EXPECT_EQ(world.get_mid_pos(i), m.is_unset() ? m : wp.to_world(m));
            }
        }
    }
}

TEST(velPolylineListIterWP, BoxesOfMappedArcsHoldEverySampledPointAndNoMore) {
    Fixture f(12);
    constexpr int samples = 512; // come within 1e-4 of every extreme of these arcs
    for (const giWorkplane3& wp : f.planes) {
        velPolylineListIterWP world(wp, f.list.iterator());
        world.reset();
        while (++world) {
            const giBox2 whole = world.box(vel_2d_box);
            for (int i = 0; i + 1 < world.num_pos(); ++i) {
                const giBox3 b3 = world.span_box(i, vel_3d_box);
                const giBox2 b2 = world.span_box(i, vel_2d_box);
                giBox3 sampled;
                for (int s = 0; s <= samples; ++s) {
                    const giPoint3 p = world.get_interpolated_pos(i + double(s) / samples);
                    sampled.merge(p);
                    EXPECT_TRUE(b3.contains(p, 1e-9));
                    EXPECT_TRUE(whole.contains(p.xy(), 1e-9));
                }
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(b3.min()[c], sampled.min()[c], 1e-3);
                    EXPECT_NEAR(b3.max()[c], sampled.max()[c], 1e-3);
                    if (c < 2) {
                        EXPECT_NEAR(b2.min()[c], sampled.min()[c], 1e-3);
                        EXPECT_NEAR(b2.max()[c], sampled.max()[c], 1e-3);
                    }
                }
            }
        }
    }
}

TEST(velPolylineListIterWP, AWrappedViewFollowsItsIteratorAnOwningOneDoesNot) {
    Fixture f(13);
    velPolylineListIter& local = f.list.iterator();
    local.set_index(1);
    velPolylineListIterWP wrapped(f.planes[1], local, ut_ptr_wrap);
    velPolylineListIterWP owned(f.planes[1], local);
    const std::unique_ptr<velPolylineListIterWP> clone(wrapped.create_new());
    local.set_index(2);
    EXPECT_EQ(&wrapped.underlying_iterator(), &local);
    EXPECT_EQ(wrapped.index(), 2);
    EXPECT_EQ(owned.index(), 1);
    EXPECT_EQ(clone->index(), 1);
}

} // namespace velPolylineListIterWP_test
