#include "arcline/polyline/spans/velAbsSpan.h"

#include "arcReference.h"
#include "testSpan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velAbsSpan_test {

namespace {

using arcref::Arc;
using arcref::Pt;
constexpr double pi = std::numbers::pi;

// An arc span of the bulge arc at height z, its mid point from the reference geometry.
std::shared_ptr<tSpan> arc_span(const Arc& a, double z = 0) {
    const Pt m = arcref::point_at_fraction(a, 0.5);
    return tSpan::make(tSpan::arc, {a.p0[0], a.p0[1], z}, {a.p1[0], a.p1[1], z}, {m[0], m[1], z});
}
double xy_dist(const giPoint3& p, const Pt& q) {
    return std::hypot(p.x - q[0], p.y - q[1]);
}
// A span's bulge comes from its three points, whose rounding moves it by about 2 eps |coordinates| / chord.
double bulge_tol(const Arc& a) {
    return 1e-9 * std::fabs(a.b) + 64 * 2.220446049250313e-16 * arcref::extent(a) / arcref::chord(a);
}

// The unit half circle below the chord (0,0)-(2,0), anticlockwise, at height 1.
std::shared_ptr<tSpan> lower_half() {
    return tSpan::make(tSpan::arc, {0, 0, 1}, {2, 0, 1}, {1, -1, 1});
}

} // namespace

TEST(velAbsSpan, KindsBulgeLengthsAndPoints) {
    const auto ln = tSpan::make(tSpan::line, {0, 0, 0}, {3, 4, 12});
    EXPECT_TRUE(tSpan(tSpan::temp_line, {}, {}).is_of_class_line() &&
                tSpan(tSpan::raster, {}, {}).is_of_class_line());
    EXPECT_TRUE(tSpan(tSpan::temp_arc, {}, {}).is_of_class_arc() && tSpan(tSpan::none, {}, {}).invalid());
    EXPECT_EQ(ln->set_bulge(0.5), 0);
    EXPECT_EQ(ln->get_bulge(), 0.0);
    EXPECT_EQ(ln->get_length(), 5.0); // plan distance only
    EXPECT_P3_NEAR(ln->parameter_point(0.25), 0.75, 1, 3, 1e-15);
    EXPECT_TRUE(ln->is_a_line(0.0));
    EXPECT_DOUBLE_EQ(lower_half()->get_length(), pi);
    EXPECT_P3_NEAR(lower_half()->parameter_point(0.5 * (1 - std::tan(pi / 8))), 1 - std::sqrt(0.5),
                   -std::sqrt(0.5), 1, 1e-15);
    EXPECT_DOUBLE_EQ(tSpan(tSpan::arc, {0, 0, 1}, {2, 0, 1}, {1, 1, 1}).get_bulge(), -1.0);
    EXPECT_EQ(tSpan(tSpan::arc, {1, 1, 0}, {1, 1, 0}, {2, 1, 0}).get_length(), 0.0);      // no chord
    EXPECT_EQ(tSpan(tSpan::arc, {0, 0, 0}, {2, 0, 0}, {1, -1e-16, 0}).get_length(), 2.0); // |b| below 1e-15
    const tSpan shallow(tSpan::arc, {0, 0, 0}, {2, 0, 0}, {1, -0.01, 0});                 // sagitta 0.01
    EXPECT_TRUE(shallow.is_a_line(0.01));
    EXPECT_FALSE(shallow.is_a_line(0.0099));
    EXPECT_DOUBLE_EQ(shallow.get_length(), 2 * 1.0001 * std::atan(0.01) / 0.01);
    EXPECT_P3_NEAR(tSpan(tSpan::none, {5, 5, 5}, {6, 6, 6}).parameter_point(0.5), 0, 0, 0, 0);

    const auto s = tSpan::make(tSpan::arc, {0, 0, 2}, {2, 0, 5}, {1, -1, 9});
    const int calls = s->initialise_calls();
    EXPECT_EQ(s->set_bulge(0.5), 1);
    EXPECT_GT(s->initialise_calls(), calls);
    EXPECT_P3_NEAR(s->mid_point(), 1, -0.5, 2, 1e-15); // the bulge mid point at the start's height
    EXPECT_DOUBLE_EQ(s->get_length(), 2 * (1 + 0.25) * std::atan(0.5) / 0.5);
}

TEST(velAbsSpan, TangentsCentreChordAndBox) {
    const auto s = lower_half();
    auto expect_vec = [](const giVector3& v, double x, double y) {
        EXPECT_NEAR(v.x(), x, 1e-15);
        EXPECT_NEAR(v.y(), y, 1e-15);
        EXPECT_EQ(v.z(), 0.0);
    };
    expect_vec(s->start_vector(), 0, -1);
    expect_vec(s->end_vector(), 0, 1);
    expect_vec(s->parameter_vector(0.5), 1, 0);
    expect_vec(tSpan(tSpan::line, {0, 0, 0}, {3, 4, 9}).start_vector(), 0.6, 0.8);
    expect_vec(tSpan(tSpan::line, {1, 1, 0}, {1, 1, 9}).end_vector(), 0, 0); // no plan extent
    const giVector2 u = tSpan(tSpan::line, {1, 1, 0}, {4, 5, 3}).unit_chord_vector();
    EXPECT_NEAR(u.x(), 0.6, 1e-15);
    EXPECT_NEAR(u.y(), 0.8, 1e-15);

    giPoint3 c, m;
    double r = -1;
    s->get_centre_mid_radius(c, m, r);
    EXPECT_P3_NEAR(c, 1, 0, 1, 1e-15);
    EXPECT_P3_NEAR(m, 1, -1, 1, 1e-15);
    EXPECT_NEAR(r, 1.0, 1e-15);
    tSpan(tSpan::arc, {0, 0, 0}, {2, 0, 0}, {1, 1, 0}).get_centre_mid_radius(c, m, r);
    EXPECT_NEAR(r, 1.0, 1e-15); // unsigned
    tSpan(tSpan::line, {0, 0, 0}, {2, 4, 6}).get_centre_mid_radius(c, m, r);
    EXPECT_P3_NEAR(c, 1, 2, 3, 0);
    EXPECT_P3_NEAR(m, 1, 2, 3, 0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(s->get_boundbox(), giBox2({0, -1}, {2, 0}));
    EXPECT_EQ(tSpan(tSpan::line, {3, 0, 0}, {1, 2, 5}).get_boundbox(), giBox2({1, 0}, {3, 2}));
}

TEST(velAbsSpan, TrimAndReverse) {
    auto s = lower_half();
    EXPECT_EQ(s->trim(0, 1), 1);
    EXPECT_EQ(s->trim(0.6, 0.6), 0);
    EXPECT_EQ(s->trim(0.7, 0.2), 0);
    EXPECT_TRUE(*s == *lower_half());
    const auto ln = tSpan::make(tSpan::line, {0, 0, 0}, {4, 0, 8});
    EXPECT_EQ(ln->trim(0.25, 0.75), 1);
    EXPECT_P3_NEAR(ln->start_point(), 1, 0, 2, 1e-15);
    EXPECT_P3_NEAR(ln->end_point(), 3, 0, 6, 1e-15);
    ln->reverse();
    EXPECT_P3_NEAR(ln->start_point(), 3, 0, 6, 0);

    arcref::ArcGen gen(53);
    for (int i = 0; i < 300; ++i) {
        const Arc a = gen.next(1e-3, 1e3, 1e-2, 1e2);
        const auto orig = arc_span(a, -4.0);
        const double len = orig->get_length(), tol = arcref::tol_centre(a);
        double t0 = gen.uniform(0, 1), t1 = gen.uniform(0, 1);
        if (t1 < t0) std::swap(t0, t1);
        if (t1 - t0 < 1e-3) continue;

        // Trimmed: a piece of the same circle, between the points at t0 and t1, with the sub-arc's bulge.
        const auto cut = std::static_pointer_cast<tSpan>(orig->create_new());
        ASSERT_EQ(cut->trim(t0, t1), 1);
        ASSERT_LE(xy_dist(cut->start_point(), arcref::point_at_param(a, t0)), tol);
        ASSERT_LE(xy_dist(cut->end_point(), arcref::point_at_param(a, t1)), tol);
        ASSERT_EQ(cut->end_point().z, -4.0);
        const double bs = arcref::sub_bulge(a.b, t0, t1);
        ASSERT_NEAR(cut->get_bulge(), bs, 1e-8 * std::fmax(1, std::fabs(bs)) + bulge_tol(a)) << "b " << a.b;
        ASSERT_NEAR(xy_dist(cut->mid_point(), arcref::centre(a)), arcref::radius(a), 10 * tol);
        const double frac = arcref::fraction_of_param(a.b, t1) - arcref::fraction_of_param(a.b, t0);
        ASSERT_NEAR(cut->get_length(), frac * len, 1e-8 * len);
    }
}

TEST(velAbsSpan, OffsetMovesAlongTheRightHandNormal) {
    const auto ln = tSpan::make(tSpan::temp_line, {0, 0, 3}, {2, 0, 3});
    velAbsSpancoPrf o = ln->offset(1.0);
    ASSERT_TRUE(o && o->is_temp_line_span());
    EXPECT_P3_NEAR(o->start_point(), 0, -1, 3, 1e-15);
    EXPECT_P3_NEAR(o->end_point(), 2, -1, 3, 1e-15);
    EXPECT_P3_NEAR(ln->start_point(), 0, 0, 3, 0); // the original stays

    // Through the centre: a temporary line between the moved ends, or a plain line when they nearly meet.
    const struct {
        double d;
        int temp_line;
        double x0;
    } collapsed[] = {{-1.5, 1, 1.5}, {-(1 + 2e-6), 0, 1 + 2e-6}, {-(1 + 1e-5), 1, 1 + 1e-5}};
    for (const auto& c : collapsed) {
        o = lower_half()->offset(c.d); // moved chords 1, 4e-6 and 2e-5 long
        ASSERT_TRUE(o);
        EXPECT_EQ(o->is_temp_line_span(), c.temp_line) << c.d;
        EXPECT_EQ(o->is_line_span(), 1 - c.temp_line) << c.d;
        EXPECT_P3_NEAR(o->start_point(), c.x0, 0, 1, 1e-15);
        EXPECT_P3_NEAR(o->end_point(), 2 - c.x0, 0, 1, 1e-15);
    }
    o = tSpan(tSpan::arc, {0, 0, 0}, {2, 0, 0}, {1, 1, 0}).offset(1.5); // clockwise arcs shrink
    ASSERT_TRUE(o && o->is_temp_line_span());
    EXPECT_P3_NEAR(o->start_point(), 1.5, 0, 0, 1e-15);
    EXPECT_FALSE(tSpan(tSpan::none, {0, 0, 0}, {1, 0, 0}).offset(1.0));

    arcref::ArcGen gen(54);
    for (int i = 0; i < 300; ++i) {
        const Arc a = gen.next(0.1, 1e2, 1e-2, 1e2);
        const double rho = arcref::radius(a), tol = 10 * arcref::tol_centre(a);
        const double d = rho * gen.uniform(-0.9, 2.0) * (a.b > 0 ? 1 : -1); // new radius 0.1 rho .. 3 rho
        const velAbsSpancoPrf off = arc_span(a)->offset(d);
        ASSERT_TRUE(off && off->is_arc_span());
        giPoint3 c, m;
        double r;
        off->get_centre_mid_radius(c, m, r);
        ASSERT_LE(xy_dist(c, arcref::centre(a)), tol) << "b " << a.b;
        ASSERT_NEAR(r, rho + std::fabs(d) * (d * a.b > 0 ? 1 : -1), tol);
        ASSERT_NEAR(off->get_bulge(), a.b, 10 * bulge_tol(a)); // the chord may shrink tenfold
    }
}

TEST(velAbsSpan, MoveEndsAndWholeSpan) {
    auto s = lower_half();
    s->move_start_pt_normal(0.5); // start tangent (0, -1): right-hand normal (-1, 0)
    EXPECT_P3_NEAR(s->start_point(), -0.5, 0, 1, 1e-15);
    EXPECT_P3_NEAR(s->end_point(), 2, 0, 1, 0);
    EXPECT_P3_NEAR(s->mid_point(), 0.75, -1.25, 1, 1e-15); // the bulge is kept
    s = lower_half();
    s->move_end_pt_normal(0.5); // end tangent (0, 1): right-hand normal (1, 0)
    EXPECT_P3_NEAR(s->end_point(), 2.5, 0, 1, 1e-15);
    EXPECT_NEAR(s->get_bulge(), 1.0, 1e-15);

    s = lower_half();
    EXPECT_NE(s->move_orthogonal(-0.5), 0);
    EXPECT_P3_NEAR(s->start_point(), 0.5, 0, 1, 1e-15);
    EXPECT_P3_NEAR(s->end_point(), 1.5, 0, 1, 1e-15);
    EXPECT_P3_NEAR(s->mid_point(), 1, -0.5, 1, 1e-15);
    EXPECT_EQ(s->move_orthogonal(-0.75), 0); // would pass through the centre
    EXPECT_P3_NEAR(s->start_point(), 0.5, 0, 1, 0);
    EXPECT_P3_NEAR(s->end_point(), 1.5, 0, 1, 0);
    const auto ln = tSpan::make(tSpan::line, {0, 0, 0}, {0, 2, 0});
    EXPECT_NE(ln->move_orthogonal(1.0), 0);
    EXPECT_P3_NEAR(ln->start_point(), 1, 0, 0, 1e-15);
    EXPECT_P3_NEAR(ln->end_point(), 1, 2, 0, 1e-15);
    ln->move_start_pt_normal(1.0);
    EXPECT_P3_NEAR(ln->start_point(), 2, 0, 0, 1e-15);
}

TEST(velAbsSpan, CachesHoldUntilInvalidated) {
    const auto s = lower_half();
    auto expect_lower_half = [&] {
        EXPECT_DOUBLE_EQ(s->get_bulge(), 1.0);
        EXPECT_DOUBLE_EQ(s->get_length(), pi);
        EXPECT_DOUBLE_EQ(s->chord_length(), 2.0);
        EXPECT_EQ(s->get_boundbox(), giBox2({0, -1}, {2, 0}));
        EXPECT_NEAR(s->start_vector().y(), -1.0, 1e-15);
    };
    expect_lower_half();
    // Behind the base's back: now the upper half circle of radius 2.
    s->set_end_raw({4, 0, 1});
    s->set_mid_raw({2, 2, 1});
    expect_lower_half();
    s->invalidate_cache();
    EXPECT_DOUBLE_EQ(s->get_bulge(), -1.0);
    EXPECT_DOUBLE_EQ(s->get_length(), 2 * pi);
    EXPECT_DOUBLE_EQ(s->chord_length(), 4.0);
    EXPECT_EQ(s->get_boundbox(), giBox2({0, 0}, {4, 2}));
    EXPECT_NEAR(s->start_vector().y(), 1.0, 1e-15);
    EXPECT_NEAR(s->end_vector().y(), -1.0, 1e-15);
}

} // namespace velAbsSpan_test
