#include "arcline/polyline/spans/velCirbul.h"

#include "arcline/polyline/spans/velArc2Utils.h"

#include "arcReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

namespace velCirbul_test {

namespace {

using arcref::Arc;
using arcref::Pt;

Arc shifted(Arc a, double dx, double dy) {
    for (Pt* p : {&a.p0, &a.p1})
        (*p)[0] += dx, (*p)[1] += dy;
    return a;
}
constexpr double pi = std::numbers::pi, eps = 2.220446049250313e-16;
constexpr int max_n = velCirbul::max_intersections;

// The point or vector an arc routine of the form (P0, P1, b, t, out) gives.
template <void (*F)(const double*, const double*, double, double, double*)>
Pt at(const Arc& a, double t) {
    Pt p;
    F(a.p0.data(), a.p1.data(), a.b, t, p.data());
    return p;
}
constexpr auto pos = &at<velCirbul::cbpapo>, tangent = &at<velCirbul::cbpata>,
               eval = &at<velCirbul::arc_evaluate_position>,
               eval_tangent = &at<velCirbul::arc_evaluate_tangent>;
double param(const Arc& a, const Pt& q) {
    return velCirbul::arc_evaluate_parameter(a.p0.data(), a.p1.data(), a.b, q.data());
}

#define EXPECT_PT_NEAR(p, qx, qy, tol)                                                                       \
    do {                                                                                                     \
        EXPECT_NEAR((p)[0], (qx), (tol));                                                                    \
        EXPECT_NEAR((p)[1], (qy), (tol));                                                                    \
    } while (0)

struct Hits {
    int count = -99, coincident = -99;
    double ta[max_n], tb[max_n], pts[max_n][2];
    Pt pt(int k) const { return {pts[k][0], pts[k][1]}; }
};
Hits intersect(const Arc& a, const Arc& b, double t0a = 0, double t1a = 1) {
    Hits h;
    velCirbul::cbincb_g(a.p0.data(), a.p1.data(), a.b, t0a, t1a, b.p0.data(), b.p1.data(), b.b, 0, 1, 1e-10,
                        h.count, h.ta, h.tb, h.pts, h.coincident);
    return h;
}

double bulge_of_radius(double x0, double y0, double x1, double y1, double R) {
    const double P0[2] = {x0, y0}, P1[2] = {x1, y1};
    double b = -9;
    velCirbul::cbrabu(P0, P1, R, b);
    return b;
}

// The unit-radius half circle below the chord (0,0)-(2,0), anticlockwise through (1,-1).
const Arc lower_half{{0, 0}, {2, 0}, 1.0};

} // namespace

TEST(velCirbul, ParametersOutsideTheArc) {
    const Arc& a = lower_half;
    EXPECT_EQ(pos(a, -3.0), a.p0); // cbpapo clamps
    EXPECT_EQ(pos(a, 7.0), a.p1);
    EXPECT_PT_NEAR(tangent(a, -1.0), 0.0, -1.0, 1e-15);
    double p[2];
    for (const auto& [t, held] : {std::pair{0.9, 0.6}, {0.0, 0.2}}) { // held to [0.2, 0.6]
        velCirbul::cbpapo_g(a.p0.data(), a.p1.data(), a.b, 0.2, 0.6, t, p);
        EXPECT_PT_NEAR(p, pos(a, held)[0], pos(a, held)[1], 1e-15);
    }
    const double Z[2] = {5, 5};
    velCirbul::cbpata_g(Z, Z, 0.5, 0.0, 1.0, 0.3, p); // zero chord: zero vector, not NaN
    EXPECT_PT_NEAR(p, 0.0, 0.0, 0.0);

    // Far parameters reach the point opposite the mid point; a straight span runs off to infinity.
    for (const double t : {1e100, -1e100})
        EXPECT_PT_NEAR(eval(a, t), 1.0, 1.0, 1e-15);
    EXPECT_PT_NEAR(eval(a, 1e8), 1.0, 1.0, 1e-7); // the limit, approached
    EXPECT_PT_NEAR(eval_tangent(a, 1e100), -1.0, 0.0, 1e-15);
    EXPECT_PT_NEAR(eval_tangent(a, -1e100), 1.0, 0.0, 1e-15);
    const Arc flat{{1, 2}, {4, 2}, 0.0}, slant{{1, 2}, {-1, 5}, 0.0};
    EXPECT_PT_NEAR(eval(flat, 1e100), 1e20, 2.0, 0.0);
    EXPECT_PT_NEAR(eval(flat, -1e100), -1e20, 2.0, 0.0);
    EXPECT_PT_NEAR(eval(slant, 2e99), -1e20, 1e20, 0.0);
    EXPECT_PT_NEAR(eval_tangent(slant, 1e100), -2 / std::sqrt(13.0), 3 / std::sqrt(13.0), 1e-15); // the chord

    // The parameter of a point off the circle is that of the circle point seen from the far point.
    EXPECT_EQ(param(a, {1, 1}), 1e100);
    EXPECT_EQ(param(a, {0.5, 1}), -1e100);
    EXPECT_EQ(param({a.p0, a.p0, 1.0}, {1, -1}), 0.0); // zero chord
    const Arc b{{3, 1}, {-2, 4}, 0.7};
    const Pt on = pos(b, 0.3), opp = eval(b, 1e100);
    for (double k : {0.4, 1.7})
        EXPECT_NEAR(param(b, {opp[0] + k * (on[0] - opp[0]), opp[1] + k * (on[1] - opp[1])}), 0.3, 1e-12);
}

// Random arcs from b = 1e-12 to 1e6 against the reference built from the turning angle.
TEST(velCirbul, RandomArcsFollowTheTurningAngle) {
    arcref::ArcGen gen(13);
    for (int i = 0; i < 1500; ++i) {
        const Arc a = gen.next(1e-12, 1e6);
        const double t = gen.uniform(0.0, 1.0), tol = arcref::tol_x(a), L = arcref::chord(a);
        SCOPED_TRACE(testing::Message() << "b " << a.b << " t " << t << " L " << L);
        const Pt ref = arcref::point_at_param(a, t), p = pos(a, t);
        Pt pg;
        velCirbul::cbpapo_g(a.p0.data(), a.p1.data(), a.b, 0.0, 1.0, t, pg.data());
        ASSERT_LE(arcref::dist(p, ref), tol);
        ASSERT_LE(arcref::dist(pg, ref), tol);
        ASSERT_LE(arcref::dist(eval(a, t), ref), tol);
        // Reversed (ends swapped, bulge negated) it is the same arc with t running backwards (1 - t rounded).
        ASSERT_LE(arcref::dist(pos({a.p1, a.p0, -a.b}, 1 - t), ref), tol + 4e-16 * arcref::speed(a, t));

        // The tangent turns from the chord by half the sweep between the mid point and t.
        const double ang = std::atan2(a.p1[1] - a.p0[1], a.p1[0] - a.p0[0]) +
                           2 * (2 * arcref::fraction_of_param(a.b, t) - 1) * std::atan(a.b);
        const Pt v1 = tangent(a, t), v2 = eval_tangent(a, t);
        ASSERT_NEAR(v1[0], std::cos(ang), 1e-9);
        ASSERT_NEAR(v1[1], std::sin(ang), 1e-9);
        ASSERT_LE(arcref::dist(v1, v2), 2e-9);

        // p's rounding is magnified through the far point, t's through the speed.
        const double back = param(a, p);
        const double scale = arcref::extent(a), gain = arcref::far_gain(a.b, t);
        ASSERT_LE(arcref::dist(pos(a, back), p),
                  tol + 16 * eps * arcref::max_coord(p) * gain + 4 * eps * arcref::speed(a, t));
        if (std::fabs(a.b) < 1e3) {
            ASSERT_NEAR(back, t, 1e-12 + 16 * eps * scale * gain / L);
        }
        double m[2], b = 0;
        velCirbul::cbbump(a.p0.data(), a.p1.data(), a.b, m);
        velCirbul::cbmpbu(a.p0.data(), a.p1.data(), m, b);
        ASSERT_NEAR(b, a.b, 1e-12 * std::fabs(a.b) + 8 * eps * scale / L);
        // Small bulges, where the segment area is taken from its series: the closed form cancels away here.
        if (std::fabs(a.b) >= 1e-3) continue;
        const double r = arcref::radius(a), th = 4 * std::atan(a.b), t2 = th * th;
        const double segment = th * t2 / 6 * (1 - t2 / 20 * (1 - t2 / 42 * (1 - t2 / 72)));
        double area;
        velCirbul::cbbuar(a.p0.data(), a.p1.data(), a.b, area);
        ASSERT_NEAR(area, 0.5 * r * r * segment, 1e-12 * std::fabs(area));
    }
}

TEST(velCirbul, TangentParametersAndSubArcs) {
    const Arc& a = lower_half;
    const struct {
        double b, ex, ey;
        int n;
        double t0, t1;
    } cases[] = {{1.0, 0, 1, 2, 1.0, 0.0}, // upwards at the end, downwards at the start: aligned one first
                 {1.0, 0, -1, 2, 0.0, 1.0},
                 {1.0, 1, 0, 1, 0.5, -1.0},
                 {0.0, 0, 1, 0, -1.0, -1.0}}; // straight: none
    for (const auto& c : cases) {
        int n = -1;
        double t[2];
        velCirbul::cbtapa_g(a.p0.data(), a.p1.data(), c.b, c.ex, c.ey, n, t);
        ASSERT_EQ(n, c.n);
        EXPECT_NEAR(t[0], c.t0, 1e-15);
        EXPECT_NEAR(t[1], c.t1, 1e-15);
    }
    const double b34 = std::tan(3 * pi / 8), t_half = 0.5 * (1 + 1 / (b34 * b34));
    const struct {
        double b, t0, t1, want, tol;
    } subs[] = {{0.0, 0.2, 0.7, 0.0, 0.0},
                {0.3, 0.0, 1.0, 0.3, 0.0},
                // A half circle cut out of a three-quarter circle: the nearly opposite tangents branch.
                {b34, 0.0, t_half, 1.0, 1e-6},
                {-b34, 1 - t_half, 1.0, -1.0, 1e-6}};
    for (const auto& s : subs) {
        double b = -9;
        velCirbul::cbsebu(a.p0.data(), a.p1.data(), s.b, s.t0, s.t1, b);
        EXPECT_NEAR(b, s.want, s.tol) << s.b << " [" << s.t0 << ", " << s.t1 << "]";
    }

    // The tangent sweeps [-2q, 2q] about the chord: count the directions +-e in it; also segment areas and
    // sub-arc bulges.
    arcref::ArcGen gen(15);
    for (int i = 0; i < 800; ++i) {
        const Arc s = gen.next(1e-3, 1e3, 1e-2, 1e2, 1e3);
        const double e = gen.uniform(-pi, pi), ex = std::cos(e), ey = std::sin(e), q = std::atan(s.b);
        const double chord_ang = std::atan2(s.p1[1] - s.p0[1], s.p1[0] - s.p0[0]);
        SCOPED_TRACE(testing::Message() << "b " << s.b << " e " << e);
        int expected = 0, n = -1;
        bool near_end = false;
        for (int k = -4; k <= 4; ++k) {
            const double rel = (e + k * pi - chord_ang) / (2 * q); // = 2f - 1 of the tangent
            near_end |= std::fabs(std::fabs(rel) - 1) < 1e-9;
            expected += std::fabs(rel) <= 1;
        }
        double t[2];
        velCirbul::cbtapa_g(s.p0.data(), s.p1.data(), s.b, ex, ey, n, t);
        if (!near_end) {
            ASSERT_EQ(n, expected);
        }
        for (int j = 0; j < n && !near_end; ++j) {
            const Pt v = tangent(s, t[j]);
            EXPECT_NEAR(v[0] * ey - v[1] * ex, 0.0, 1e-8);
            if (j == 0 && n == 2) {
                EXPECT_GT(v[0] * ex + v[1] * ey, 0.0);
            }
        }

        const double r = arcref::radius(s), th = 4 * q;
        double area, b;
        velCirbul::cbbuar(s.p0.data(), s.p1.data(), s.b, area);
        ASSERT_NEAR(area, 0.5 * r * r * (th - std::sin(th)), 1e-9 * std::fabs(area));
        double t0 = gen.uniform(0, 1), t1 = gen.uniform(0, 1);
        if (t1 < t0) std::swap(t0, t1);
        const double ref = arcref::sub_bulge(s.b, t0, t1);
        velCirbul::cbsebu(s.p0.data(), s.p1.data(), s.b, t0, t1, b);
        if (std::fabs(std::fabs(ref) - 1) > 1e-6) { // at a half circle the branch is ill-conditioned
            ASSERT_NEAR(b, ref, 1e-8 * std::fmax(1.0, std::fabs(ref))) << t0 << " " << t1;
        }
    }
}

TEST(velCirbul, DistanceToArc) {
    const Arc& a = lower_half;
    double d = -1, t = -1, near[2];
    const double centre[2] = {1, 0}, mid[2] = {1, -1};
    velCirbul::cbdspt_g(a.p0.data(), a.p1.data(), a.b, 0, 1, centre, 1e-10, d, t, near);
    EXPECT_NEAR(d, 1.0, 1e-14);
    // The nearest point (the mid point itself) lies within tol of the range end: taken at the end.
    velCirbul::cbdspt_g(a.p0.data(), a.p1.data(), a.b, 0, 0.5 + 1e-9, mid, 1e-8, d, t, near);
    EXPECT_EQ(t, 0.5 + 1e-9);
    EXPECT_NEAR(d, 4e-9, 1e-12);
    velCirbul::cbdspt_g(a.p0.data(), a.p1.data(), a.b, 0, 0.5 + 1e-9, mid, 1e-10, d, t, near);
    EXPECT_NEAR(t, 0.5, 1e-15);

    // Against dense samples: never farther than the nearest, never nearer than it less half the largest gap.
    arcref::ArcGen gen(17);
    for (int i = 0; i < 150; ++i) {
        const Arc s = gen.next(1e-3, 1e3, 1e-2, 1e2, 1e3);
        double t0 = gen.uniform(0, 1), t1 = gen.uniform(0, 1);
        if (t1 < t0) std::swap(t0, t1);
        const Pt p = arcref::point_at_fraction(s, gen.uniform(-0.5, 1.5));
        const Pt q{p[0] + gen.uniform(-5, 5), p[1] + gen.uniform(-5, 5)};
        const double f0 = arcref::fraction_of_param(s.b, t0), f1 = arcref::fraction_of_param(s.b, t1);
        double best = 1e300, gap = 0;
        for (int k = 0; k <= 400; ++k) {
            const Pt x = arcref::point_at_fraction(s, f0 + (f1 - f0) * k / 400);
            best = std::min(best, arcref::dist(x, q));
            if (k > 0)
                gap = std::max(gap,
                               arcref::dist(x, arcref::point_at_fraction(s, f0 + (f1 - f0) * (k - 1) / 400)));
        }
        const double tol = arcref::tol_x(s) + 1e-12;
        velCirbul::cbdspt_g(s.p0.data(), s.p1.data(), s.b, t0, t1, q.data(), 1e-10, d, t, near);
        ASSERT_LE(d, best + tol) << "b " << s.b;
        ASSERT_GE(d, best - 0.51 * gap - tol) << "b " << s.b;
        ASSERT_TRUE(t >= t0 && t <= t1);
        EXPECT_NEAR(arcref::dist({near[0], near[1]}, q), d, tol);
        EXPECT_LE(arcref::dist({near[0], near[1]}, pos(s, t)), tol);
    }
}

TEST(velCirbul, IntersectionsOfKnownSpans) {
    Hits h;
    const Arc right_half{{0, -1}, {0, 1}, 1.0}, across{{-2, 0.5}, {2, 0.5}, 0}; // unit circle, through (1, 0)
    EXPECT_EQ(intersect(right_half, across, 0.0, 0.6).count, 0); // the crossing lies beyond 0.6

    // Circles touching at (0, -1), outside and inside, and within tol of touching: they touch once.
    const Arc unit_low{{-1, 0}, {1, 0}, 1.0};
    const struct {
        Arc other;
        double tol;
    } touching[] = {{{{1, -2}, {-1, -2}, 1.0}, 1e-9},
                    {{{-0.5, -0.5}, {0.5, -0.5}, 1.0}, 1e-9},
                    {{{1, -2 - 5e-11}, {-1, -2 - 5e-11}, 1.0}, 1e-9},  // apart by 5e-11
                    {{{1, -2 + 5e-11}, {-1, -2 + 5e-11}, 1.0}, 1e-5}}; // overlapping by 5e-11
    for (const auto& [other, tol] : touching) {
        h = intersect(unit_low, other);
        ASSERT_EQ(h.count, 1) << other.p0[1];
        EXPECT_EQ(h.coincident, 0);
        EXPECT_LE(arcref::dist(h.pt(0), {0, -1}), tol);
        EXPECT_NEAR(h.ta[0], 0.5, 1e-5);
    }
    EXPECT_EQ(intersect(unit_low, {{1, -2.1}, {-1, -2.1}, 1.0}).count, 0);
    EXPECT_EQ(intersect(unit_low, {{1, -2 - 2e-10}, {-1, -2 - 2e-10}, 1.0}).count, 0);

    // A crossing beyond a span's end is none, unless within tol of the end: then it is the end itself.
    EXPECT_EQ(intersect({{0, 0}, {1, 0}, 0}, {{1 + 1e-6, -1}, {1 + 1e-6, 1}, 0}).count, 0);
    EXPECT_EQ(intersect(unit_low, {{1 + 1e-6, -1}, {1 + 1e-6, 1}, 0}).count, 0);
    h = intersect({{0, 0}, {1, 0}, 0}, {{1 + 1e-11, -1}, {1 + 1e-11, 1}, 0});
    ASSERT_EQ(h.count, 1);
    EXPECT_EQ(h.ta[0], 1.0);
    EXPECT_PT_NEAR(h.pts[0], 1.0, 0.0, 0.0);

    // Zero chords are points.
    h = intersect({{1, 0}, {1, 0}, 0}, {{0, 0}, {2, 0}, 0});
    ASSERT_EQ(h.count, 1);
    EXPECT_NEAR(h.tb[0], 0.5, 1e-15);
    EXPECT_EQ(intersect({{0, 0}, {2, 0}, 0}, {{1, 1e-3}, {1, 1e-3}, 0}).count, 0);
    EXPECT_EQ(intersect({{1, 1}, {1, 1}, 0}, {{1, 1}, {1, 1}, 0.5}).count, 1);

    // liinli: a crossing, a T-junction, an overlap, collinear apart, parallel.
    const struct {
        Pt C, D;
        int n;
        double s, t;
    } segs[] = {{{1, -1}, {1, 1}, 1, 0.5, 0.5},
                {{1, 0}, {1, 1}, 1, 0.5, 0.0},
                {{1, 0}, {3, 0}, -1, -1, -1},
                {{3, 0}, {5, 0}, 0, -1, -1},
                {{0, 1}, {2, 1}, 0, -1, -1}};
    const double A[2] = {0, 0}, B[2] = {2, 0};
    for (const auto& g : segs) {
        int n = -9;
        double s = -1, t = -1;
        velCirbul::liinli(A, B, g.C.data(), g.D.data(), n, s, t);
        EXPECT_EQ(n, g.n) << g.C[0] << " " << g.C[1];
        EXPECT_NEAR(s, g.s, 1e-15);
        EXPECT_NEAR(t, g.t, 1e-15);
    }
    int cnt = -9;
    double ta[max_n], tb[max_n];
    const Arc p{{-1, 0}, {1, 0}, 1.0}, q{{-2, -0.5}, {2, -0.5}, 0.0};
    velCirbul::arc_arc_intersection(p.p0.data(), p.p1.data(), p.b, q.p0.data(), q.p1.data(), q.b, cnt, ta,
                                    tb);
    ASSERT_EQ(cnt, 2);
    EXPECT_LT(ta[0], ta[1]);
    for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(pos(p, ta[k])[1], -0.5, 1e-12);
        EXPECT_LE(arcref::dist(pos(p, ta[k]), pos(q, tb[k])), 1e-12);
    }
}

TEST(velCirbul, QuadraticRoots) {
    const struct {
        double a, b, c;
        int n;
        double r0, r1, tol = 0; // relative
    } cases[] = {
        {0, 0, 0, 2147483647, 0, 0}, // every x
        {0, 0, 1, -1, 0, 0},         // no x
        {1, 0, 1, 0, -9, -9},
        {-1, 0, -1, 0, -9, -9},
        {0, 2, -4, 1, 2, 2},
        {1, 3, 0, 2, -3, 0},
        {-1, 3, 0, 2, 0, 3},
        {1, -2, 1, 2, 1, 1},
        {1, -2, 1.1, 0, -9, -9},
        {1, -2, 1 + 1e-7, 2, 1, 1, 1e-12}, // slightly negative discriminant: a double root
        {1, -1e8, 1, 2, 1e-8, 1e8, 1e-20}, // the small root needs the reciprocal form
        // k (x^2 - 2x + 1 + d): the slack is 1e-5 of the squared linear coefficient, so a double root up to
        // d = 1e-5 at every scale; below k = 1e-6 the floor 1e-15 decides (4 d k^2 = 1e-15 at d = 2.5e-4).
        {1e-2, -2e-2, 1e-2 * (1 + 0.9e-5), 2, 1, 1, 2e-5},
        {1e-2, -2e-2, 1e-2 * (1 + 1.1e-5), 0, -9, -9},
        {1.0, -2.0, 1 + 0.9e-5, 2, 1, 1, 2e-5},
        {1.0, -2.0, 1 + 1.1e-5, 0, -9, -9},
        {1e6, -2e6, 1e6 * (1 + 0.9e-5), 2, 1, 1, 2e-5},
        {1e6, -2e6, 1e6 * (1 + 1.1e-5), 0, -9, -9},
        {1e-6, -2e-6, 1e-6 * (1 + 1.1e-5), 2, 1, 1, 3e-5},
        {1e-6, -2e-6, 1e-6 * (1 + 2.4e-4), 2, 1, 1, 5e-4},
        {1e-6, -2e-6, 1e-6 * (1 + 2.6e-4), 0, -9, -9},
    };
    for (const auto& c : cases) {
        int n = -9;
        double x[2] = {-9, -9};
        velCirbul::roots_of_quadratic(c.a, c.b, c.c, n, x);
        EXPECT_EQ(n, c.n) << c.a << " " << c.b << " " << c.c;
        if (n == 0) continue;
        EXPECT_NEAR(x[0], c.r0, c.tol * std::fabs(c.r0)) << c.a << " " << c.b << " " << c.c;
        EXPECT_NEAR(x[1], c.r1, c.tol * std::fabs(c.r1)) << c.a << " " << c.b << " " << c.c;
    }

    arcref::ArcGen gen(20);
    for (int i = 0; i < 500; ++i) {
        double r0 = gen.uniform(-1e3, 1e3) * std::pow(10.0, gen.uniform(-6, 0)), r1 = gen.uniform(-1e3, 1e3);
        if (r1 < r0) std::swap(r0, r1);
        if (r1 - r0 < 1e-3 * std::fabs(r1)) continue;
        const double size = gen.uniform(0.1, 10), a = gen.coin() ? size : -size;
        int n;
        double x[2];
        velCirbul::roots_of_quadratic(a, -a * (r0 + r1), a * r0 * r1, n, x);
        ASSERT_EQ(n, 2);
        EXPECT_NEAR(x[0], r0, 1e-10 * std::fabs(r0) + 1e-14);
        EXPECT_NEAR(x[1], r1, 1e-10 * std::fabs(r1) + 1e-14);
    }
}

// Every span routine, of velCirbul and velArc2Utils, stays finite on degenerate and extreme arcs.
TEST(velCirbul, DegenerateAndExtremeArcsStayFinite) {
    std::vector<double> out;
    for (double len : {0.0, 1e-3, 1e3}) {
        for (double b : {0.0, 1e-12, -1e-12, 1e6, -1e6, 1.0}) {
            const Arc a{{1e4, -3e3}, {1e4 + 0.6 * len, -3e3 + 0.8 * len}, b};
            const double *P0 = a.p0.data(), *P1 = a.p1.data();
            const double q[2] = {1e4 + 3, -3e3 - 2};
            double v[2], w[2], r, x, d, t, t2[2], ta[max_n], tb[max_n], pts[max_n][2];
            int n, m, c;
            out.clear();
            velCirbul::cbbump(P0, P1, b, v);
            velCirbul::cbmpbu(P0, P1, v, x);
            out.insert(out.end(), {v[0], v[1], x});
            velCirbul::cbbucr(P0, P1, b, v, r);
            velCirbul::cbbuar(P0, P1, b, x);
            out.insert(out.end(), {v[0], v[1], r, x});
            for (double tt : {0.0, 0.3, 0.5, 1.0, -5.0, 1e100}) {
                velCirbul::cbpapo(P0, P1, b, tt, v);
                velCirbul::cbpata(P0, P1, b, tt, w);
                out.insert(out.end(), {v[0], v[1], w[0], w[1]});
                velCirbul::arc_evaluate_position(P0, P1, b, tt, v);
                velCirbul::arc_evaluate_tangent(P0, P1, b, tt, w);
                out.insert(out.end(),
                           {v[0], v[1], w[0], w[1], velCirbul::arc_evaluate_parameter(P0, P1, b, v)});
            }
            velCirbul::cbtapa_g(P0, P1, b, 0.6, 0.8, n, t2);
            velCirbul::cbsebu(P0, P1, b, 0.2, 0.7, x);
            velCirbul::cbdspt_g(P0, P1, b, 0, 1, q, 1e-10, d, t, v);
            out.insert(out.end(), {t2[0], t2[1], x, d, t, v[0], v[1]});
            const double L0[2] = {q[0] - 50, q[1] - 40}, L1[2] = {q[0] + 50, q[1] + 40};
            velCirbul::cbincb_g(P0, P1, b, 0, 1, L0, L1, 0.0, 0, 1, 1e-10, m, ta, tb, pts, c);
            for (int k = 0; k < std::min(std::max(m, 0), max_n); ++k)
                out.insert(out.end(), {ta[k], tb[k], pts[k][0], pts[k][1]});
            // The plane arc utilities on the same arcs.
            const giPoint2 G0{P0[0], P0[1]}, G1{P1[0], P1[1]};
            giBox2 box;
            velArc2Utils::bounding_box(G0, G1, b, box);
            const double len_b = velArc2Utils::arc_length(len, std::fabs(b));
            out.insert(out.end(), {velArc2Utils::arc_angle(b).radians(), len_b,
                                   velArc2Utils::parameter_at_distance(G0, G1, b, 0.3 * len_b),
                                   velArc2Utils::trimmed_bulge(0.2, 0.7, b),
                                   velArc2Utils::trimmed_mid_parameter(0.2, 0.7, b),
                                   velArc2Utils::reparameterise(0.2, 0.7, b, 0.3),
                                   velArc2Utils::sub_arc_parameter(0.2, 0.7, b, 0.3), box.diagonal()});
            for (double o : out)
                ASSERT_TRUE(std::isfinite(o)) << "len " << len << " b " << b;
            EXPECT_TRUE(box.contains(G0) && box.contains(G1));
            EXPECT_EQ(len_b == 0.0, len == 0.0);
        }
    }
}

TEST(velCirbul, RadiusToBulgeIsZeroWhenNoArcOfThatRadiusSpansTheChord) {
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

TEST(velCirbul, TangentCirclesTouchOnce) {
    arcref::ArcGen gen(19);
    for (int i = 0; i < 150; ++i) {
        const Pt c1{gen.uniform(-100, 100), gen.uniform(-100, 100)};
        const double r1 = gen.log_uniform(0.1, 10), r2 = gen.log_uniform(0.1, 10), u = gen.uniform(-pi, pi);
        const bool inside = gen.coin() && r2 < 0.9 * r1;
        const double dc = inside ? r1 - r2 : r1 + r2;
        const Pt c2{c1[0] + dc * std::cos(u), c1[1] + dc * std::sin(u)};
        // Arcs about each centre, through the touching point at angle u (from c1) in their interior.
        auto arc_about = [&](const Pt& c, double r, double mid_ang) {
            const double s = gen.uniform(0.3, 1.2), e = gen.uniform(0.3, 1.2), a0 = mid_ang - s,
                         a1 = mid_ang + e;
            const Arc a{{c[0] + r * std::cos(a0), c[1] + r * std::sin(a0)},
                        {c[0] + r * std::cos(a1), c[1] + r * std::sin(a1)},
                        std::tan((s + e) / 4)};
            return gen.coin() ? Arc{a.p1, a.p0, -a.b} : a;
        };
        const Hits h = intersect(arc_about(c1, r1, u), arc_about(c2, r2, inside ? u : u + pi));
        ASSERT_EQ(h.count, 1) << "case " << i << (inside ? " inside" : " outside");
        EXPECT_EQ(h.coincident, 0);
        EXPECT_LE(arcref::dist(h.pt(0), {c1[0] + r1 * std::cos(u), c1[1] + r1 * std::sin(u)}), 1e-5);
    }
}

TEST(velCirbul, IntersectionsOfCoincidentSpansAreTheSharedStretches) {
    struct Expect {
        double ta, tb, x, y;
    };
    auto check = [](const Arc& a, const Arc& b, const std::vector<Expect>& want, double shift) {
        const Hits h = intersect(shifted(a, shift, -0.7 * shift), shifted(b, shift, -0.7 * shift));
        ASSERT_EQ(h.count, static_cast<int>(want.size())) << "shift " << shift;
        EXPECT_EQ(h.coincident, 1);
        for (int i = 0; i < h.count; ++i) {
            EXPECT_NEAR(h.ta[i], want[i].ta, 1e-9) << i;
            EXPECT_NEAR(h.tb[i], want[i].tb, 1e-9) << i;
            EXPECT_PT_NEAR(h.pts[i], want[i].x + shift, want[i].y - 0.7 * shift, 1e-9);
        }
    };
    const Arc upper{{1, 0}, {-1, 0}, 1.0}, left{{0, 1}, {0, -1}, 1.0}, left_reversed{{0, -1}, {0, 1}, -1.0};
    const double b34 = std::tan(3 * pi / 8);
    const double f13 = arcref::param_of_fraction(b34, 1.0 / 3), f23 = arcref::param_of_fraction(b34, 2.0 / 3);
    for (double shift : {0.0, 1e4}) {
        check(upper, left, {{0.5, 0, 0, 1}, {1, 0.5, -1, 0}}, shift);
        check(upper, left_reversed, {{0.5, 1, 0, 1}, {1, 0.5, -1, 0}}, shift);
        check({{0, 0}, {4, 0}, 0}, {{1, 0}, {6, 0}, 0}, {{0.25, 0, 1, 0}, {1, 0.6, 4, 0}}, shift);
        check(upper, upper, {{0, 0, 1, 0}, {1, 1, -1, 0}}, shift); // one span twice: its own ends, once each
        // Two three-quarter circles share two stretches: four ends, ordered along the first.
        check({{1, 0}, {0, -1}, b34}, {{-1, 0}, {0, 1}, b34},
              {{0, f23, 1, 0}, {f13, 1, 0, 1}, {f23, 0, -1, 0}, {1, f13, 0, -1}}, shift);
    }
}

TEST(velCirbul, IntersectionPointsLieOnBothSpans) {
    arcref::ArcGen gen(18);
    int found = 0;
    for (int i = 0; i < 600; ++i) {
        // Arc b is built to pass through a chosen point of arc a, so most pairs cross.
        const Arc a = gen.next(1e-3, 10, 1e-2, 1e2);
        const double ta = gen.uniform(0.05, 0.95), tb = gen.uniform(0.05, 0.95);
        const Pt x = arcref::point_at_param(a, ta);
        Arc b = gen.next(1e-3, 10, 1e-2, 1e2);
        if (gen.coin()) b.b = 0;
        const Pt y = arcref::point_at_param(b, tb);
        b = shifted(b, x[0] - y[0], x[1] - y[1]);
        const double tol = 1e-9 * std::fmax(1.0, std::fmax(arcref::extent(a), arcref::extent(b)) / 1e4);

        const Hits h = intersect(a, b);
        ASSERT_TRUE(h.count >= 0 && h.count <= 2);
        for (int k = 0; k < h.count; ++k) {
            double d, t, near[2];
            velCirbul::cbdspt_g(a.p0.data(), a.p1.data(), a.b, 0, 1, h.pts[k], 1e-10, d, t, near);
            ASSERT_LE(d, tol) << "on a, case " << i;
            velCirbul::cbdspt_g(b.p0.data(), b.p1.data(), b.b, 0, 1, h.pts[k], 1e-10, d, t, near);
            ASSERT_LE(d, tol) << "on b, case " << i;
            ASSERT_LE(arcref::dist(pos(a, h.ta[k]), h.pt(k)), tol) << "case " << i;
            ASSERT_LE(arcref::dist(pos(b, h.tb[k]), h.pt(k)), tol) << "case " << i;
            if (k > 0) {
                EXPECT_LE(h.ta[k - 1], h.ta[k]);
            }
        }
        // A clean crossing (tangents at least 0.1 apart) must be found, and moved 1e4 away it moves along.
        const Pt va = tangent(a, ta), vb = tangent(b, tb);
        if (std::fabs(va[0] * vb[1] - va[1] * vb[0]) < 0.1) continue;
        ++found;
        const Hits g = intersect(shifted(a, 1e4, 3e3), shifted(b, 1e4, 3e3));
        bool hit = false, moved = false;
        for (int k = 0; k < h.count; ++k)
            hit |= arcref::dist(h.pt(k), x) <= tol;
        for (int k = 0; k < g.count; ++k)
            moved |= arcref::dist(g.pt(k), {x[0] + 1e4, x[1] + 3e3}) <= 2 * tol;
        ASSERT_TRUE(hit && moved) << "case " << i << " count " << h.count;
    }
    EXPECT_GT(found, 400);
}

// The random tests below take the general cases; these are the degenerate ones and the limits.
TEST(velCirbul, BulgeFormsOfDegenerateArcs) {
    const double P0[2] = {0, 0}, P1[2] = {2, 0}, Q[2] = {3, 4}, M[2] = {1, -1}, chord_mid[2] = {1, 0};
    double c[2], r = -1, b = -1;
    const struct {
        const double *p0, *p1;
        double b, cx, cy, r;
    } circles[] = {{P0, P1, 0.5, 1, 0.75, 1.25},
                   {P0, P1, -0.5, 1, -0.75, -1.25}, // clockwise: negative radius, centre below
                   {P0, P1, 0.0, 1, 0, 0},          // straight: no circle
                   {Q, Q, 1.0, 3, 4, 0}};           // zero chord
    for (const auto& k : circles) {
        velCirbul::cbbucr(k.p0, k.p1, k.b, c, r);
        EXPECT_PT_NEAR(c, k.cx, k.cy, 1e-15);
        EXPECT_NEAR(r, k.r, 1e-15);
    }
    velCirbul::cbbuar(P0, P1, 0.0, r);
    EXPECT_EQ(r, 0.0);
    for (const auto& [p0, p1, mid] : {std::tuple{P0, P1, chord_mid}, {Q, Q, M}}) {
        velCirbul::cbmpbu(p0, p1, mid, b);
        EXPECT_EQ(b, 0.0);
    }
}

} // namespace velCirbul_test
