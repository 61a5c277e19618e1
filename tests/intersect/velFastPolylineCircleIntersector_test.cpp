// The circle intersector against brute force: dense samples bracketing each exit, then bisection.

#include "../lists/listTestKit.h"
#include "../polyline/spans/testSpan.h"

#include "arcline/intersect/velFastPolylineCircleIntersector.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace velFastPolylineCircleIntersector_test {

namespace {

using listtest::Rng;

constexpr int samples_per_span = 1000;

double distance(const velPolylineListIter& it, double t, const velCircle& c) {
    const giPoint3 p = it.get_interpolated_pos(t);
    return std::hypot(p.x - c.centre.x, p.y - c.centre.y);
}

// The first parameter in [a, b] (walking up from a, or down from b) at which the polyline is outside the
// circle; -1 when it never is.
double brute_exit(const velPolylineListIter& it, double a, double b, const velCircle& c, bool forward) {
    const int steps = std::max(1, static_cast<int>(std::ceil((b - a) * samples_per_span)));
    auto at = [&](int j) {
        return std::clamp(forward ? a + (b - a) * j / steps : b - (b - a) * j / steps, a, b);
    };
    if (distance(it, at(0), c) > c.radius) return at(0);
    for (int j = 1; j <= steps; ++j) {
        if (distance(it, at(j), c) <= c.radius) continue;
        double in = at(j - 1), out = at(j);
        for (int k = 0; k < 60; ++k) {
            const double m = 0.5 * (in + out);
            (distance(it, m, c) > c.radius ? out : in) = m;
        }
        return out;
    }
    return -1.0;
}

// The first sample after t (in walking order, up to `limit`) at which the polyline is inside again.
double next_inside(const velPolylineListIter& it, double t, double limit, const velCircle& c, bool forward) {
    const double h = 1.0 / samples_per_span;
    for (double u = t + (forward ? h : -h); forward ? u <= limit : u >= limit; u += forward ? h : -h)
        if (distance(it, u, c) < c.radius * (1 - 1e-6)) return u;
    return -1.0;
}

TEST(velFastPolylineCircleIntersector, EveryExitAgainstBruteForce) {
    Rng rng(71);
    const velFastPolylineCircleIntersector fi;
    int exits = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const auto line = listtest::random_polyline(rng, rng.pick(2, 7), 0.0, trial % 3 == 0);
        velSingleAbsArcLineListIter it(*line);
        ++it;
        const double P = it.num_pos() - 1.0;
        // A circle about a point of the polyline, so that the walk starts inside.
        const double t0 = rng.uniform(0, P);
        const giPoint3 q = it.get_interpolated_pos(t0);
        const giPoint2 centre{q.x + rng.uniform(-1, 1), q.y + rng.uniform(-1, 1)};
        const velCircle circle(centre, rng.uniform(2, 40));
        for (const bool forward : {true, false}) {
            // Walk the whole polyline from t0, restarting inside after every exit: each exit must be found.
            double t = t0;
            while (t >= 0.0) {
                const velPolylineSection range =
                    forward ? velPolylineSection(it, t, P) : velPolylineSection(it, 0.0, t);
                velPolylinePosition exit;
                const int found =
                    fi.find_first_outside_circle_on_section(it, range, circle, forward ? 1 : 0, exit);
                const double want = brute_exit(it, forward ? t : 0.0, forward ? P : t, circle, forward);
                if (want < 0.0) {
                    EXPECT_EQ(found, 0);
                    EXPECT_EQ(exit.parameter(), forward ? P : 0.0);
                    break;
                }
                ASSERT_EQ(found, 1) << "trial " << trial << " from " << t;
                EXPECT_NEAR(exit.parameter(), want, 1e-9) << "trial " << trial << " from " << t;
                EXPECT_NEAR(distance(it, exit.parameter(), circle), circle.radius, 1e-9);
                ++exits;
                t = next_inside(it, want, forward ? P : 0.0, circle, forward);
            }
        }
    }
    EXPECT_GT(exits, 400);
}

TEST(velFastPolylineCircleIntersector, WalksRoundTheClosurePoint) {
    // The square (0,0) (10,0) (10,10) (0,10), closed or open; a circle of radius 5 about its first corner.
    velPolyArcLineDouble closed, open;
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})
        closed.add_pos(giPoint3(x, y, 0));
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 1}})
        open.add_pos(giPoint3(x, y, 0));
    velSingleAbsArcLineListIter c(closed), o(open);
    ++c;
    ++o;
    const velFastPolylineCircleIntersector fi;
    const velCircle corner(giPoint2(0, 0), 5);
    auto from = [&](const velPolylineListIter& it, double t, int dir) {
        return fi.find_first_outside_circle(it, velPolylinePosition(&it, t), corner, dir).parameter();
    };
    EXPECT_DOUBLE_EQ(from(c, 3.8, 1), 0.5);
    EXPECT_DOUBLE_EQ(from(c, 0.2, 0), 3.5);
    EXPECT_DOUBLE_EQ(from(c, 0.2, 1), 0.5);
    EXPECT_DOUBLE_EQ(from(o, 3.95, 1), 4.0);
    EXPECT_DOUBLE_EQ(from(o, 0.2, 0), 0.0);
    // Not inside: the position itself; everything inside: the walk ends where it began.
    const velPolylinePosition far(&c, 1.5);
    EXPECT_EQ(fi.find_first_outside_circle(c, far, corner, 1), far);
    EXPECT_DOUBLE_EQ(fi.find_first_outside_circle(c, far, velCircle(giPoint2(5, 5), 100), 1).parameter(),
                     1.5);

    // Sections widen to the rim at the ends that lie inside; ends that meet give the whole loop.
    auto sec = [&](double a, double b) { return velPolylineSection(c, a, b); };
    EXPECT_EQ(fi.expand_section_to_circle(c, velCircle(giPoint2(10, 0), 5), sec(1.2, 2.5)), sec(0.5, 2.5));
    EXPECT_EQ(fi.expand_section_to_circle(c, velCircle(giPoint2(10, 10), 5), sec(0.5, 2.2)), sec(0.5, 2.5));
    EXPECT_EQ(fi.expand_section_to_circle(c, corner, sec(1.2, 3.8)), sec(1.2, 0.5));
    EXPECT_EQ(fi.expand_section_to_circle(c, corner, sec(0.8, 3.2)), sec(0.8, 3.2));
    EXPECT_TRUE(fi.expand_section_to_circle(c, corner, sec(0.2, 3.8)).is_whole_polyline());
    EXPECT_EQ(fi.expand_section_to_circle(c, corner, sec(3.8, 0.2)), sec(3.5, 0.5));
    EXPECT_TRUE(
        fi.expand_section_to_circle(c, velCircle(giPoint2(5, 0), 3), sec(0.7, 0.3)).is_whole_polyline());
    EXPECT_EQ(fi.expand_section_to_circle(o, corner, velPolylineSection(o, 0.2, 3.95)),
              velPolylineSection(o, 0.0, 4.0));
}

TEST(velFastPolylineCircleIntersector, SpanDistances) {
    Rng rng(72);
    const velFastPolylineCircleIntersector fi;
    for (int trial = 0; trial < 200; ++trial) {
        const giPoint3 a{rng.uniform(-10, 10), rng.uniform(-10, 10), 0},
            e{rng.uniform(-10, 10), rng.uniform(-10, 10), 0};
        const double b = trial % 2 == 0 ? 0.0 : rng.uniform(-2, 2);
        const giPoint3 m((a.x + e.x) / 2 + (e.y - a.y) * b / 2, (a.y + e.y) / 2 - (e.x - a.x) * b / 2, 0);
        const tSpan span(b == 0.0 ? tSpan::line : tSpan::arc, a, e, m);
        velPolyArcLineDouble poly;
        poly.add_pos(a);
        if (b == 0.0) {
            poly.add_pos(e);
        } else {
            poly.add_arc(m, e);
        }
        velSingleAbsArcLineListIter it(poly);
        ++it;
        const giPoint2 p{rng.uniform(-15, 15), rng.uniform(-15, 15)};
        double best = 1e300;
        for (int j = 0; j <= 20000; ++j) {
            const giPoint3 s = it.get_interpolated_pos(j / 20000.0);
            best = std::min(best, std::hypot(s.x - p.x, s.y - p.y));
        }
        const double d = fi.smallest_distance(span, p);
        EXPECT_LE(d, best + 1e-12);
        EXPECT_GT(d, best - 1e-5);
        EXPECT_EQ(fi.span_is_outside_circle(span, velCircle(p, d * 0.999)), true);
        EXPECT_EQ(fi.span_is_outside_circle(span, velCircle(p, d * 1.001)), false);
    }
}

} // namespace

} // namespace velFastPolylineCircleIntersector_test
