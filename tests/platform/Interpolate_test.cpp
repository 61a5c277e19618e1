#include "arcline/platform/Interpolate.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

// Largest distance between an arc of radius R and its chord of angle phi: R (1 - cos(phi / 2)).
double sagitta(double R, double phi) {
    return 2 * R * std::pow(std::sin(phi / 4), 2);
}

// The fewest chords of equal angle whose sagitta R (1 - cos(phi / 2)) stays within tol.
int fewest_chords(double R, double sweep, double tol) {
    if (tol >= 2 * R) return 1;
    return std::max(1, static_cast<int>(std::ceil(sweep / (4 * std::asin(std::sqrt(tol / (2 * R)))))));
}

TEST(Interpolate, ChordCountIsTheFewestWithinTolerance) {
    polytest::Rng rng(21);
    for (int i = 0; i < 2000; ++i) {
        const double R = std::pow(10.0, rng.uniform(-3, 3)), sweep = rng.uniform(1e-4, 2 * pi);
        const double tol = std::pow(10.0, rng.uniform(-7, 0));
        const Interpolate in(tol, 0);
        const int n = in.chord_count(R, sweep);
        const int want = fewest_chords(R, sweep, tol);
        ASSERT_TRUE(n == want || n == want - 1) << R << ' ' << sweep << ' ' << tol;
        ASSERT_LE(sagitta(R, sweep / n), tol * (1 + 1e-6)); // within tolerance
        if (n > 1) {                                        // and no chord to spare
            ASSERT_GT(sagitta(R, sweep / (n - 1)), tol);
        }
        EXPECT_EQ(in.chord_count(-R, -sweep), n); // signs do not matter
    }
    const Interpolate in(0.01, 0);
    EXPECT_EQ(in.chord_count(1, 0), 1);
    EXPECT_EQ(in.chord_count(0.005, 2 * pi), 1); // the whole circle lies within the tolerance
    EXPECT_EQ(in.chord_count(1, pi), 12);
    EXPECT_EQ(Interpolate(0.01, 30).chord_count(1, pi), 30); // mode: the least count
    EXPECT_EQ(Interpolate(0.01, 5).chord_count(1, pi), 12);
    EXPECT_EQ(Interpolate(0.01, 5).chord_count(1, 0), 5);
    EXPECT_EQ(Interpolate(0.0, 0).chord_count(1, 1), Interpolate::max_chords);
    EXPECT_EQ(Interpolate(-1.0, 0).chord_count(1, 1), Interpolate::max_chords);
    EXPECT_EQ(Interpolate(1e-300, 0).chord_count(1e6, 2 * pi), Interpolate::max_chords);
}

// Chords run from S to E end to end, their ends on the arc at equal steps of angle.
TEST(Interpolate, ChordsWalkTheArcInEqualSteps) {
    polytest::Rng rng(22);
    for (int i = 0; i < 300; ++i) {
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
            if (!pts.empty()) {
                ASSERT_EQ(p, pts.back());
            }
            if (pts.empty()) pts.push_back(p);
            pts.push_back(q);
        }
        ASSERT_EQ(static_cast<int>(pts.size()), n + 1);
        EXPECT_EQ(in.read_line(p, q), 0);
        EXPECT_EQ(pts.front(), S);
        if (fraction == 1.0) {
            EXPECT_EQ(pts.back(), E);
        }
        const double eps = 1e-11 * (200 + k.R);
        for (int j = 0; j <= n; ++j) {
            ASSERT_LT(k.distance(pts[j]), eps);
            ASSERT_NEAR(k.angle(pts[j], a - 1e-6), a + sweep * fraction * j / n, eps / k.R);
        }
    }
}

TEST(Interpolate, DegenerateArcsGiveTheChord) {
    const giPoint3 S(0, 0, 0), E(4, 0, 0);
    for (const giPoint3& M : {giPoint3(2, 0, 0), giPoint3(1, 0, 0)}) { // on the chord
        Interpolate in(1e-6, 0);
        EXPECT_EQ(in.arc(S, M, E), 1);
        giPoint3 p, q;
        ASSERT_EQ(in.read_line(p, q), 1);
        EXPECT_EQ(p, S);
        EXPECT_EQ(q, E);
        EXPECT_EQ(in.read_line(p, q), 0);
    }
    Interpolate in(1e-6, 4);
    EXPECT_EQ(in.arc(S, {2, 0, 0}, E), 4);
    giPoint3 p, q;
    for (int j = 0; j < 4; ++j) {
        ASSERT_EQ(in.read_line(p, q), 1);
        EXPECT_EQ(p, giPoint3(j, 0, 0));
        EXPECT_EQ(q, giPoint3(j + 1, 0, 0));
    }
    EXPECT_EQ(in.arc(S, {1, 1, 0}, S), 4); // coincident ends: no sweep to measure
    EXPECT_EQ(in.tolerance(), 1e-6);
    EXPECT_EQ(in.mode(), 4);
}

} // namespace
