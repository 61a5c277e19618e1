#include "arcline/polyline/spans/velLinexLine.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

namespace {

struct Closest {
    double s, t;
};
Closest closest(const giPoint3& A, const giPoint3& B, const giPoint3& C, const giPoint3& D) {
    Closest r{-9, -9};
    velLinexLine::closest_point(A, B, C, D, r.s, r.t);
    return r;
}

} // namespace

TEST(velLinexLine, FootOfAPoint) {
    double t = -9;
    velLinexLine::closest_point_on_infinite_line(giPoint2{3, 4}, {0, 0}, {2, 0}, t);
    EXPECT_DOUBLE_EQ(t, 1.5);
    velLinexLine::closest_point_on_infinite_line(giPoint3{-1, 4, 9}, {0, 0, 0}, {0, 0, 3}, t);
    EXPECT_DOUBLE_EQ(t, 3.0);
    velLinexLine::closest_point_on_infinite_line(giPoint2{3, 4}, {1, 1}, {1, 1}, t);
    EXPECT_EQ(t, 0.0);

    // Within 1e-5 of the segment's parameter range counts as on it; the parameter is clamped either way.
    EXPECT_EQ(velLinexLine::closest_point(giPoint2{1 + 5e-6, 3}, {0, 0}, {1, 0}, t), 1);
    EXPECT_EQ(t, 1.0);
    EXPECT_EQ(velLinexLine::closest_point(giPoint2{1 + 1e-4, 3}, {0, 0}, {1, 0}, t), 0);
    EXPECT_EQ(t, 1.0);
    EXPECT_EQ(velLinexLine::closest_point(giPoint2{-5e-6, 3}, {0, 0}, {1, 0}, t), 1);
    EXPECT_EQ(t, 0.0);
    EXPECT_EQ(velLinexLine::closest_point(giPoint3{0.25, 3, 7}, {0, 0, 0}, {1, 0, 0}, t), 1);
    EXPECT_DOUBLE_EQ(t, 0.25);
    EXPECT_EQ(velLinexLine::closest_point(giPoint3{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, t), 0);
    EXPECT_EQ(t, 0.0);

    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line_squared(giPoint2{3, 4}, {0, 0}, {2, 0}), 17.0);
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line_squared(giPoint2{1, 4}, {0, 0}, {2, 0}), 16.0);
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line(giPoint3{1, 3, 4}, {0, 0, 0}, {2, 0, 0}), 5.0);
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line(giPoint2{-3, 4}, {0, 0}, {2, 0}), 5.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(velLinexLine::distance_to_line_squared(giPoint2{nan, 0}, {0, 0}, {2, 0}), DBL_MAX);
    EXPECT_EQ(velLinexLine::distance_to_line_squared(giPoint3{nan, 0, 0}, {0, 0, 0}, {2, 0, 0}), DBL_MAX);
}

TEST(velLinexLine, ClosestPointsOfSegments) {
    Closest r = closest({0, 0, 0}, {2, 0, 0}, {1, -1, 1}, {1, 1, 1}); // skew, crossing above
    EXPECT_DOUBLE_EQ(r.s, 0.5);
    EXPECT_DOUBLE_EQ(r.t, 0.5);
    r = closest({1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {4, 0, 0}); // AB a point
    EXPECT_EQ(r.s, 0.0);
    EXPECT_DOUBLE_EQ(r.t, 0.25);
    r = closest({0, 0, 0}, {4, 0, 0}, {3, 1, 0}, {3, 1, 0}); // CD a point
    EXPECT_DOUBLE_EQ(r.s, 0.75);
    EXPECT_EQ(r.t, 0.0);
    r = closest({0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1, 0}); // parallel: from the foot of A on CD
    EXPECT_DOUBLE_EQ(r.s, 0.5);
    EXPECT_EQ(r.t, 0.0);
    r = closest({0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 1, 0}); // that foot clamped to D, then back onto AB
    EXPECT_DOUBLE_EQ(r.s, 0.5);
    EXPECT_EQ(r.t, 1.0);

    // The unconstrained solution off the segments: each of the four candidates wins once.
    r = closest({0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {1, 3, 0}); // C onto AB
    EXPECT_DOUBLE_EQ(r.s, 0.25);
    EXPECT_EQ(r.t, 0.0);
    r = closest({0, 0, 0}, {4, 0, 0}, {1, 3, 0}, {1, 1, 0}); // D onto AB
    EXPECT_DOUBLE_EQ(r.s, 0.25);
    EXPECT_EQ(r.t, 1.0);
    r = closest({1, 1, 0}, {1, 3, 0}, {0, 0, 0}, {4, 0, 0}); // A onto CD
    EXPECT_EQ(r.s, 0.0);
    EXPECT_DOUBLE_EQ(r.t, 0.25);
    r = closest({1, 3, 0}, {1, 1, 0}, {0, 0, 0}, {4, 0, 0}); // B onto CD
    EXPECT_EQ(r.s, 1.0);
    EXPECT_DOUBLE_EQ(r.t, 0.25);
    // 1e8 apart, the four candidates' distances round to one value: the first candidate wins the tie.
    r = closest({0, 0, 0}, {1, 0, 0}, {0.25, 1e8, 0.5}, {0.75, 1e8, 1.0});
    EXPECT_DOUBLE_EQ(r.s, 0.25);
    EXPECT_EQ(r.t, 0.0);

    double s = -9, t = -9; // the plane form is the space form at z = 0
    velLinexLine::closest_point(giPoint2{1, 3}, {1, 1}, {0, 0}, {4, 0}, s, t);
    EXPECT_EQ(s, 1.0);
    EXPECT_DOUBLE_EQ(t, 0.25);

    // No pair of points of the two segments is closer than the pair found.
    std::mt19937_64 rng(41);
    std::uniform_real_distribution<double> u(-10, 10), f(0, 1);
    for (int i = 0; i < 500; ++i) {
        const giPoint3 A{u(rng), u(rng), u(rng)}, B{u(rng), u(rng), u(rng)}, C{u(rng), u(rng), u(rng)},
            D{u(rng), u(rng), u(rng)};
        r = closest(A, B, C, D);
        ASSERT_GE(r.s, 0.0);
        ASSERT_LE(r.s, 1.0);
        ASSERT_GE(r.t, 0.0);
        ASSERT_LE(r.t, 1.0);
        const double best = A.interpolate(B, r.s).distance(C.interpolate(D, r.t));
        for (int k = 0; k < 50; ++k)
            ASSERT_GE(A.interpolate(B, f(rng)).distance(C.interpolate(D, f(rng))), best - 1e-12);
    }
}

TEST(velLinexLine, SegmentCrossing) {
    double s = -9, t = -9;
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {2, 0}, {1, -1}, {1, 1}, s, t), 1);
    EXPECT_DOUBLE_EQ(s, 0.5);
    EXPECT_DOUBLE_EQ(t, 0.5);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {1, 0}, {2, -1}, {2, 1}, s, t), 0); // beyond B
    EXPECT_DOUBLE_EQ(s, 2.0);
    EXPECT_DOUBLE_EQ(t, 0.5);
    EXPECT_EQ(velLinexLine::intersect({0, 0}, {1, 0}, {2, -1}, {2, 1}, s, t), 0); // the same, clamped
    EXPECT_EQ(s, 1.0);
    EXPECT_DOUBLE_EQ(t, 0.5);
    EXPECT_EQ(velLinexLine::intersect({0, 0}, {1, 0}, {0.5, 1}, {0.5, 3}, s, t), 0); // before C
    EXPECT_DOUBLE_EQ(s, 0.5);
    EXPECT_EQ(t, 0.0);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {1, 0}, {1 + 5e-6, -1}, {1 + 5e-6, 1}, s, t), 1);
    EXPECT_NEAR(s, 1 + 5e-6, 1e-15);
    EXPECT_EQ(velLinexLine::intersect({0, 0}, {1, 0}, {1 + 5e-6, -1}, {1 + 5e-6, 1}, s, t), 1);
    EXPECT_EQ(s, 1.0);

    // Degenerate segments: parameters from the feet, never a crossing.
    EXPECT_EQ(velLinexLine::infinite_intersect({1, 0}, {1, 0}, {0, 0}, {4, 0}, s, t), 0);
    EXPECT_EQ(s, 0.0);
    EXPECT_DOUBLE_EQ(t, 0.25);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {4, 0}, {3, 0}, {3, 0}, s, t), 0);
    EXPECT_DOUBLE_EQ(s, 0.75);
    EXPECT_EQ(t, 0.0);

    // Parallel: touching or overlapping counts, apart does not.
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {2, 0}, {1, 0}, {3, 0}, s, t), 1);
    EXPECT_DOUBLE_EQ(s, 0.5);
    EXPECT_EQ(t, 0.0);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {2, 0}, {2 + 5e-6, 0}, {4, 0}, s, t), 1);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {2, 0}, {3, 0}, {5, 0}, s, t), 0);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 0}, {2, 0}, {1, 1}, {3, 1}, s, t), 0);
    EXPECT_DOUBLE_EQ(s, 0.5);
    EXPECT_EQ(t, 0.0);

    // The cross product of the directions must exceed 1.0000000000000002e-10 to give a crossing.
    const double thr = 1.0000000000000002e-10, above = std::nextafter(thr, 1.0);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 1}, {1, 1}, {0, 0}, {1, thr}, s, t), 0);
    EXPECT_LT(std::fabs(s), 1e-9); // parallel branch: from the foot of A on CD
    EXPECT_LT(std::fabs(t), 1e-9);
    EXPECT_EQ(velLinexLine::infinite_intersect({0, 1}, {1, 1}, {0, 0}, {1, above}, s, t), 0);
    EXPECT_NEAR(s, 1 / above, 1e-6 / above); // the far crossing of nearly parallel lines
    EXPECT_NEAR(t, 1 / above, 1e-6 / above);
}
