#include "arcline/platform/Interpolate.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace Interpolate_test {

namespace {

constexpr double pi = std::numbers::pi;

// Largest distance between an arc of radius R and its chord of angle phi: R (1 - cos(phi / 2)).
double sagitta(double R, double phi) {
    return 2 * R * std::pow(std::sin(phi / 4), 2);
}

TEST(Interpolate, ChordCountIsTheFewestWithinTolerance) {
    polytest::Rng rng(21);
    for (int i = 0; i < 500; ++i) {
        const double R = std::pow(10.0, rng.uniform(-3, 3)), sweep = rng.uniform(1e-4, 2 * pi);
        const double tol = std::pow(10.0, rng.uniform(-7, 0));
        const Interpolate in(tol, 0);
        const int n = in.chord_count(R, sweep);
        // The fewest chords of equal angle whose sagitta stays within tol (a hair below an integer may round
        // down), and no chord to spare.
        const double phi = 4 * std::asin(std::sqrt(std::min(1.0, tol / (2 * R)))); // largest chord angle
        const int want = std::max(1, static_cast<int>(std::ceil(sweep / phi)));
        ASSERT_TRUE(n == want || n == want - 1) << R << ' ' << sweep << ' ' << tol;
        ASSERT_LE(sagitta(R, sweep / n), tol * (1 + 1e-6));
        ASSERT_TRUE(n == 1 || sagitta(R, sweep / (n - 1)) > tol);
        EXPECT_EQ(in.chord_count(-R, -sweep), n); // signs do not matter
    }
    const Interpolate in(0.01, 0);
    EXPECT_EQ(in.chord_count(1, 0), 1);
    EXPECT_EQ(in.chord_count(0.005, 2 * pi), 1); // the whole circle lies within the tolerance
    EXPECT_EQ(in.chord_count(1, pi), 12);
    EXPECT_EQ(Interpolate(0.01, 30).chord_count(1, pi), 30); // mode: the least count
    EXPECT_EQ(Interpolate(0.01, 5).chord_count(1, pi), 12);
    EXPECT_EQ(Interpolate(0.0, 0).chord_count(1, 1), Interpolate::max_chords);
    EXPECT_EQ(Interpolate(-1.0, 0).chord_count(1, 1), Interpolate::max_chords);
    EXPECT_EQ(Interpolate(1e-300, 0).chord_count(1e6, 2 * pi), Interpolate::max_chords);
}

// Chords run from S to E end to end, their ends on the arc at equal steps of angle, each within the
// tolerance of the arc.
TEST(Interpolate, ChordsWalkTheArcInEqualSteps) {
    polytest::Rng rng(22);
    for (int i = 0; i < 150; ++i) {
        const polytest::Circle k = polytest::random_circle(rng, 0.01, 100, 100);
        const double a = rng.uniform(-pi, pi), sweep = rng.uniform(0.01, 1.95 * pi);
        const double tol = std::pow(10.0, rng.uniform(-5, -1)),
                     fraction = i % 3 == 0 ? rng.uniform(0.1, 1) : 1.0;
        const giPoint3 S = k.at(a), M = k.at(a + sweep / 2), E = k.at(a + sweep);
        Interpolate in(tol, i % 5);
        const int n = in.arc(S, M, E, fraction);
        EXPECT_EQ(n, std::max(i % 5, in.chord_count(k.R, sweep * fraction)));
        std::vector<giPoint3> pts;
        giPoint3 p, q;
        while (in.read_line(p, q)) {
            if (pts.empty()) pts.push_back(p);
            ASSERT_EQ(p, pts.back());
            pts.push_back(q);
        }
        ASSERT_EQ(static_cast<int>(pts.size()), n + 1);
        EXPECT_EQ(pts.front(), S);
        if (fraction == 1.0) {
            EXPECT_EQ(pts.back(), E);
        }
        const double eps = 1e-11 * (200 + k.R);
        for (int j = 0; j <= n; ++j) {
            ASSERT_LT(k.distance(pts[j]), eps);
            ASSERT_NEAR(k.angle(pts[j], a - 1e-6), a + sweep * fraction * j / n, eps / k.R);
            if (j > 0) {
                ASSERT_LE(k.distance(pts[j - 1].interpolate(pts[j], 0.5)), tol * (1 + 1e-6) + eps);
            }
        }
    }
}

TEST(Interpolate, DegenerateArcsGiveTheChord) {
    const giPoint3 S(0, 0, 0), E(4, 0, 0);
    Interpolate in(1e-6, 0);
    EXPECT_EQ(in.arc(S, {1, 0, 0}, E), 1); // mid point on the chord
    giPoint3 p, q;
    ASSERT_EQ(in.read_line(p, q), 1);
    EXPECT_EQ(p, S);
    EXPECT_EQ(q, E);
    EXPECT_EQ(in.read_line(p, q), 0);
    Interpolate four(1e-6, 4);
    EXPECT_EQ(four.arc(S, {2, 0, 0}, E), 4);
    for (int j = 0; j < 4; ++j) {
        ASSERT_EQ(four.read_line(p, q), 1);
        EXPECT_EQ(p, giPoint3(j, 0, 0));
        EXPECT_EQ(q, giPoint3(j + 1, 0, 0));
    }
    EXPECT_EQ(four.arc(S, {1, 1, 0}, S), 4); // coincident ends: no sweep to measure
}

} // namespace

} // namespace Interpolate_test
