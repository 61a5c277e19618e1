#include "arcline/polyline/contour/torCurvePtr3Polyline.h"

#include "arcline/platform/torArc3.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/torPolyline3.h"
#include "arcline/platform/torTrimmedCurve3.h"

#include "../polylineTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <numbers>

namespace torCurvePtr3Polyline_test {

namespace {

constexpr double pi = std::numbers::pi;

torCurvePtr3 line(const giPoint3& a, const giPoint3& b) {
    return std::make_shared<torLine3>(a, b);
}
// The arc of the circle about c of radius r in the plane z = c.z, from angle a0 to a1.
torCurvePtr3 arc(const giPoint3& c, double r, double a0, double a1) {
    auto at = [&](double a) { return giPoint3(c.x + r * std::cos(a), c.y + r * std::sin(a), c.z); };
    return std::make_shared<torArc3>(at(a0), at(0.5 * (a0 + a1)), at(a1));
}

TEST(torCurvePtr3Polyline, AppendJoinsCurvesEndToEnd) {
    const torCurvePtr3 l = line({0, 0, 0}, {1, 0, 0});
    const torCurvePtr3 a = arc({1, 1, 0}, 1, -pi / 2, 0); // from (1, 0, 0) to (2, 1, 0)
    torCurvePtr3Polyline p;
    EXPECT_EQ(p.append(l, 0.01), 1);
    ASSERT_EQ(p.num_pos(), 2);
    EXPECT_EQ(p.append(a, 0.02), 1);
    const int n = p.num_pos();
    EXPECT_EQ(n, 2 + 4); // the arc's first point is the line's end; 4 chords of a quarter circle within 0.02
    EXPECT_EQ(p.get_curve(1), l);
    EXPECT_EQ(p.get_curve_param(1), 1.0);
    EXPECT_EQ(p.get_curve(2), a);
    EXPECT_EQ(p.get_pos(n - 1), a->end());
    EXPECT_EQ(p.tolerance(), 0.02);

    // A curve that starts elsewhere is refused; the tolerance rises all the same.
    EXPECT_EQ(p.append(line({5, 5, 5}, {6, 6, 6}), 0.5), 0);
    EXPECT_EQ(p.num_pos(), n);
    EXPECT_EQ(p.tolerance(), 0.5);
    // A start within 1e-5 of the end continues it.
    EXPECT_EQ(p.append(line({2, 1, 5e-6}, {2, 3, 0}), 0.0), 1);
    EXPECT_EQ(p.num_pos(), n + 1);

    p.clear();
    EXPECT_EQ(p.num_pos(), 0);
    EXPECT_EQ(p.tolerance(), 0.0);
}

// A position is dropped only when it repeats the last one, within 1e-5, on the same curve.
TEST(torCurvePtr3Polyline, AddPosDropsRepeatsOnTheSameCurve) {
    const torCurvePtr3 l = line({0, 0, 0}, {1, 0, 0});
    const torCurvePtr3 m = line({1, 0, 0}, {1, 1, 0});
    torCurvePtr3Polyline p;
    p.add_pos(1.0, l, 0.0);
    p.add_pos(giPoint3(1, 9e-6, 0), 1.0, l, 0.0);
    EXPECT_EQ(p.num_pos(), 1);
    p.add_pos(giPoint3(1, 2e-5, 0), 1.0, l, 0.0);
    EXPECT_EQ(p.num_pos(), 2);
    p.add_pos(0.0, m, 0.3);
    EXPECT_EQ(p.num_pos(), 3);
    EXPECT_EQ(p.tolerance(), 0.3);
    giPoint3 q;
    double t;
    torCurvePtr3 c;
    p.get_pos(2, q, t, c);
    EXPECT_TRUE(q == giPoint3(1, 0, 0) && t == 0.0 && c == m);
    // Points of no curve repeat as points of one (null) curve.
    p.add_pos(giPoint3(7, 7, 7), -DBL_MAX, nullptr, 0.0);
    p.add_pos(giPoint3(7, 7, 7), -DBL_MAX, nullptr, 0.0);
    EXPECT_EQ(p.num_pos(), 4);
}

// The unit square, closed: period 4.
TEST(torCurvePtr3Polyline, ClosedPolylinesFoldIntoOnePeriod) {
    const auto sq = std::make_shared<torPolyline3>(
        std::vector<giPoint3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    const torCurvePtr3Polyline p(sq, 0.1);
    ASSERT_EQ(p.num_pos(), 5);
    EXPECT_TRUE(p.closed());
    for (const auto& [x, want] : {std::pair{5.0, 1.0}, {-1.0, 3.0}, {4.5, 0.5}, {-0.25, 3.75}})
        EXPECT_EQ(p.primary_period(x), want) << x;

    EXPECT_EQ(p.evaluate(3.5), giPoint3(0, 0.5, 0));
    polytest::Rng rng(3);
    for (int k = 0; k < 50; ++k) {
        const double x = rng.uniform(0, 4);
        EXPECT_LT(p.evaluate(x + 4 * rng.pick(-3, 3)).distance(p.evaluate(x)), 1e-13);
    }
    EXPECT_EQ(p.tangent(3.5), giVector3(0, -1, 0));
    const giVector3 corner = p.average_tangent(4);
    EXPECT_NEAR(corner.x(), std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(corner.y(), -std::sqrt(0.5), 1e-15);

    // Open: parameters are clamped, periods are the identity.
    const torCurvePtr3Polyline open(line({0, 0, 0}, {2, 0, 0}), 0.1);
    EXPECT_EQ(open.primary_period(7), 7);
    EXPECT_EQ(open.put_in_range(-3.0), 0.0);
    EXPECT_EQ(open.evaluate(9.0), giPoint3(2, 0, 0));
    EXPECT_EQ(open.evaluate(0.25), giPoint3(0.5, 0, 0));
    EXPECT_EQ(open.average_tangent(1), giVector3(1, 0, 0));
}

// Distance from q to the chord that holds x; at an integer x, the distance to that position.
double off_chord(const torCurvePtr3Polyline& p, double x, const giPoint3& q) {
    const int j = static_cast<int>(std::floor(x));
    if (x == j) return q.distance(p.get_pos(j));
    const giPoint3 a = p.get_pos(j), b = p.get_pos(j + 1);
    const giVector3 ab = b - a;
    return q.distance(a.interpolate(b, std::clamp((q - a).dot(ab) / ab.length_squared(), 0.0, 1.0)));
}

// Random chains: pieces end on the positions or within tol of a chord; reversed they swap their ends.
TEST(torCurvePtr3Polyline, CurvePiecesEndWhereThePolylineDoes) {
    polytest::Rng rng(11);
    for (int n = 0; n < 40; ++n) {
        torCompCurve3 chain;
        giPoint3 at{rng.uniform(-50, 50), rng.uniform(-50, 50), 0};
        for (int k = 0; k < 4; ++k) {
            const double r = rng.uniform(0.5, 20), a = rng.uniform(-pi, pi), sweep = rng.uniform(-4, 4);
            const giPoint3 c(at.x - r * std::cos(a), at.y - r * std::sin(a), 0);
            chain.append(k % 2 ? line(at, {at.x + rng.uniform(-9, 9), at.y + rng.uniform(-9, 9), 0})
                               : arc(c, r, a, a + sweep));
            at = chain.get_curve(k)->end();
        }
        const double tol = rng.uniform(1e-4, 0.1);
        const torCurvePtr3Polyline p(chain, tol);
        const double last = p.num_pos() - 1.0;
        ASSERT_EQ(p.locate_jumps().size(), 3u); // one chord into each later curve

        const torCurvePtr3 whole = p.curve(0, last);
        const auto comp = std::dynamic_pointer_cast<torCompCurve3>(whole);
        ASSERT_TRUE(comp);
        EXPECT_EQ(comp->num_curves(), 4);
        const auto first = std::dynamic_pointer_cast<torTrimmedCurve3>(p.curve(0, 1));
        ASSERT_TRUE(first);
        EXPECT_EQ(first->base(), chain.get_curve(0));

        for (int k = 0; k < 20; ++k) {
            double x1 = rng.uniform(0, last), x2 = rng.uniform(0, last);
            if (k % 4 == 0) x1 = std::floor(x1);
            if (k % 4 == 1) x2 = std::ceil(x2);
            const torCurvePtr3 c = p.curve(x1, x2), back = p.curve(x2, x1);
            ASSERT_TRUE(c && back);
            const double eps = 1e-10;
            EXPECT_LE(off_chord(p, x1, c->start()), (x1 == std::floor(x1) ? 0 : tol) + eps);
            EXPECT_LE(off_chord(p, x2, c->end()), (x2 == std::floor(x2) ? 0 : tol) + eps);
            EXPECT_LE(back->start().distance(c->end()), eps);
            EXPECT_LE(back->end().distance(c->start()), eps);
        }
    }
}

// Gaps between curves are crossed straight; a curve read backwards comes back reversed.
TEST(torCurvePtr3Polyline, JumpsBetweenCurves) {
    const torCurvePtr3 l = line({0, 0, 0}, {1, 0, 0});
    const torCurvePtr3 a = arc({3, 0, 0}, 1, pi, 0); // from (2, 0, 0) over the top to (4, 0, 0)
    torCurvePtr3Polyline p;
    p.add_pos(0.0, l, 0.0);
    p.add_pos(1.0, l, 0.0);
    p.add_pos(0.5, a, 0.0); // a gap: straight
    p.add_pos(0.5, l, 0.0); // back onto l at its middle, in space far from it: straight again
    EXPECT_EQ(p.locate_jumps(), (std::vector<int>{1, 2}));
    torCurvePtr3 c;
    double t = 0;
    p.curve_param_at(1.5, c, t);
    EXPECT_FALSE(c);
    EXPECT_EQ(t, -DBL_MAX);
    const auto comp = std::dynamic_pointer_cast<torCompCurve3>(p.curve(0, 3));
    ASSERT_TRUE(comp);
    EXPECT_EQ(comp->num_curves(), 3);
    EXPECT_EQ(comp->get_curve(1)->end(), a->evaluate(0.5));

    torCurvePtr3Polyline q;
    q.add_pos(1.0, l, 0.0);
    q.add_pos(0.0, a, 0.0); // (2, 0, 0): a's start joins l's end only within the allowable jump
    q.add_pos(1.0, a, 0.0);
    EXPECT_EQ(q.curve(0, 2)->start(), giPoint3(1, 0, 0));
    q.set_tolerance(1.5); // now the gap of 1 is a join
    const auto on_a = std::dynamic_pointer_cast<torTrimmedCurve3>(q.curve(0, 2));
    ASSERT_TRUE(on_a);
    EXPECT_EQ(on_a->base(), a);
    q.curve_param_at(0.5, c, t);
    EXPECT_EQ(c, a);
    EXPECT_EQ(t, 0.0);

    torCurvePtr3Polyline r; // a's end, the same point on l, then a backwards
    r.add_pos(giPoint3(4, 0, 0), 0.0, l, 0.0);
    for (double s : {1.0, 0.75, 0.25})
        r.add_pos(s, a, 0.0);
    const auto rev = std::dynamic_pointer_cast<torTrimmedCurve3>(r.curve(0, 3));
    ASSERT_TRUE(rev);
    EXPECT_EQ(rev->base_start(), 1.0);
    EXPECT_EQ(rev->base_end(), 0.25);
}

} // namespace

} // namespace torCurvePtr3Polyline_test
