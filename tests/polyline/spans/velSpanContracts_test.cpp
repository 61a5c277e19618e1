// Contracts of the span routines at their boundaries: the radius-to-bulge conversion at a chord just
// longer or shorter than the diameter, the documented slack of the quadratic solver, and the distance to a
// degenerate segment.

#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/spans/velLinexLine.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <tuple>

namespace velSpanContracts_test {

namespace {

double bulge_of_radius(double x0, double y0, double x1, double y1, double R) {
    const double P0[2] = {x0, y0}, P1[2] = {x1, y1};
    double b = -9;
    velCirbul::cbrabu(P0, P1, R, b);
    return b;
}

} // namespace

TEST(velSpanContracts, RadiusToBulgeIsZeroWhenNoArcOfThatRadiusSpansTheChord) {
    // Chord 2: half chord 1. A radius a hair below 1 has no arc; exactly 1 is the half circle; just above
    // it the bulge falls off as 1 - sqrt(2 (R - 1)).
    for (const double s : {1.0, -1.0}) {
        EXPECT_EQ(bulge_of_radius(0, 0, 2, 0, s / (1 + 4e-6)), 0.0); // chord = 2 r (1 + 4e-6)
        EXPECT_EQ(bulge_of_radius(0, 0, 2, 0, s * (1 - 1e-12)), 0.0);
        EXPECT_EQ(bulge_of_radius(0, 0, 2, 0, s * std::nextafter(1.0, 0.0)), 0.0);
        EXPECT_NEAR(bulge_of_radius(0, 0, 2, 0, s), s, 1e-7);
        EXPECT_NEAR(bulge_of_radius(0, 0, 2, 0, s * (1 + 1e-8)), s * std::tan(std::asin(1 / (1 + 1e-8)) / 2),
                    1e-9);
    }
    // b = tan(asin(h / R) / 2) for the minor arc, signed like R; the same moved far and turned.
    std::mt19937 rng(14);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int i = 0; i < 2000; ++i) {
        const double h = 0.01 + 10 * u(rng), ratio = u(rng), R = (i % 2 ? -1 : 1) * h / ratio;
        const double a = 6.3 * u(rng), ox = 1e4 * (u(rng) - 0.5), oy = 1e4 * (u(rng) - 0.5);
        const double b = bulge_of_radius(ox, oy, ox + 2 * h * std::cos(a), oy + 2 * h * std::sin(a), R);
        EXPECT_NEAR(b, std::copysign(std::tan(std::asin(ratio) / 2), R), 1e-6) << h << " " << R;
        // A radius that is too short by a relative 1e-9 gives no arc at all.
        EXPECT_EQ(bulge_of_radius(ox, oy, ox + 2 * h * std::cos(a), oy + 2 * h * std::sin(a), h * (1 - 1e-9)),
                  0.0);
    }
}

TEST(velSpanContracts, QuadraticSlackIsRelativeToTheSquaredLinearCoefficient) {
    // x^2 - 2x + (1 + d), scaled by k: the discriminant is -4 d k^2 against the slack 1e-5 * 4 k^2, so a
    // double root (near 1) up to d = 1e-5 and none beyond, at every scale where that slack is above the
    // floor of 1e-15; below it (k = 1e-6) the floor decides: 4 d k^2 = 1e-15 at d = 2.5e-4.
    const std::tuple<double, double, int> cases[] = {{1e-2, 0.9e-5, 2}, {1e-2, 1.1e-5, 0}, {1.0, 0.9e-5, 2},
                                                     {1.0, 1.1e-5, 0},  {1e6, 0.9e-5, 2},  {1e6, 1.1e-5, 0},
                                                     {1e-6, 1.1e-5, 2}, {1e-6, 2.4e-4, 2}, {1e-6, 2.6e-4, 0}};
    for (const auto& [k, d, count] : cases) {
        int n = -9;
        double x[2] = {-9, -9};
        velCirbul::roots_of_quadratic(k, -2 * k, k * (1 + d), n, x);
        EXPECT_EQ(n, count) << k << " " << d;
        if (n == 2) {
            EXPECT_NEAR(x[0], 1.0, 2 * d);
            EXPECT_NEAR(x[1], 1.0, 2 * d);
        }
    }
}

TEST(velSpanContracts, DistanceToADegenerateSegmentIsTheLargestDouble) {
    // A = B: the foot's parameter is 0 / 0, not a number, and the distance is DBL_MAX, even at A itself.
    for (const giPoint2& P : {giPoint2{3, 4}, giPoint2{1, 1}}) {
        EXPECT_EQ(velLinexLine::distance_to_line_squared(P, {1, 1}, {1, 1}), DBL_MAX);
        EXPECT_EQ(velLinexLine::distance_to_line_squared(P.xyz(2), {1, 1, 2}, {1, 1, 2}), DBL_MAX);
    }
}

} // namespace velSpanContracts_test
