// The exact predicates against integer arithmetic, a few ulps off a line or a circle.

#include "arcline/polyline/spans/velExactPredicates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velExactPredicates_test {

int sign(long long v) {
    return (v > 0) - (v < 0);
}

namespace {

constexpr double ulp_half = 0x1p-53;   // the spacing of doubles in [0.5, 1)
__extension__ typedef __int128 int128; // GCC's and Clang's 128-bit integers

} // namespace

TEST(velExactPredicates, InCircleOfPointsNextToTheUnitCircle) {
    // The unit circle through (1, 0), (0, 1), (-1, 0), anticlockwise. With x = X / 2^53 and y = Y / 2^53 the
    // point is inside exactly when 2^106 > X^2 + Y^2, which 128-bit integers decide.
    const giPoint2 a{1, 0}, b{0, 1}, c{-1, 0};
    int inside = 0, outside = 0;
    for (int i = -40; i <= 40; ++i) {
        for (int j = -40; j <= 40; ++j) {
            const giPoint2 p{0.6 + i * ulp_half, 0.8 + j * ulp_half};
            const int128 X = static_cast<int128>(std::ldexp(p.x, 53)),
                         Y = static_cast<int128>(std::ldexp(p.y, 53));
            const int128 d = (static_cast<int128>(1) << 106) - X * X - Y * Y;
            const int want = (d > 0) - (d < 0);
            ASSERT_EQ(velExactPredicates::in_circle(a, b, c, p), want) << i << " " << j;
            EXPECT_EQ(velExactPredicates::in_circle(c, b, a, p), -want); // clockwise: the other sign
            EXPECT_EQ(velExactPredicates::in_circle(b, c, a, p), want);
            inside += want > 0;
            outside += want < 0;
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_GT(outside, 100);
    EXPECT_EQ(velExactPredicates::in_circle(a, b, c, {0, -1}), 0);
    EXPECT_EQ(velExactPredicates::in_circle(a, b, c, {0, 0}), 1);
    EXPECT_EQ(velExactPredicates::in_circle(a, b, c, {1e3, 1e-3}), -1);
    // Far from the origin the differences are no longer exact; the sign still is.
    const giPoint2 o{1e8, -3e8};
    auto moved = [&](const giPoint2& q) { return giPoint2{q.x + o.x, q.y + o.y}; };
    EXPECT_EQ(velExactPredicates::in_circle(moved({0, 0}), moved({4, 0}), moved({0, 4}), moved({4, 4})), 0);
    EXPECT_EQ(velExactPredicates::in_circle(moved({0, 0}), moved({4, 0}), moved({0, 4}),
                                            {o.x + 4, std::nextafter(o.y + 4, o.y)}),
              1);
}

TEST(velExactPredicates, OrientationOfPointsNextToALine) {
    // The line y = x: (0.5 + i u, 0.5 + j u) lies left of it exactly when j > i.
    const giPoint2 a{12, 12}, b{24, 24};
    int wrong_naive = 0;
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; ++j) {
            const giPoint2 p{0.5 + i * ulp_half, 0.5 + j * ulp_half};
            ASSERT_EQ(velExactPredicates::orientation(a, b, p), sign(j - i)) << i << " " << j;
            EXPECT_EQ(velExactPredicates::orientation(b, a, p), -sign(j - i));
            EXPECT_EQ(velExactPredicates::orientation(p, a, b), sign(j - i)); // cyclic
            const double naive = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
            wrong_naive += (naive > 0) - (naive < 0) != sign(j - i);
        }
    }
    EXPECT_GT(wrong_naive, 1000); // the cases are hard ones
    EXPECT_EQ(velExactPredicates::orientation({0, 0}, {1, 1}, {3, 3}), 0);
    EXPECT_EQ(velExactPredicates::orientation({0, 0}, {1, 0}, {0.5, 1e-300}), 1);
}

} // namespace velExactPredicates_test
