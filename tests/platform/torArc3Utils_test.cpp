#include "arcline/platform/torArc3Utils.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace torArc3Utils_test {

namespace {

constexpr double pi = std::numbers::pi;

// Random arcs in space: the parameter runs from S (0) through M (0.5) to E (1), on the circle, onwards, and
// the derivatives are those of that motion.
TEST(torArc3Utils, EvaluateAndDerivativesFollowTheArc) {
    polytest::Rng rng(31);
    for (int i = 0; i < 150; ++i) {
        const polytest::Circle k = polytest::random_circle(rng, 0.05, 50, 100);
        const double a = rng.uniform(-pi, pi), sweep = rng.uniform(0.02, 1.95 * pi);
        const giPoint3 S = k.at(a), M = k.at(a + sweep / 2), E = k.at(a + sweep);
        const double eps = 1e-11 * (200 + k.R);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 0).distance(S), eps);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 0.5).distance(M), eps);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 1).distance(E), eps);
        double last = a - 1e-6;
        for (int j = 0; j < 8; ++j) {
            const double t = j / 8.0 + rng.uniform(0, 0.125);
            const giPoint3 p = torArc3Utils::evaluate(S, M, E, t);
            ASSERT_LT(k.distance(p), eps);
            const double angle = k.angle(p, a - 1e-6);
            ASSERT_GT(angle, last);
            last = angle;

            // Central differences with a step that keeps truncation and rounding both small.
            const double h = 1e-5;
            auto d1 = [&](double s) { return torArc3Utils::derivative(S, M, E, 1, s); };
            const giVector3 v = d1(t), acc = torArc3Utils::derivative(S, M, E, 2, t);
            const giVector3 fd1 =
                (torArc3Utils::evaluate(S, M, E, t + h) - torArc3Utils::evaluate(S, M, E, t - h)) / (2 * h);
            EXPECT_LT((v - fd1).length(), 1e-6 * v.length() + 1e-13 * (200 + k.R) / h);
            EXPECT_LT((acc - (d1(t + h) - d1(t - h)) / (2 * h)).length(), 1e-5 * (acc.length() + v.length()));
            EXPECT_EQ(torArc3Utils::derivative(S, M, E, 0, t), p.as_vector());
        }
        EXPECT_EQ(torArc3Utils::derivative(S, M, E, 3, 0.3), giVector3(0, 0, 0));
        EXPECT_EQ(torArc3Utils::derivative(S, M, E, -1, 0.3), giVector3(0, 0, 0));
    }
}

TEST(torArc3Utils, DegenerateArcs) {
    const giPoint3 S(1, 2, 3), E(5, 2, 3), M(4, 2, 3); // M on the chord: the chord itself
    EXPECT_EQ(torArc3Utils::evaluate(S, M, E, 0.25), giPoint3(2, 2, 3));
    EXPECT_EQ(torArc3Utils::derivative(S, M, E, 1, 0.7), E - S);
    EXPECT_EQ(torArc3Utils::derivative(S, M, E, 2, 0.7), giVector3(0, 0, 0));
    EXPECT_EQ(torArc3Utils::evaluate(S, {2, 7, 3}, S, 0.4), S); // coincident ends
    // A half circle of radius 2 in the plane y = 2 (bulge 1): t = 0.75 is 2 atan(1 / 2) past the top.
    EXPECT_NEAR(torArc3Utils::evaluate(S, {3, 2, 5}, E, 0.75).distance({4.6, 2, 4.2}), 0, 1e-15);
}

} // namespace

} // namespace torArc3Utils_test
