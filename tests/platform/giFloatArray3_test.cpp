#include "arcline/platform/giFloatArray3.h"

#include <gtest/gtest.h>

namespace giFloatArray3_test {

namespace {

// Narrowing and widening in one expression: the release build's vectorizer once folded this into a copy.
[[gnu::noinline]] giPoint3 round_trip(const giPoint3& p) {
    return giFloatArray3(p).point();
}

} // namespace

TEST(giFloatArray3, RoundTripRoundsEveryCoordinateToSinglePrecision) {
    const giPoint3 q = round_trip(giPoint3(1.1, 2.2, 3.3));
    EXPECT_EQ(q.x, 1.100000023841858);
    EXPECT_EQ(q.y, 2.200000047683716);
    EXPECT_EQ(q.z, 3.299999952316284);
    static_assert(giFloatArray3(giPoint3(0.5, 0.25, -2.0)).point() == giPoint3(0.5, 0.25, -2.0));
}

} // namespace giFloatArray3_test
