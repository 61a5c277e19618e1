#include "arcline/polyline/spans/velArc3Utils.h"

#include "arcline/platform/giWorkplane3.h"
#include "arcline/polyline/spans/velArc2Utils.h"

#include "arcReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using arcref::Arc;
using arcref::Pt;
constexpr double pi = std::numbers::pi;

#define EXPECT_P3_NEAR(p, qx, qy, qz, tol)                                                                   \
    do {                                                                                                     \
        EXPECT_NEAR((p).x, (qx), (tol));                                                                     \
        EXPECT_NEAR((p).y, (qy), (tol));                                                                     \
        EXPECT_NEAR((p).z, (qz), (tol));                                                                     \
    } while (0)

// A random bulge arc laid into a random plane of space, or a horizontal one (its points then share their z).
struct Arc3 {
    Arc a;
    giWorkplane3 wp;
    giPoint3 S, M, E;
    giPoint3 lift(const Pt& p) const { return wp.to_world(giPoint3(p[0], p[1], 0)); }
};
Arc3 random_arc3(arcref::ArcGen& gen, double bmin, double bmax, bool flat = false) {
    Arc3 r;
    r.a = gen.next(bmin, bmax, 1e-3, 1e3, 1.0);
    auto rnd = [&] {
        return giVector3(gen.uniform(-1, 1), gen.uniform(-1, 1), flat ? 0.0 : gen.uniform(-1, 1));
    };
    r.wp.become(giPoint3(gen.uniform(-1e4, 1e4), gen.uniform(-1e4, 1e4), gen.uniform(-1e4, 1e4)), rnd(),
                rnd());
    r.S = r.lift(r.a.p0);
    r.E = r.lift(r.a.p1);
    r.M = r.lift(arcref::point_at_fraction(r.a, 0.5));
    return r;
}
// About 500 units in the last place of coordinates up to 2e4 (plus `scale`).
double tol3(double scale) {
    return 1e-13 * (2e4 + scale);
}

} // namespace

TEST(velArc3Utils, BulgeSignIsDecidedFromAbove) {
    const giPoint3 S{0, 0, 0}, E{2, 0, 0};
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, 1, 0}), -1.0);
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, -1, 0}), 1.0);
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, 0, 1}), 1.0); // vertical planes: always positive
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, 0, -1}), 1.0);
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, -0.5, 7}),
                     std::sqrt(49.25)); // the sagitta is measured in space
    EXPECT_EQ(velArc3Utils::bulge(S, S, {1, 1, 0}), 0.0);
    EXPECT_EQ(velArc3Utils::bulge(S, E, {1, 0, 0}), 0.0);

    arcref::ArcGen gen(31);
    for (int i = 0; i < 3000; ++i) {
        const Arc3 r = random_arc3(gen, 1e-12, 1e6);
        const double b = velArc3Utils::bulge(r.S, r.E, r.M), h = arcref::chord(r.a) / 2;
        // Rounding of the points moves the half chord by about tol3(0) and the sagitta by tol3(sagitta).
        const double bb = std::fabs(r.a.b);
        ASSERT_NEAR(std::fabs(b), bb, bb * (1e-12 + tol3(0) / h) + tol3(h * bb) / h);
        const double up = r.wp.zaxis().z();
        if (std::fabs(up) > 0.1 && std::fabs(r.a.b) > 1e-6) {
            ASSERT_EQ(b > 0, (r.a.b > 0) == (up > 0));
        }
    }
}

TEST(velArc3Utils, ArcLength) {
    EXPECT_NEAR(velArc3Utils::arc_length({-1, 0, 0}, {0, 1, 0}, {1, 0, 0}), pi, 1e-15);
    EXPECT_NEAR(velArc3Utils::arc_length({-1, 0, 0}, {0, 0, 1}, {1, 0, 0}), pi, 1e-15);
    EXPECT_EQ(velArc3Utils::arc_length({0, 0, 0}, {1, 1e-6, 0}, {2, 0, 0}), 2.0); // sagitta below 1e-5
    EXPECT_NEAR(velArc3Utils::arc_length({0, 0, 0}, {2, 0, 0}, {0, 0, 0}), 2 * pi, 1e-15); // a full circle

    // In any plane of space it is the length of the plane arc.
    arcref::ArcGen gen(32);
    for (int i = 0; i < 3000; ++i) {
        const Arc3 r = random_arc3(gen, 1e-12, 1e6);
        const double L = arcref::chord(r.a), sag = std::fabs(r.a.b) * L / 2;
        if (std::fabs(sag - 1e-5) < 1e-8) continue;
        const double want = sag < 1e-5 ? L : velArc2Utils::arc_length(L, std::fabs(r.a.b));
        ASSERT_NEAR(velArc3Utils::arc_length(r.S, r.M, r.E), want, 1e-9 * want + tol3(0)) << "b " << r.a.b;
    }
}

TEST(velArc3Utils, DistanceFractionToParameter) {
    const giPoint3 S{0, 0, 0}, M{1, 0, -1}, E{2, 0, 0};
    EXPECT_NEAR(velArc3Utils::distance_fraction_to_parameter(S, M, E, 0.5), 0.5, 1e-12);
    EXPECT_NEAR(velArc3Utils::distance_fraction_to_parameter(S, M, E, 0.25), 0.5 * (1 - std::tan(pi / 8)),
                1e-12);
    EXPECT_NEAR(velArc3Utils::distance_fraction_to_parameter(S, M, E, 0.0), 0.0, 1e-15);
    EXPECT_NEAR(velArc3Utils::distance_fraction_to_parameter(S, M, E, 1.0), 1.0, 1e-12);
    EXPECT_EQ(velArc3Utils::distance_fraction_to_parameter(S, M, E, 1.5), 1.0);
    EXPECT_EQ(velArc3Utils::distance_fraction_to_parameter(S, M, E, -0.2), 0.0);

    arcref::ArcGen gen(33);
    for (int i = 0; i < 2000; ++i) {
        const Arc3 r = random_arc3(gen, 1e-12, 1e6);
        // Rounding of the points moves the bulge, and with it the parameter, by about tol3 / h.
        const double f = gen.uniform(0, 1), h = arcref::chord(r.a) / 2;
        const double t = velArc3Utils::distance_fraction_to_parameter(r.S, r.M, r.E, f);
        ASSERT_NEAR(arcref::fraction_of_param(std::fabs(r.a.b), t), f, 1e-9 + tol3(0) / h) << "b " << r.a.b;
    }
}

TEST(velArc3Utils, CentreAndMidPoints) {
    giPoint3 c;
    double rad = -1;
    velArc3Utils::get_centre_and_radius({-1, 5, 0}, {1, 5, 0}, {0, 5, 1}, c, rad);
    EXPECT_P3_NEAR(c, 0, 5, 0, 1e-15);
    EXPECT_NEAR(rad, 1.0, 1e-15);
    velArc3Utils::get_centre_and_radius({0, 0, 0}, {4, 2, 2}, {1, 0.5, 0.5}, c, rad); // collinear
    EXPECT_P3_NEAR(c, 2, 1, 1, 0);
    EXPECT_EQ(rad, 0.0);

    const giPoint3 moved = velArc3Utils::circular_midpoint({0, 0, 0}, {3, 5, 1}, {2, 0, 0});
    EXPECT_P3_NEAR(moved, 1, 5, 1, 1e-15);
    const double s = std::sqrt(0.5);
    const giPoint3 S{1, 0, 0}, E{0, 1, 0}, O{0, 0, 0};
    EXPECT_P3_NEAR(velArc3Utils::circular_midpoint(1.0, O, S, E, {0, 0, 1}), -s, -s, 0, 1e-15);
    EXPECT_P3_NEAR(velArc3Utils::circular_midpoint(1.0, O, S, E, {0, 0, -1}), s, s, 0, 1e-15);
    EXPECT_P3_NEAR(velArc3Utils::circular_midpoint(1.0, O, S, {1, 4e-6, 0}, {0, 0, 1}), 1, 2e-6, 0, 0);

    EXPECT_DOUBLE_EQ(velArc3Utils::distance_from_chord_mid_point({1, 2, 2}, {0, 0, 0}, {2, 0, 0}).squared(),
                     8.0);
    EXPECT_TRUE(velArc3Utils::is_linear({0, 0, 0}, {5, 5, 5}, {1e-6, 0, 0}, 1e-5));
    EXPECT_TRUE(
        velArc3Utils::is_linear({0, 0, 0}, {17, 5e-6, 0}, {10, 0, 0}, 1e-5)); // beyond the end, on the line
    EXPECT_FALSE(velArc3Utils::is_linear({0, 0, 0}, {0.05, 2e-5, 0}, {0.1, 0, 0}, 1e-5));

    arcref::ArcGen gen(34);
    for (int i = 0; i < 1000; ++i) {
        // The circumcentre of a shallow arc moves by the rounding of its points over 2 b^2.
        const Arc3 r = random_arc3(gen, 0.05, 1e3);
        const double rho = arcref::radius(r.a), tol = tol3(rho) / std::fmin(1.0, r.a.b * r.a.b);
        const giPoint3 want = r.lift(arcref::centre(r.a));
        velArc3Utils::get_centre_and_radius(r.S, r.E, r.M, c, rad);
        ASSERT_LE(c.distance(want), 10 * tol) << "b " << r.a.b;
        ASSERT_NEAR(rad, rho, 10 * tol);
        // The arc turns clockwise about n exactly when it turns clockwise seen from the plane's z axis.
        const giVector3 n = r.wp.zaxis().vector() * (r.a.b < 0 ? 1.0 : -1.0);
        ASSERT_LE(velArc3Utils::circular_midpoint(rho, want, r.S, r.E, n).distance(r.M), 10 * tol)
            << "b " << r.a.b;

        const giPoint3 P{gen.uniform(-1e3, 1e3), gen.uniform(-1e3, 1e3), gen.uniform(-1e3, 1e3)};
        const giPoint3 Q = velArc3Utils::circular_midpoint(r.S, P, r.E);
        const giVector3 chord = r.S - r.E;
        ASSERT_NEAR(Q.distance(r.S), Q.distance(r.E), 1e-9 * (1 + Q.distance(r.S)));
        ASSERT_LE((Q - P).cross(chord).length(), 1e-9 * (1 + (Q - P).length()) * chord.length());
    }
}

TEST(velArc3Utils, BoxHoldsTheArcAndTouchesIt) {
    const giBox3 half = velArc3Utils::bbox({-1, 0, 0}, {1, 0, 0}, {0, 0, 1});
    EXPECT_P3_NEAR(half.min(), -1, 0, 0, 1e-15);
    EXPECT_P3_NEAR(half.max(), 1, 0, 1, 1e-15);
    const giBox3 flat = velArc3Utils::bbox({0, 0, 2}, {2, 0, 2}, {1, -1, 2});
    EXPECT_P3_NEAR(flat.min(), 0, -1, 2, 1e-15);
    EXPECT_P3_NEAR(flat.max(), 2, 0, 2, 1e-15);
    const giBox3 straight = velArc3Utils::bbox({0, 0, 0}, {4, 2, -2}, {2, 1, -1});
    EXPECT_P3_NEAR(straight.min(), 0, 0, -2, 0);
    EXPECT_P3_NEAR(straight.max(), 4, 2, 0, 0);

    // The exact box: the ends and those extreme points of the circle, axis by axis, that lie on the arc.
    arcref::ArcGen gen(35);
    for (int i = 0; i < 1000; ++i) {
        const Arc3 r = random_arc3(gen, 1e-3, 1e3, i % 3 == 0);
        const double rho = arcref::radius(r.a), tol = 10 * tol3(rho);
        const Pt c2 = arcref::centre(r.a);
        const giPoint3 c = r.lift(c2);
        giBox3 want(r.S, r.E);
        const giVector3 e1 = r.wp.xaxis().vector(), e2 = r.wp.yaxis().vector();
        for (int k = 0; k < 3; ++k) {
            const double top = std::atan2(e2[k], e1[k]);
            for (double ang : {top, top + pi}) {
                if (arcref::angle_on_arc(r.a, ang)) {
                    want.merge(c + (e1 * std::cos(ang) + e2 * std::sin(ang)) * rho);
                }
            }
        }
        const giBox3 box = velArc3Utils::bbox(r.S, r.E, r.M);
        for (int k = 0; k < 3; ++k) {
            ASSERT_NEAR(box.min()[k], want.min()[k], tol) << "b " << r.a.b << " axis " << k;
            ASSERT_NEAR(box.max()[k], want.max()[k], tol) << "b " << r.a.b << " axis " << k;
        }
        for (int k = 0; k <= 100; ++k)
            ASSERT_TRUE(box.contains(r.lift(arcref::point_at_fraction(r.a, k / 100.0)), tol));
    }
}
