#include "arcline/polyline/spans/velLinexLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <random>

namespace velLinexLine_test {

TEST(velLinexLine, FootOfAPointAndDistance) {
    double t = -9;
    velLinexLine::closest_point_on_infinite_line(giPoint2{3, 4}, {0, 0}, {2, 0}, t);
    EXPECT_DOUBLE_EQ(t, 1.5);
    velLinexLine::closest_point_on_infinite_line(giPoint3{-1, 4, 9}, {0, 0, 0}, {0, 0, 3}, t);
    EXPECT_DOUBLE_EQ(t, 3.0);
    velLinexLine::closest_point_on_infinite_line(giPoint2{3, 4}, {1, 1}, {1, 1}, t);
    EXPECT_EQ(t, 0.0);
    // Within 1e-5 of the segment's parameter range counts as on it; the parameter is clamped either way.
    const struct {
        double x;
        int on;
        double t;
    } feet[] = {{1 + 5e-6, 1, 1.0}, {1 + 1e-4, 0, 1.0}, {-5e-6, 1, 0.0}, {0.25, 1, 0.25}, {-1, 0, 0.0}};
    for (const auto& f : feet) {
        EXPECT_EQ(velLinexLine::closest_point(giPoint2{f.x, 3}, {0, 0}, {1, 0}, t), f.on) << f.x;
        EXPECT_EQ(t, f.t);
        EXPECT_EQ(velLinexLine::closest_point(giPoint3{f.x, 3, 7}, {0, 0, 0}, {1, 0, 0}, t), f.on) << f.x;
        EXPECT_EQ(t, f.t);
    }
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line_squared(giPoint2{3, 4}, {0, 0}, {2, 0}), 17.0);
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line(giPoint3{1, 3, 4}, {0, 0, 0}, {2, 0, 0}), 5.0);
    EXPECT_DOUBLE_EQ(velLinexLine::distance_to_line(giPoint2{-3, 4}, {0, 0}, {2, 0}), 5.0);
    // Not a number, and A = B (the foot's parameter is 0 / 0, even at A itself): the largest double.
    const giPoint2 nan{std::nan(""), 0}, A{1, 1}, B{2, 1};
    for (const auto& [P, Q, R] : {std::array{nan, A, B}, {giPoint2{3, 4}, A, A}, {A, A, A}}) {
        EXPECT_EQ(velLinexLine::distance_to_line_squared(P, Q, R), DBL_MAX) << P;
        EXPECT_EQ(velLinexLine::distance_to_line_squared(P.xyz(2), Q.xyz(2), R.xyz(2)), DBL_MAX) << P;
    }
}

TEST(velLinexLine, ClosestPointsOfSegments) {
    const struct {
        giPoint3 A, B, C, D;
        double s, t;
    } cases[] = {
        {{0, 0, 0}, {2, 0, 0}, {1, -1, 1}, {1, 1, 1}, 0.5, 0.5}, // skew, crossing above
        {{1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {4, 0, 0}, 0.0, 0.25}, // AB a point
        {{0, 0, 0}, {4, 0, 0}, {3, 1, 0}, {3, 1, 0}, 0.75, 0.0}, // CD a point
        {{0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1, 0}, 0.5, 0.0},  // parallel: from the foot of A on CD
        {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 1, 0}, 0.5, 1.0},  // that foot clamped to D, back onto AB
        {{0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {1, 3, 0}, 0.25, 0.0}, // off the segments: C onto AB wins
        {{0, 0, 0}, {4, 0, 0}, {1, 3, 0}, {1, 1, 0}, 0.25, 1.0}, // D onto AB
        {{1, 1, 0}, {1, 3, 0}, {0, 0, 0}, {4, 0, 0}, 0.0, 0.25}, // A onto CD
        {{1, 3, 0}, {1, 1, 0}, {0, 0, 0}, {4, 0, 0}, 1.0, 0.25}, // B onto CD
        // 1e8 apart, the four candidates' distances round to one value: the first candidate wins the tie.
        {{0, 0, 0}, {1, 0, 0}, {0.25, 1e8, 0.5}, {0.75, 1e8, 1.0}, 0.25, 0.0},
    };
    double s = -9, t = -9;
    for (const auto& c : cases) {
        velLinexLine::closest_point(c.A, c.B, c.C, c.D, s, t);
        EXPECT_DOUBLE_EQ(s, c.s) << c.C.x << " " << c.C.y;
        EXPECT_DOUBLE_EQ(t, c.t) << c.C.x << " " << c.C.y;
        // The plane form is the space form at z = 0.
        velLinexLine::closest_point(c.A.xy(), c.B.xy(), c.C.xy(), c.D.xy(), s, t);
        if (c.C.z != 0.0 || c.D.z != 0.0) continue;
        EXPECT_DOUBLE_EQ(s, c.s);
        EXPECT_DOUBLE_EQ(t, c.t);
    }

    // No pair of points of the two segments is closer than the pair found.
    std::mt19937_64 rng(41);
    std::uniform_real_distribution<double> u(-10, 10), f(0, 1);
    for (int i = 0; i < 300; ++i) {
        const giPoint3 A{u(rng), u(rng), u(rng)}, B{u(rng), u(rng), u(rng)}, C{u(rng), u(rng), u(rng)},
            D{u(rng), u(rng), u(rng)};
        velLinexLine::closest_point(A, B, C, D, s, t);
        ASSERT_TRUE(s >= 0.0 && s <= 1.0 && t >= 0.0 && t <= 1.0);
        const double best = A.interpolate(B, s).distance(C.interpolate(D, t));
        for (int k = 0; k < 50; ++k)
            ASSERT_GE(A.interpolate(B, f(rng)).distance(C.interpolate(D, f(rng))), best - 1e-12);
    }
}

TEST(velLinexLine, SegmentCrossing) {
    // The cross product of the directions must exceed 1.0000000000000002e-10 to give a crossing.
    const double thr = 1.0000000000000002e-10, above = std::nextafter(thr, 1.0), nan = std::nan("");
    const struct {
        giPoint2 A, B, C, D;
        int hit;
        double s, t; // unclamped; NaN: not checked
    } cases[] = {
        {{0, 0}, {2, 0}, {1, -1}, {1, 1}, 1, 0.5, 0.5},
        {{0, 0}, {1, 0}, {2, -1}, {2, 1}, 0, 2.0, 0.5},     // beyond B
        {{0, 0}, {1, 0}, {0.5, 1}, {0.5, 3}, 0, 0.5, -0.5}, // before C
        {{0, 0}, {1, 0}, {1 + 5e-6, -1}, {1 + 5e-6, 1}, 1, 1 + 5e-6, 0.5},
        {{1, 0}, {1, 0}, {0, 0}, {4, 0}, 0, 0.0, 0.25}, // degenerate: feet, never a crossing
        {{0, 0}, {4, 0}, {3, 0}, {3, 0}, 0, 0.75, 0.0},
        {{0, 0}, {2, 0}, {1, 0}, {3, 0}, 1, 0.5, 0.0},        // parallel: overlapping counts
        {{0, 0}, {2, 0}, {2 + 5e-6, 0}, {4, 0}, 1, nan, nan}, // touching within 1e-5 counts
        {{0, 0}, {2, 0}, {3, 0}, {5, 0}, 0, nan, nan},        // apart does not
        {{0, 0}, {2, 0}, {1, 1}, {3, 1}, 0, 0.5, 0.0},
        {{0, 1}, {1, 1}, {0, 0}, {1, thr}, 0, 0.0, 0.0},               // parallel branch: foot of A on CD
        {{0, 1}, {1, 1}, {0, 0}, {1, above}, 0, 1 / above, 1 / above}, // far crossing of nearly parallel
                                                                       // lines
    };
    for (const auto& c : cases) {
        double s = -9, t = -9, cs = -9, ct = -9;
        EXPECT_EQ(velLinexLine::infinite_intersect(c.A, c.B, c.C, c.D, s, t), c.hit) << c.C << c.D;
        EXPECT_EQ(velLinexLine::intersect(c.A, c.B, c.C, c.D, cs, ct), c.hit);
        if (std::isnan(c.s)) continue;
        EXPECT_NEAR(s, c.s, 1e-9 * std::fmax(1, c.s)) << c.C << c.D;
        EXPECT_NEAR(t, c.t, 1e-9 * std::fmax(1, c.t)) << c.C << c.D;
        EXPECT_EQ(cs, std::clamp(s, 0.0, 1.0));
        EXPECT_EQ(ct, std::clamp(t, 0.0, 1.0));
    }
}

} // namespace velLinexLine_test
