#include "arcline/polyline/spans/velArc2Utils.h"

#include "arcline/polyline/spans/velCirbul.h"

#include "arcReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velArc2Utils_test {

namespace {

using arcref::Arc;
using arcref::Pt;
constexpr double pi = std::numbers::pi;

giPoint2 gp(const Pt& p) {
    return {p[0], p[1]};
}
Pt pos(const Arc& a, double t) {
    Pt p;
    velCirbul::cbpapo(a.p0.data(), a.p1.data(), a.b, t, p.data());
    return p;
}
double dist_to(const Arc& a, const Pt& p) {
    double d, t, near[2];
    velCirbul::cbdspt_g(a.p0.data(), a.p1.data(), a.b, 0, 1, p.data(), 1e-10, d, t, near);
    return d;
}

} // namespace

TEST(velArc2Utils, SubArcs) {
    EXPECT_EQ(velArc2Utils::trimmed_mid_parameter(0.2, 0.4, 1e-11), 0.5 * (0.2 + 0.4));
    // A sub-arc that is one point has that point as its mid point.
    EXPECT_EQ(velArc2Utils::trimmed_mid_parameter(0.3, 0.3, 0.7), 0.3);
    // Cases returned unchanged: almost straight, the whole arc, the ends, a tiny sub-arc.
    EXPECT_EQ(velArc2Utils::reparameterise(0.2, 0.6, 0.0009, 0.3), 0.3);
    EXPECT_EQ(velArc2Utils::reparameterise(0.0, 1.0, 2.0, 0.3), 0.3);
    EXPECT_EQ(velArc2Utils::reparameterise(0.2, 0.6, 2.0, 1.0), 1.0);
    EXPECT_EQ(velArc2Utils::reparameterise(0.2, 0.6, 2.0, 0.0), 0.0);
    EXPECT_EQ(velArc2Utils::reparameterise(0.2, 0.2 + 5e-6, 2.0, 0.3), 0.3);

    arcref::ArcGen gen(24);
    for (int i = 0; i < 600; ++i) {
        const double size = gen.log_uniform(1e-3, 1e2), b = gen.coin() ? size : -size,
                     t = gen.uniform(0.01, 0.99);
        double t0 = gen.uniform(0, 1), t1 = gen.uniform(0, 1);
        if (t1 < t0) std::swap(t0, t1);
        if (t1 - t0 < 1e-3) continue;
        const double f0 = arcref::fraction_of_param(b, t0), f1 = arcref::fraction_of_param(b, t1);
        const double bs = arcref::sub_bulge(b, t0, t1), mid = arcref::param_of_fraction(b, 0.5 * (f0 + f1));
        ASSERT_NEAR(velArc2Utils::trimmed_bulge(t1, t0, b), -bs, 1e-8 * std::fmax(1, std::fabs(bs)));
        ASSERT_NEAR(velArc2Utils::trimmed_mid_parameter(t0, t1, b), mid, 1e-9) << b << " " << t0 << " " << t1;
        ASSERT_NEAR(velArc2Utils::trimmed_mid_parameter(t1, t0, b), mid, 1e-9) << b << " " << t0 << " " << t1;
        // The sub-arc's own parameter t is the fraction fraction_of_param(bs, t) of the sub-arc's sweep.
        const double s = arcref::param_of_fraction(b, f0 + (f1 - f0) * arcref::fraction_of_param(bs, t));
        ASSERT_NEAR(velArc2Utils::sub_arc_parameter(t0, t1, b, t), std::clamp(s, 0.0, 1.0), 1e-8)
            << b << " " << t;
        ASSERT_NEAR(velArc2Utils::reparameterise(t0, t1, b, t), std::clamp((s - t0) / (t1 - t0), 0.0, 1.0),
                    1e-8 / (t1 - t0))
            << b << " " << t;
    }
}

TEST(velArc2Utils, MidPointAndBoxOfAnArc) {
    const giPoint2 S{1, 0}, E{0, 1}, O{0, 0}, W{-1, 0};
    const double r = std::sqrt(0.5);
    const struct {
        giPoint2 got;
        double x, y;
    } mids[] = {
        {velArc2Utils::anticlockwise_arc_midpoint(S, E, O), r, r},
        {velArc2Utils::clockwise_arc_midpoint(S, E, O), -r, -r},
        {velArc2Utils::arc_midpoint(S, E, O, 1), -r, -r},
        {velArc2Utils::anticlockwise_arc_midpoint(S, W, O), 0, 1}, // half circles: centre on the chord
        {velArc2Utils::clockwise_arc_midpoint(S, W, O), 0, -1},
        {velArc2Utils::arc_midpoint(S, S, O, 0), 1, 0}};
    for (const auto& m : mids) {
        EXPECT_NEAR(m.got.x, m.x, 1e-15);
        EXPECT_NEAR(m.got.y, m.y, 1e-15);
    }
    giBox2 box;

    // The mid point about the arc's own centre in its own sense; the box is exact and holds the arc.
    arcref::ArcGen gen(25);
    for (int i = 0; i < 500; ++i) {
        const Arc a = gen.next(1e-3, 1e3);
        const Pt c = arcref::centre(a), m = arcref::point_at_fraction(a, 0.5);
        const giPoint2 got = velArc2Utils::arc_midpoint(gp(a.p0), gp(a.p1), gp(c), a.b < 0);
        ASSERT_LE(arcref::dist({got.x, got.y}, m), arcref::tol_centre(a)) << "b " << a.b;
        const double tol = arcref::tol_x(a);
        velArc2Utils::bounding_box(gp(a.p0), gp(a.p1), a.b, box);
        const arcref::Box want = arcref::exact_box(a);
        for (int k = 0; k < 2; ++k) {
            ASSERT_NEAR(box.min()[k], want.lo[k], tol) << "b " << a.b;
            ASSERT_NEAR(box.max()[k], want.hi[k], tol) << "b " << a.b;
        }
        for (int k = 0; k <= 100; ++k)
            ASSERT_TRUE(box.contains(gp(arcref::point_at_fraction(a, k / 100.0)), tol));
    }
}

TEST(velArc2Utils, ProximityOfPointsAndArcs) {
    const giPoint2 L0{-1, 0}, L1{1, 0}; // the lower unit half circle
    EXPECT_EQ(velArc2Utils::arc_closer_to_point_than(L0, L1, 1.0, {0, -3}, 2.1), 1);
    EXPECT_EQ(velArc2Utils::arc_closer_to_point_than(L0, L1, 1.0, {0, -3}, 1.9), 0);
    EXPECT_EQ(velArc2Utils::arc_closer_to_point_than(L0, L1, 1.0, {0, 3}, 3.1),
              0); // the upper half is not there

    const struct {
        giPoint2 A0, A1;
        double ba;
        giPoint2 B0, B1;
        double bb, d;
        int closer, touching;
    } pairs[] = {
        {L0, L1, 1.0, {-2, -0.5}, {2, -0.5}, 0.0, 0.1, 1, 1},
        {L0, L1, 1.0, {1, -2}, {-1, -2}, 1.0, 0.1, 1, 1}, // tangent
        {L0, L1, 1.0, {1, -2 - 1e-4}, {-1, -2 - 1e-4}, 1.0, 1e-3, 1, 0},
    };
    for (const auto& p : pairs) {
        int touching = -1;
        EXPECT_EQ(velArc2Utils::arcs_closer_than(p.A0, p.A1, p.ba, p.B0, p.B1, p.bb, p.d, touching), p.closer)
            << p.B0 << " " << p.d;
        EXPECT_EQ(touching, p.touching) << p.B0 << " " << p.d;
    }

    // The part of the lower half circle within 2.5 of the line y = -3: below y = -0.5.
    double t0 = -5, t1 = -5;
    EXPECT_EQ(velArc2Utils::portion_of_arcs_closer_than(L0, L1, 1.0, {-5, -3}, {5, -3}, 0.0, 2.5, t0, t1), 1);
    EXPECT_NEAR(t0, 0.5 * (1 - std::tan(pi / 6)), 1e-9);
    EXPECT_NEAR(t1, 0.5 * (1 + std::tan(pi / 6)), 1e-9);
    EXPECT_EQ(
        velArc2Utils::portion_of_arcs_closer_than({0, 0}, {10, 0}, 0.0, {4, 1}, {6, 1}, 0.0, 1.5, t0, t1), 1);
    EXPECT_NEAR(t0, 0.4 - std::sqrt(1.25) / 10, 1e-9);
    EXPECT_NEAR(t1, 0.6 + std::sqrt(1.25) / 10, 1e-9);
    EXPECT_EQ(
        velArc2Utils::portion_of_arcs_closer_than({0, 0}, {10, 0}, 0.0, {4, 1}, {6, 1}, 0.0, 0.9, t0, t1), 0);
    EXPECT_EQ(t0, -1.0);
    EXPECT_EQ(t1, -1.0);

    // Common points with tangents along each other; the lower half runs up at (1, 0), to +x at (0, -1).
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {1, 0}, {1, 5}, 0.0, 1e-9), 1);
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {1, 0}, {1, -5}, 0.0, 1e-9), 0);
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {1, 0}, {2, 0}, 0.0, 1e-9), 0);
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {-1, -2}, {1, -2}, -1.0, 1e-9), 1);
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {1, -2}, {-1, -2}, 1.0, 1e-9), 0);
    EXPECT_EQ(velArc2Utils::share_tangent_direction(L0, L1, 1.0, {5, 5}, {6, 5}, 0.0, 1e-9), 0);
}

TEST(velArc2Utils, ProximityAgainstSampledDistances) {
    arcref::ArcGen gen(27);
    for (int i = 0; i < 80; ++i) {
        const Arc a = gen.next(1e-2, 3, 0.5, 5, 2), b = gen.next(1e-2, 3, 0.5, 5, 2);
        const double d = gen.uniform(0.05, 2);
        double least = 1e300, t0 = -5, t1 = -5;
        int touching = -1;
        const int any = velArc2Utils::portion_of_arcs_closer_than(gp(a.p0), gp(a.p1), a.b, gp(b.p0), gp(b.p1),
                                                                  b.b, d, t0, t1);
        for (int k = 0; k <= 400; ++k) {
            const double t = arcref::param_of_fraction(a.b, k / 400.0),
                         e = dist_to(b, arcref::point_at_param(a, t));
            least = std::min(least, e);
            if (e < d - 1e-6) {
                ASSERT_TRUE(any == 1 && t >= t0 - 1e-9 && t <= t1 + 1e-9) << "case " << i;
            }
        }
        if (any) {
            EXPECT_LE(dist_to(b, pos(a, t0)), d + 1e-6) << "case " << i;
            EXPECT_LE(dist_to(b, pos(a, t1)), d + 1e-6) << "case " << i;
        }
        if (std::fabs(least - d) < 0.05) continue; // within sampling error of the threshold
        EXPECT_EQ(
            velArc2Utils::arcs_closer_than(gp(a.p0), gp(a.p1), a.b, gp(b.p0), gp(b.p1), b.b, d, touching),
            least < d ? 1 : 0)
            << "case " << i;
        EXPECT_EQ(any, least < d ? 1 : 0) << "case " << i;
    }
}

} // namespace velArc2Utils_test
