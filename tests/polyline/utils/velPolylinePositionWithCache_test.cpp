// The cached position returns what the plain position computes, keeps it while the position stays, and
// forgets it whenever the position changes.

#include "utilsTestKit.h"

#include "arcline/polyline/utils/velPolylinePositionWithCache.h"

namespace velPolylinePositionWithCache_test {

using namespace utiltest;
using C = velPolylinePositionWithCache;

TEST(velPolylinePositionWithCache, ReturnsTheBaseValuesAndKeepsThem) {
    Rng rng(41);
    const One one(listtest::random_polyline(rng, 6, 0.7));
    for (int i = 0; i < 20; ++i) {
        const double t = rng.uniform(0, 5);
        const velPolylinePosition plain(&one.it, t);
        const C cached(&one.it, t);
        EXPECT_TRUE(cached.cached_point().is_unset());
        EXPECT_EQ(cached.point(), plain.point());
        EXPECT_EQ(cached.tangent_before(), plain.tangent_before());
        EXPECT_EQ(cached.tangent_after(), plain.tangent_after());
        EXPECT_EQ(cached.cached_point(), plain.point());
        EXPECT_EQ(cached.cached_tangent_after(), plain.tangent_after());
    }
    // Kept: after the polyline changes, the cached point is the old one while a plain position sees the new.
    C kept(&one.it, 1.0);
    kept.set_cached_data();
    const giPoint3 old = kept.cached_point();
    EXPECT_FALSE(kept.cached_tangent_before().invalid());
    one.line->edit_pos(2, {1, 2, 3});
    EXPECT_EQ(kept.point(), old);
    EXPECT_EQ(velPolylinePosition(&one.it, 1.0).point(), giPoint3(1, 2, 3));
    // Copies of a cached position take the caches; become, set_invalid and plain assignment drop them.
    const C copy(kept);
    EXPECT_EQ(copy.cached_point(), old);
    C assigned;
    assigned = kept;
    EXPECT_EQ(assigned.cached_point(), old);
    C changed(kept);
    changed.become(&one.it, 1.0);
    EXPECT_TRUE(changed.cached_point().is_unset());
    EXPECT_TRUE(changed.cached_tangent_after().invalid());
    EXPECT_EQ(changed.point(), giPoint3(1, 2, 3));
    changed.set_invalid();
    EXPECT_TRUE(changed.cached_point().is_unset());
    EXPECT_EQ(changed.valid(), 0);
    changed.set_cached_data();
    EXPECT_TRUE(changed.cached_point().is_unset());
    C from_plain(kept);
    from_plain = velPolylinePosition(&one.it, 2.0);
    EXPECT_TRUE(from_plain.cached_point().is_unset());
    velPolylinePosition& base = from_plain;
    from_plain.set_cached_data();
    base = kept;
    EXPECT_TRUE(from_plain.cached_point().is_unset());
    EXPECT_EQ(from_plain.parameter(), 1.0);
}

} // namespace velPolylinePositionWithCache_test
