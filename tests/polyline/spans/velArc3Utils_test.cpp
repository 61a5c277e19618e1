#include "arcline/polyline/spans/velArc3Utils.h"

#include "arcline/platform/giWorkplane3.h"
#include "arcline/polyline/spans/velArc2Utils.h"

#include "arcReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velArc3Utils_test {

namespace {

using arcref::Pt;
constexpr double pi = std::numbers::pi;

// About 500 units in the last place of coordinates up to 2e4 (plus `scale`).
double tol3(double scale) {
    return 1e-13 * (2e4 + scale);
}

} // namespace

// The limits of the routines; the random test below takes the general arcs.
TEST(velArc3Utils, DegenerateAndLimitArcs) {
    const giPoint3 S{0, 0, 0}, E{2, 0, 0};
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, 0, 1}), 1.0); // vertical planes: always positive
    EXPECT_DOUBLE_EQ(velArc3Utils::bulge(S, E, {1, 0, -1}), 1.0);
    EXPECT_EQ(velArc3Utils::bulge(S, S, {1, 1, 0}), 0.0);
    EXPECT_EQ(velArc3Utils::bulge(S, E, {1, 0, 0}), 0.0);
    EXPECT_EQ(velArc3Utils::arc_length(S, {1, 1e-6, 0}, E), 2.0);  // sagitta below 1e-5
    EXPECT_NEAR(velArc3Utils::arc_length(S, E, S), 2 * pi, 1e-15); // a full circle
    for (const auto& [f, t] : {std::pair{1.5, 1.0}, {-0.2, 0.0}})
        EXPECT_NEAR(velArc3Utils::distance_fraction_to_parameter(S, {1, 0, -1}, E, f), t, 1e-12) << f;
    giPoint3 c;
    double rad = -1;
    velArc3Utils::get_centre_and_radius({0, 0, 0}, {4, 2, 2}, {1, 0.5, 0.5}, c, rad); // collinear
    EXPECT_P3_NEAR(c, 2, 1, 1, 0);
    EXPECT_EQ(rad, 0.0);
    EXPECT_P3_NEAR(velArc3Utils::circular_midpoint(1.0, {0, 0, 0}, {1, 0, 0}, {1, 4e-6, 0}, {0, 0, 1}), 1,
                   2e-6, 0, 0);
    EXPECT_DOUBLE_EQ(velArc3Utils::distance_from_chord_mid_point({1, 2, 2}, S, E).squared(), 8.0);
    EXPECT_TRUE(velArc3Utils::is_linear(S, {5, 5, 5}, {1e-6, 0, 0}, 1e-5));
    EXPECT_TRUE(velArc3Utils::is_linear(S, {17, 5e-6, 0}, {10, 0, 0}, 1e-5)); // beyond the end, on the line
    EXPECT_FALSE(velArc3Utils::is_linear(S, {0.05, 2e-5, 0}, {0.1, 0, 0}, 1e-5));
    const giBox3 straight = velArc3Utils::bbox({0, 0, 0}, {4, 2, -2}, {2, 1, -1});
    EXPECT_P3_NEAR(straight.min(), 0, 0, -2, 0);
    EXPECT_P3_NEAR(straight.max(), 4, 2, 0, 0);
}

// Random bulge arcs laid into random planes (every third horizontal) give what the plane arc gives.
TEST(velArc3Utils, ArcsInAnyPlaneMatchThePlaneArc) {
    arcref::ArcGen gen(31);
    for (int i = 0; i < 1500; ++i) {
        const arcref::Arc a = gen.next(1e-12, 1e6, 1e-3, 1e3, 1.0);
        const bool flat = i % 3 == 0;
        auto rnd = [&] {
            return giVector3{gen.uniform(-1, 1), gen.uniform(-1, 1), flat ? 0.0 : gen.uniform(-1, 1)};
        };
        const giWorkplane3 wp{
            giPoint3{gen.uniform(-1e4, 1e4), gen.uniform(-1e4, 1e4), gen.uniform(-1e4, 1e4)}, rnd(), rnd()};
        auto lift = [&](const Pt& p) { return wp.to_world(giPoint3(p[0], p[1], 0)); };
        const giPoint3 S = lift(a.p0), E = lift(a.p1), M = lift(arcref::point_at_fraction(a, 0.5));
        const double bb = std::fabs(a.b), L = arcref::chord(a), h = L / 2, sag = bb * h;

        // Rounding of the points moves the half chord by about tol3(0) and the sagitta by tol3(sagitta).
        const double b = velArc3Utils::bulge(S, E, M);
        ASSERT_NEAR(std::fabs(b), bb, bb * (1e-12 + tol3(0) / h) + tol3(sag) / h) << "b " << a.b;
        const double up = wp.zaxis().z();
        if (std::fabs(up) > 0.1 && bb > 1e-6) {
            ASSERT_EQ(b > 0, (a.b > 0) == (up > 0)) << "b " << a.b;
        }
        if (std::fabs(sag - 1e-5) > 1e-8) {
            const double want = sag < 1e-5 ? L : velArc2Utils::arc_length(L, bb);
            ASSERT_NEAR(velArc3Utils::arc_length(S, M, E), want, 1e-9 * want + tol3(0)) << "b " << a.b;
        }
        const double f = gen.uniform(0, 1), t = velArc3Utils::distance_fraction_to_parameter(S, M, E, f);
        ASSERT_NEAR(arcref::fraction_of_param(bb, t), f, 1e-9 + tol3(0) / h) << "b " << a.b;
        if (bb < 1e-3 || bb > 1e3) continue;

        // The circumcentre of a shallow arc moves by the rounding of its points over 2 b^2.
        const double rho = arcref::radius(a), tol = 10 * tol3(rho) / std::fmin(1.0, bb * bb);
        const giPoint3 want = lift(arcref::centre(a));
        giPoint3 c;
        double r;
        velArc3Utils::get_centre_and_radius(S, E, M, c, r);
        if (bb >= 0.05) {
            ASSERT_LE(c.distance(want), tol) << "b " << a.b;
            ASSERT_NEAR(r, rho, tol);
        }
        // The arc turns clockwise about n exactly when it turns clockwise seen from the plane's z axis.
        const giVector3 n = wp.zaxis().vector() * (a.b < 0 ? 1.0 : -1.0);
        ASSERT_LE(velArc3Utils::circular_midpoint(rho, want, S, E, n).distance(M), tol) << "b " << a.b;
        const giPoint3 P{gen.uniform(-1e3, 1e3), gen.uniform(-1e3, 1e3), gen.uniform(-1e3, 1e3)};
        const giPoint3 Q = velArc3Utils::circular_midpoint(S, P, E);
        ASSERT_NEAR(Q.distance(S), Q.distance(E), 1e-9 * (1 + Q.distance(S)));
        ASSERT_LE((Q - P).cross(S - E).length(), 1e-9 * (1 + (Q - P).length()) * (S - E).length());

        // The exact box: the ends and those extreme points of the circle, axis by axis, that lie on the arc.
        giBox3 box_want(S, E);
        const giVector3 e1 = wp.xaxis().vector(), e2 = wp.yaxis().vector();
        for (int k = 0; k < 3; ++k) {
            const double top = std::atan2(e2[k], e1[k]);
            for (double ang : {top, top + pi})
                if (arcref::angle_on_arc(a, ang))
                    box_want.merge(want + (e1 * std::cos(ang) + e2 * std::sin(ang)) * rho);
        }
        const giBox3 box = velArc3Utils::bbox(S, E, M);
        const double btol = 10 * tol3(rho);
        for (int k = 0; k < 3; ++k) {
            ASSERT_NEAR(box.min()[k], box_want.min()[k], btol) << "b " << a.b << " axis " << k;
            ASSERT_NEAR(box.max()[k], box_want.max()[k], btol) << "b " << a.b << " axis " << k;
        }
        for (int k = 0; k <= 50; ++k)
            ASSERT_TRUE(box.contains(lift(arcref::point_at_fraction(a, k / 50.0)), btol));
    }
}

} // namespace velArc3Utils_test
